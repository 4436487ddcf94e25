"""What the program tests share: faults are gathered rather than raised, so that one run names them
all, and VELD Engineer is registered in a data folder as its installer would."""
import subprocess

INSTALLATION = "HKEY_LOCAL_MACHINE\\SOFTWARE\\VELD\\Installer\\VeldEngineer\\2025"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def report(success):
    """Prints each fault, or `success` when there was none; answers the test's exit code."""
    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print(success)
    return 1 if failures else 0


def register_veld_engineer(hostsim, home, folder):
    """VELD Engineer installed in `folder`, as hostsim's data folder `home` will find it."""
    subprocess.run([hostsim, "registry", "--home", home, "set-string", INSTALLATION, "InstallDir", folder],
                   check=True)
