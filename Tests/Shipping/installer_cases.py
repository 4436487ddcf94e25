"""The add-on's installer under Wine, in a prefix of its own: every case judged by what is on disk and
in the registry afterwards (Wine's msiexec exit codes differ from Windows').

    installer_cases.py PREFIX MSI WXS PROJECT_VERSION_H BIN_DIR SCRIPT

0. the package's ProductVersion is the project's version;
1. no host: nothing is installed, and the refusal's words are in the package;
2. a registered host (hostsim.exe and its DLLs copied into C:\\Program Files\\HostSim 27): the MSI
   puts the module into the add-ons folder named by the host's registration, one entry in the list
   of installed programs; hostsim.exe started with no module loads it and "Open in VELD Engineer..."
   writes the workbook and starts VELD Engineer;
3. a newer version replaces it (one entry), the older one is then refused;
4. repair restores a deleted module;
5. uninstall removes exactly what was installed: the host's files and registration stay.
"""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import uuid

import pefile
from pe_checks import project_version

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
from wine_prefix import wine_environment, windows_path  # noqa: E402

HOST_KEY = r"HKLM\SOFTWARE\HostSim\27"
VELD_KEY = r"HKLM\SOFTWARE\VELD\Installer\VeldEngineer\2025"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
HOST_FOLDER = r"C:\Program Files\HostSim 27"
ADDONS_FOLDER = HOST_FOLDER + r"\Add-Ons"
VELD_FOLDER = r"C:\Program Files\VELD Engineer"
MODULE_NAME = "VELDEngineerConnection.apx"

failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


class Prefix:
    def __init__(self, path):
        self.path = path
        self.env = wine_environment(path)

    def wine(self, *arguments, check_exit=False):
        # Output through files, never pipes: services that Wine starts (msiexec's, wineboot's) outlive
        # the command and would hold a pipe open, and reading it would wait for them.
        with tempfile.TemporaryFile("w+", errors="replace") as out, tempfile.TemporaryFile("w+", errors="replace") as err:
            code = subprocess.run(["wine", *arguments], env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=err).returncode
            out.seek(0)
            err.seek(0)
            result = subprocess.CompletedProcess(arguments, code, out.read(), err.read())
        if check_exit and result.returncode != 0:
            raise RuntimeError(f"wine {arguments}: {result.returncode}\n{result.stderr}")
        return result

    def posix(self, windows_path):
        """C:\\x\\y -> PREFIX/drive_c/x/y"""
        assert windows_path[:3].upper() == "C:\\"
        return self.path / "drive_c" / pathlib.PureWindowsPath(windows_path[3:]).as_posix()

    def msiexec(self, *arguments):
        return self.wine("msiexec", *arguments, "/qn").returncode

    def set_string(self, key, name, value):
        self.wine("reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f", "/reg:64", check_exit=True)

    def query(self, key):
        """{subkey path: {value name: text}} below key (recursively); empty when the key is missing."""
        result = self.wine("reg", "query", key, "/s", "/reg:64")
        keys, current = {}, None
        for line in result.stdout.splitlines():
            if line.startswith("HKEY_"):
                current = keys.setdefault(line.strip(), {})
            elif current is not None and line.startswith("    "):
                parts = line.strip().split(None, 2)
                current[parts[0]] = parts[2] if len(parts) > 2 else ""
        return keys

    def our_uninstall_entries(self):
        return [values for values in self.query(UNINSTALL_KEY).values()
                if values.get("DisplayName") == "VELD Engineer Connection"]

    def files(self):
        """Every file of the prefix's C: drive outside Wine's own folders, with its size."""
        root = self.path / "drive_c"
        return {str(p.relative_to(root)): p.stat().st_size for p in root.rglob("*")
                if p.is_file() and p.relative_to(root).parts[0] not in ("windows", "users", "ProgramData")}




def build_msi(wxs, module, version, out):
    product_code = uuid.uuid5(uuid.UUID("dc39fbe6-cdbe-4b9a-b361-a1691f553b6a"), version)
    # wixl takes a file's source only relative to where it runs.
    subprocess.run(["wixl", "-a", "x64", "-D", f"Version={version}", "-D", f"ProductCode={product_code}",
                    "-D", f"Module={module.name}", "-o", str(out.resolve()), str(wxs.resolve())], check=True,
                   cwd=module.parent)


