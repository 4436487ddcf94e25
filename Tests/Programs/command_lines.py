"""Runs every program with --help, -h, --version and with wrong command lines, and checks the one
convention they share: help and version on standard output with exit 0; a wrong command line named on
standard error as "PROGRAM: what is wrong", followed by the usage, with exit 64, and nothing done.

usage: command_lines.py VERSION WORKFOLDER HOSTSIM VELDENGINEER GENERATEBUILDING WRITESAFWORKBOOK RESCONV
"""
import os
import shutil
import subprocess
import sys

from program_checks import check, report

def run(command, cwd):
    return subprocess.run(command, capture_output=True, text=True, cwd=cwd, stdin=subprocess.DEVNULL)


def main():
    version, work = sys.argv[1:3]
    hostsim, veld, generate, writer, resconv = sys.argv[3:8]
    shutil.rmtree(work, ignore_errors=True)
    app_folder = os.path.join(work, "VELD Engineer")
    os.makedirs(app_folder)
    veld_copy = os.path.join(app_folder, os.path.basename(veld))
    shutil.copy2(veld, veld_copy)
    module = os.path.join(work, "Module.apx")
    with open(module, "w") as text:
        text.write("not a module\n")

    # (name as it prefixes messages, the command before the arguments)
    programs = [
        ("hostsim", [hostsim]),
        ("hostsim registry", [hostsim, "registry"]),
        ("hostsim user-data", [hostsim, "user-data"]),
        ("VeldEngineer.exe", [veld_copy]),
        ("GenerateBuilding", [generate]),
        ("WriteSafWorkbook", [writer]),
        ("ResConv", [resconv]),
    ]
    for name, command in programs:
        for asked in (["--help"], ["-h"], ["x", "--help"]):
            result = run(command + asked, work)
            check(result.returncode == 0 and result.stdout.startswith("usage: ") and result.stderr == "",
                  f"{name} {' '.join(asked)}: exit {result.returncode}, out {result.stdout[:60]!r}, "
                  f"errors {result.stderr!r}")
        result = run(command + ["--version"], work)
        check(result.returncode == 0 and result.stdout == f"{name} {version}\n",
              f"{name} --version: exit {result.returncode}, said {result.stdout!r}")

    # (program, arguments, the message after "PROGRAM: ")
    wrong = [
        ("hostsim", ["--bogus"], "unknown option --bogus"),
        ("hostsim", ["--cycles", "0"], "--cycles: \"0\" is not a number of cycles (1 or more)"),
        ("hostsim", ["--home", module],
         f"--home: \"{module}\" is a file, not a data folder (--home DIR comes before the modules)"),
        ("hostsim", ["--script"], "--script needs a value"),
        ("hostsim registry", ["frob", "HKLM\\K"], "unknown action \"frob\""),
        ("hostsim registry", ["get", "HKLM\\K"], "get takes KEY NAME"),
        ("hostsim registry", ["set-dword", "HKLM\\K", "N", "-1"], "\"-1\" is not a 32-bit unsigned number"),
        ("hostsim user-data", [], "expected set or get"),
        ("hostsim user-data", ["get"], "get takes NAME"),
        ("hostsim user-data", ["set", "N", "abc"], "\"abc\" is not an even number of hex digits"),
        ("VeldEngineer.exe", [], "expected a workbook's path"),
        ("VeldEngineer.exe", ["a.xlsx", "b.xlsx"], "expected one workbook, got 2 (--check takes many)"),
        ("VeldEngineer.exe", ["--json", "a.xlsx"], "--json goes with --check"),
        ("VeldEngineer.exe", ["--check", "--xml", "a.xlsx"], "unknown option --xml"),
        ("GenerateBuilding", ["members", "-5", "out.json"], "\"-5\" is not a number of members (1 to 10000000)"),
        ("GenerateBuilding", ["members", "0", "out.json"], "\"0\" is not a number of members (1 to 10000000)"),
        ("GenerateBuilding", ["members", "18446744073709551617", "out.json"],
         "\"18446744073709551617\" is not a number of members (1 to 10000000)"),
        ("GenerateBuilding", ["house", "out.json"], "unknown command \"house\""),
        ("GenerateBuilding", ["demo"], "wrong number of arguments for demo"),
        ("WriteSafWorkbook", ["model.json"], "expected the model's and the workbook's paths"),
        ("WriteSafWorkbook", ["model.json", "out.xlsx", "--without", "trees"], "--without: unknown kind \"trees\""),
        ("WriteSafWorkbook", ["--metric", "model.json", "out.xlsx"], "unknown option --metric"),
        ("ResConv", ["a.grc"], "expected -o OUT.res"),
    ]
    commands = dict(programs)
    for name, arguments, message in wrong:
        result = run(commands[name] + arguments, work)
        said = f"{name} {' '.join(arguments)}: exit {result.returncode}, errors {result.stderr[:200]!r}"
        check(result.returncode == 64, said)
        check(result.stderr.startswith(f"{name}: {message}\nusage: "), said)
        check(result.stdout == "", f"{said}, out {result.stdout!r}")
    check(not os.path.exists(os.path.join(work, "out.json")), "a refused GenerateBuilding wrote its output")
    check(not os.path.exists(os.path.join(work, "HostSimHome")), "a refused hostsim made its data folder")
    check(not os.path.exists(os.path.join(app_folder, "VeldEngineer.launches.jsonl")),
          "VELD Engineer recorded a launch for help, version or a wrong command line")

    # Options in any order: --json before --check is the same request.
    missing = os.path.join(work, "missing.xlsx")
    result = run([veld_copy, "--json", "--check", missing], work)
    check(result.returncode == 2 and '"readable": false' in result.stdout,
          f"--json --check: exit {result.returncode}, out {result.stdout!r}, errors {result.stderr!r}")

    return report(f"{len(programs)} programs answered {len(wrong)} wrong command lines, help and version alike")


sys.exit(main())
