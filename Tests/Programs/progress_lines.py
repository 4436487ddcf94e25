"""Runs long work attached to a pseudo-terminal and to a pipe, and checks the progress convention: on
a terminal, a line drawn again in place ("\\r") with the stage and its numbers, then a closing line
with what was done and how long it took; on a pipe nothing, unless --progress asks for it.

usage: progress_lines.py WORKFOLDER HOSTSIM GENERATEBUILDING WRITESAFWORKBOOK VELDENGINEER
"""
import os
import re
import shutil
import subprocess
import sys

from program_checks import check, report
from terminal_session import on_terminal

def on_pipe(command, cwd):
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True, stdin=subprocess.DEVNULL)
    return result.returncode, result.stderr


def closing(output, prefix):
    """The closing line: what the last carriage return left on the screen before the line feed."""
    # The terminal turns each line feed into "\r\n".
    text = output.replace("\r\n", "\n")
    lines = [line.split("\r")[-1].rstrip() for line in text.split("\n")]
    return [line for line in lines if line.startswith(prefix)]


def main():
    work, hostsim, generate, writer, veld = sys.argv[1:6]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    model = os.path.join(work, "frame.json")
    workbook = os.path.join(work, "frame.xlsx")

    code, output = on_terminal([generate, "members", "2000", model], work)
    check(code == 0, f"GenerateBuilding on a terminal exits {code}: {output!r}")
    check(re.search(r"\rGenerateBuilding: writing .*frame\.json \d+ %", output) is not None,
          f"GenerateBuilding drew no percentage: {output!r}")
    done = closing(output, "GenerateBuilding: wrote")
    check(len(done) == 1 and re.fullmatch(r"GenerateBuilding: wrote 2000 members \([\d.]+ [kM]B\) to .*frame\.json "
                                          r"in \d+\.\d s", done[0]) is not None,
          f"GenerateBuilding's closing line: {done}")

    code, said = on_pipe([generate, "members", "2000", model], work)
    check(code == 0 and said == "", f"GenerateBuilding on a pipe: exit {code}, said {said!r}")
    code, said = on_pipe([generate, "--progress", "members", "2000", model], work)
    check(code == 0 and "GenerateBuilding: wrote 2000 members" in said, f"--progress on a pipe said {said!r}")

    code, output = on_terminal([writer, model, workbook], work)
    check(code == 0, f"WriteSafWorkbook on a terminal exits {code}: {output!r}")
    check(re.search(r"\rWriteSafWorkbook: writing .*frame\.xlsx [\d.]+ (bytes|kB|MB)", output) is not None,
          f"WriteSafWorkbook drew no byte count: {output!r}")
    check(len(closing(output, "WriteSafWorkbook: wrote 2000 members")) == 1,
          f"WriteSafWorkbook's closing line is missing: {output!r}")

    # The checker counts the bytes it reads (each sheet twice: names, then findings); the findings and
    # the closing "checked" line stay on standard output, the progress on standard error.
    code, output = on_terminal([veld, "--check", workbook], work)
    check(code == 0, f"VeldEngineer.exe --check on a terminal exits {code}: {output!r}")
    check(re.search(r"\rVeldEngineer\.exe: checking .*frame\.xlsx [\d.]+ (bytes|kB|MB)", output) is not None,
          f"the checker drew no byte count: {output!r}")
    done = closing(output, "VeldEngineer.exe: checked")
    check(len(done) == 1 and re.fullmatch(r"VeldEngineer\.exe: checked .*frame\.xlsx \([\d.]+ [kM]B read\) in \d+\.\d s",
                                          done[0]) is not None, f"the checker's closing line: {done}")
    code, said = on_pipe([veld, "--check", workbook], work)
    check(code == 0 and said == "", f"the checker on a pipe: exit {code}, said {said!r}")
    code, said = on_pipe([veld, "--check", "--progress", workbook], work)
    check(code == 0 and "VeldEngineer.exe: checked" in said, f"the checker's --progress on a pipe said {said!r}")

    script = os.path.join(work, "quit.script")
    with open(script, "w") as text:
        text.write("quit\n")
    command = [hostsim, "--home", os.path.join(work, "home"), "--model", model, "--script", script]
    code, output = on_terminal(command, work)
    check(code == 0, f"hostsim --model on a terminal exits {code}: {output!r}")
    check(re.search(r"\rhostsim: reading the model .*frame\.json \d+ %", output) is not None,
          f"hostsim drew no percentage while reading the model: {output!r}")
    check(len(closing(output, "hostsim: read the model")) == 1 and "2000 members" in output,
          f"hostsim's closing line for the model: {output!r}")
    code, said = on_pipe(command, work)
    check(code == 0 and "read the model" not in said, f"hostsim on a pipe: exit {code}, said {said!r}")

    return report("progress lines drawn on a terminal, and on a pipe only when asked")


sys.exit(main())