def imported_closure(bin_dir, program):
    """The program and every DLL of bin_dir it loads, directly or through another one."""
    by_name = {path.name.lower(): path for path in bin_dir.iterdir()}  # DLL names are case-blind
    wanted, seen = [bin_dir / program], {}
    while wanted:
        path = wanted.pop()
        if path.name.lower() in seen:
            continue
        seen[path.name.lower()] = path
        pe = pefile.PE(str(path), fast_load=True)
        pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]])
        for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
            if entry.dll.decode().lower() in by_name:
                wanted.append(by_name[entry.dll.decode().lower()])
    return list(seen.values())


def install_copy(prefix, bin_dir, program, folder, also_serving=None):
    """Copies the program and the DLLs of bin_dir it loads; also those that the module also_serving
    loads, as a host's installation holds every host library its add-ons may import."""
    target = prefix.posix(folder)
    target.mkdir(parents=True, exist_ok=True)
    files = imported_closure(bin_dir, program)
    if also_serving:
        files += [p for p in imported_closure(bin_dir, also_serving) if p.suffix.lower() == ".dll"]
    for path in files:
        shutil.copy2(path, target / path.name)


def run_hostsim_without_modules(prefix, work, script):
    """hostsim.exe of the installation, no module named: loads what the add-ons folder holds."""
    home, transcript = work / "home", work / "hostsim.jsonl"
    shutil.rmtree(home, ignore_errors=True)
    result = prefix.wine(HOST_FOLDER + r"\hostsim.exe", "--home", windows_path(home), "--transcript",
                         windows_path(transcript), "--script", windows_path(script))
    events = [json.loads(line) for line in transcript.read_text(encoding="utf-8").splitlines() if line.strip()]
    return result, events


