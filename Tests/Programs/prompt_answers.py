"""Types commands at hostsim's prompt (its standard input, without --script) and checks what a person
is told: help, unknown commands and items named with what would be taken, a refused quit while a dialog
is up, save confirmed, quit asking again over unsaved changes, and the reason when there is no menu;
and, on a terminal, that a typed line can be edited and an earlier one recalled.

usage: prompt_answers.py WORKFOLDER HOSTSIM ADDON VELDENGINEER
"""
import os
import shutil
import subprocess
import sys

from program_checks import check, register_veld_engineer, report
from terminal_session import on_terminal

def at_prompt(command, typed, cwd):
    result = subprocess.run(command, input=typed, capture_output=True, text=True, cwd=cwd)
    return result.returncode, result.stdout + result.stderr


def main():
    work, hostsim, addon, veld = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    home = os.path.join(work, "home")
    project = os.path.join(work, "project.json")
    os.makedirs(os.path.join(work, "app"))
    shutil.copy2(veld, os.path.join(work, "app"))

    code, said = at_prompt([hostsim, "--home", home, addon], "quit\n", work)
    check(code == 0, f"without VELD Engineer: exit {code}: {said}")
    check("made the data folder" in said, f"the new data folder was not mentioned: {said}")
    check("there is no menu to pick" in said and "no add-on registered a menu" in said,
          f"no reason given for the missing menu: {said}")

    register_veld_engineer(hostsim, home, os.path.join(work, "app"))
    typed = "help\nmenu 32500 9\nfrob\nmenu 32500 2\nCLICK 2\nquit\nhelp\nselect 4 2\nclick 1\nquit\nsave\nquit\n"
    code, said = at_prompt([hostsim, "--home", home, "--project", project, addon], typed, work)
    check(code == 0, f"a session at the prompt exits {code}: {said}")
    expected = [
        "  menu 32500 1   Open in VELD Engineer...",  # help lists the menus
        "terminal:2: menu 32500 has no item 9 (it has items 1 to 2)",
        "terminal:3: unknown command \"frob\" (the commands: menu LIST ITEM, save, quit, help)",
        "terminal:5: unknown command 'CLICK 2' while a dialog is up",
        "terminal:6: 'quit' but a dialog is up",
        "it accepts select ITEM ENTRY, click ITEM, check ITEM 0|1, resize DX DY, close RESPONSE, show, help "
        "(close RESPONSE closes the dialog)",
        "hostsim: a dialog is up: VELD Engineer Export Settings; it accepts select ITEM ENTRY",
        "hostsim: the project has unsaved changes: add-on object \"VELDExportTranslatorName\" (made)",
        "hostsim: 'save' keeps them; 'quit' again drops them",
        f"hostsim: saved the project {project} (the model and 1 add-on object)",
        "hostsim: quit",
    ]
    position = 0
    for line in expected:
        found = said.find(line, position)
        check(found >= 0, f"missing, or out of order: {line!r} in:\n{said}")
        position = max(position, found)
    check(os.path.exists(project), "the project was not saved")

    # A script keeps quit's meaning and says what it dropped.
    script = os.path.join(work, "drop.script")
    with open(script, "w") as text:
        text.write("menu 32500 2\nselect 4 3\nclick 1\nquit\n")
    code, said = at_prompt([hostsim, "--home", home, "--project", project, "--script", script, addon], "", work)
    check(code == 0 and "hostsim: quit: dropped the unsaved changes: add-on object \"VELDExportTranslatorName\" "
          "(changed)" in said, f"a script's quit over a changed choice: exit {code}: {said}")

    # At a terminal a line is edited in place ("hlp", two steps left, "e": "help") and the up key
    # brings back the line before: help is answered twice, then quit ends the run.
    left, up = b"\x1b[D", b"\x1b[A"
    code, screen = on_terminal([hostsim, "--home", home, addon], work,
                               [b"hlp" + left + left + b"e\r", up + b"\r", b"quit\r"])
    check(code == 0, f"a terminal session exits {code}: {screen}")
    check(screen.count("\ncommands:\n") == 2,
          f"an edited line and the recalled one were not both answered with help:\n{screen}")
    check("unknown command" not in screen, f"an edited or recalled line was read as typed:\n{screen}")

    # In a UTF-8 locale, letters beyond ASCII are typed and read as they are.
    code, screen = on_terminal([hostsim, "--home", home, addon], work, ["é".encode() + b"\r", b"quit\r"],
                               dict(os.environ, LC_ALL="C.UTF-8"))
    check(code == 0 and 'unknown command "é"' in screen, f"a typed accented letter: exit {code}:\n{screen}")

    return report("hostsim's prompt answered every command as a person expects")


sys.exit(main())
