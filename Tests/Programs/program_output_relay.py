"""At a terminal, the text of a program hostsim starts is shown above hostsim's prompt, and the prompt
is drawn again below it with what was typed so far: checked on the screen a person sees (a terminal
emulator fed with every byte hostsim and the program wrote).

1. VELD Engineer itself, started by "Open in VELD Engineer...": its summary, then the prompt.
2. A stand-in that writes only when the test lets it: while "he" is typed, a line and a line without
   its end come; the prompt comes back with "he", and "lp" finishes it as "help". After hostsim has
   quit, the stand-in writes again: that text still reaches the terminal.

usage: program_output_relay.py WORKFOLDER HOSTSIM ADDON VELDENGINEER
"""
import os
import shutil
import stat
import subprocess
import sys

import pyte

from program_checks import check, register_veld_engineer, report
from terminal_session import PROMPT, TerminalSession

COLUMNS, ROWS = 200, 400

# Writes when the test makes the files "first" and "second" beside it; waits at most 20 s for each.
GATED_PROGRAM = """#!/bin/sh
wait_for() { n=0; while [ ! -e "$1" ] && [ $n -lt 400 ]; do sleep 0.05; n=$((n+1)); done; }
here=$(dirname "$0")
wait_for "$here/first"
printf 'late line one\\nno line end'
wait_for "$here/second"
printf ' and after hostsim\\n'
"""

def shown(raw):
    """The screen's lines as a person sees them, without trailing blanks and the empty rows below."""
    screen = pyte.Screen(COLUMNS, ROWS)
    stream = pyte.ByteStream(screen)
    stream.feed(raw)
    lines = [line.rstrip() for line in screen.display]
    while lines and not lines[-1]:
        lines.pop()
    return lines


def cursor_line(raw):
    lines = shown(raw)
    return lines[-1] if lines else ""


def main():
    work, hostsim, addon, veld = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    home = os.path.join(work, "home")
    project = os.path.join(work, "project.json")
    real, gated = os.path.join(work, "app"), os.path.join(work, "gated")
    os.makedirs(real)
    os.makedirs(gated)
    shutil.copy2(veld, real)
    program = os.path.join(gated, "VeldEngineer.exe")
    with open(program, "w") as text:
        text.write(GATED_PROGRAM)
    os.chmod(program, os.stat(program).st_mode | stat.S_IXUSR)
    command = [hostsim, "--home", home, "--project", project, addon]

    # 1. The translator chosen, then "Open in VELD Engineer...": its summary and the prompt below it.
    register_veld_engineer(hostsim, home, real)
    session = TerminalSession(command, work, COLUMNS, ROWS)
    session.type_at_prompts([b"menu 32500 2\r", b"select 4 2\r", b"click 1\r", b"menu 32500 1\r"])
    summary_then_prompt = session.read_until(
        lambda raw: any(line.startswith("VeldEngineer.exe: ") for line in shown(raw))
        and cursor_line(raw) == PROMPT.decode().rstrip())
    lines = shown(session.screen)
    summary = [index for index, line in enumerate(lines) if line.startswith("VeldEngineer.exe: ")]
    check(summary_then_prompt and len(summary) == 1, f"no summary with the prompt below it:\n" + "\n".join(lines))
    if summary:
        check("ACToVELDEngineer.xlsx: SAF " in lines[summary[0]] and "members" in lines[summary[0]],
              f"not VELD Engineer's summary: {lines[summary[0]]}")
        check(lines[summary[0] + 1:] == ["hostsim>"], f"below the summary: {lines[summary[0] + 1:]}")
    check(not any(line.startswith("hostsim> VeldEngineer") for line in lines),
          "VELD Engineer's text landed after a prompt")
    session.type(b"check 5 1\r")
    session.type_at_prompts([b"click 1\r", b"save\r", b"quit\r"])
    code, said = session.finish()
    check(code == 0, f"the first session exits {code}")
    # A new project has no file to read: nothing about reading it is left open before the next line.
    check("hostsim: type help for the commands" in shown(session.screen) and said.endswith("hostsim: quit\n"),
          f"the first session's start or end is garbled:\n{said}")

    # 2. The gated stand-in: text while a line is half typed, and after hostsim's end.
    register_veld_engineer(hostsim, home, gated)
    session = TerminalSession(command, work, COLUMNS, ROWS)
    session.type_at_prompts([b"menu 32500 1\r", b"he"])
    check(session.read_until(lambda raw: cursor_line(raw) == "hostsim> he"), "the typed 'he' was not shown")
    open(os.path.join(gated, "first"), "w").close()
    redrawn = session.read_until(lambda raw: "no line end" in shown(raw) and cursor_line(raw) == "hostsim> he")
    lines = shown(session.screen)
    check(redrawn and lines[-3:] == ["late line one", "no line end", "hostsim> he"],
          "the program's text and then the half-typed line were not shown:\n" + "\n".join(lines[-6:]))
    session.type(b"lp\r")
    check(session.read_until(lambda raw: "commands:" in shown(raw) and cursor_line(raw) == "hostsim>"),
          "'he' and 'lp' were not read as help")
    session.type(b"quit\r")
    try:
        code = session.process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        code = None
    open(os.path.join(gated, "second"), "w").close()  # the stand-in's last words come after hostsim's end
    _, said = session.finish()
    check(code == 0, f"the second session exits {code}: {said}")
    lines = shown(session.screen)
    check(lines[-2:] == ["hostsim: quit", " and after hostsim"],
          "the text written after hostsim's end was lost or misplaced:\n" + "\n".join(lines[-6:]))

    return report("a started program's text came above hostsim's prompt, the prompt and a half-typed line below it")


sys.exit(main())