def main():
    prefix_path, msi, wxs, version_header, bin_dir, script = sys.argv[1:7]
    version = project_version(version_header)
    prefix = Prefix(pathlib.Path(prefix_path).resolve())
    msi, wxs, bin_dir, script = (pathlib.Path(p).resolve() for p in (msi, wxs, bin_dir, script))
    work = prefix.path.parent / (prefix.path.name + "-work")
    shutil.rmtree(prefix.path, ignore_errors=True)
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    prefix.path.mkdir(parents=True)
    started = time.monotonic()
    subprocess.run(["wineserver", "-p"], env=prefix.env, check=True, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    prefix.wine("wineboot", "-i")
    try:
        # The packages: the signed one of the build, its module as installed, and a newer version.
        subprocess.run(["msiextract", "-C", str(work / "extracted"), str(msi)], check=True, capture_output=True)
        extracted = next((work / "extracted").rglob(MODULE_NAME))
        major, minor, patch = version.split(".")
        newer_version = f"{major}.{minor}.{int(patch) + 1}"
        newer = work / f"VELDEngineerConnection-{newer_version}.msi"
        build_msi(wxs, extracted, newer_version, newer)

        properties = subprocess.run(["msiinfo", "export", str(msi), "Property"], check=True, capture_output=True,
                                    text=True).stdout
        check(f"ProductVersion\t{version}" in properties, f"the package's ProductVersion is {version}")

        print("-- no host")
        prefix.msiexec("/i", windows_path(msi))
        check(not any(MODULE_NAME in name for name in prefix.files()), "no host: no module anywhere on C:")
        check(prefix.our_uninstall_entries() == [], "no host: no entry in the installed programs")
        conditions = subprocess.run(["msiinfo", "export", str(msi), "LaunchCondition"], check=True,
                                    capture_output=True, text=True).stdout
        check("no installation of that host was found" in conditions and "Install the host first" in conditions,
              "no host: the refusal says why in words (the launch condition's message)")

        print("-- a registered host")
        install_copy(prefix, bin_dir, "hostsim.exe", HOST_FOLDER, also_serving=MODULE_NAME)
        install_copy(prefix, bin_dir, "VeldEngineer.exe", VELD_FOLDER)
        prefix.posix(ADDONS_FOLDER).mkdir(parents=True, exist_ok=True)
        (prefix.posix(ADDONS_FOLDER) / "ReadMe.txt").write_text("the host's own file\n")
        prefix.set_string(HOST_KEY, "Version", "27.0.5000")
        prefix.set_string(HOST_KEY, "InstallDir", HOST_FOLDER)
        prefix.set_string(HOST_KEY, "AddOnsFolder", ADDONS_FOLDER)
        prefix.set_string(VELD_KEY, "InstallDir", VELD_FOLDER)
        files_before, host_registration = prefix.files(), prefix.query(HOST_KEY)

        print(f"-- install {msi.name}")
        prefix.msiexec("/i", windows_path(msi))
        installed = prefix.posix(ADDONS_FOLDER) / MODULE_NAME
        check(installed.exists() and installed.read_bytes() == extracted.read_bytes(),
              "install: the signed module is in the host's add-ons folder")
        entries = prefix.our_uninstall_entries()
        check([e.get("DisplayVersion") for e in entries] == [version], f"install: one entry, version {version}")

        print("-- hostsim.exe without a module: Open in VELD Engineer...")
        result, events = run_hostsim_without_modules(prefix, work, script)
        loads = [e for e in events if e.get("event") == "module-load"]
        check(len(loads) == 1 and "Add-Ons" in json.dumps(loads[0]) and MODULE_NAME in json.dumps(loads[0]),
              "hostsim loaded the installed add-on from the add-ons folder, and only it")
        saves = [e for e in events if e.get("event") == "save" and e.get("result") == 0]
        launches = [e for e in events if e.get("event") == "launch"]
        check(len(saves) == 1, "Open in VELD Engineer...: the workbook was saved")
        check(len(launches) == 1 and "VeldEngineer.exe" in launches[0].get("executable", ""),
              "Open in VELD Engineer...: VELD Engineer was started")
        record = prefix.posix(VELD_FOLDER) / "VeldEngineer.launches.jsonl"
        for _ in range(60):
            if record.exists() and record.read_text(encoding="utf-8").strip():
                break
            time.sleep(1)
        check(record.exists() and "ACToVELDEngineer.xlsx" in record.read_text(encoding="utf-8"),
              "VELD Engineer read the workbook (its own record)")
        if failures:
            print(result.stdout[-3000:], result.stderr[-3000:])
        record.unlink(missing_ok=True)

        print(f"-- upgrade to {newer_version}")
        prefix.msiexec("/i", windows_path(newer))
        entries = prefix.our_uninstall_entries()
        check([e.get("DisplayVersion") for e in entries] == [newer_version],
              f"upgrade: one entry, version {newer_version}")
        check(installed.exists(), "upgrade: the module is in place")

        print(f"-- the older {version} over {newer_version}")
        prefix.msiexec("/i", windows_path(msi))
        entries = prefix.our_uninstall_entries()
        check([e.get("DisplayVersion") for e in entries] == [newer_version], "older over newer: refused")
        check(installed.exists(), "older over newer: the module is still in place")

        print("-- repair")
        installed.unlink()
        # What msiexec /fa means; Wine 8's msiexec does not take /f.
        prefix.msiexec("/i", windows_path(newer), "REINSTALL=ALL", "REINSTALLMODE=amus")
        check(installed.exists() and installed.read_bytes() == extracted.read_bytes(), "repair: the module is back")

        print("-- uninstall")
        prefix.msiexec("/x", windows_path(newer))
        check(prefix.our_uninstall_entries() == [], "uninstall: no entry left")
        after = prefix.files()
        check(after == files_before, "uninstall: the files are exactly those before the install"
              + ("" if after == files_before else f": {sorted(set(after.items()) ^ set(files_before.items()))}"))
        check(prefix.query(HOST_KEY) == host_registration, "uninstall: the host's registration is as it was")
    finally:
        subprocess.run(["wineserver", "-k"], env=prefix.env)
    print(f"{len(failures)} failing; {time.monotonic() - started:.0f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
