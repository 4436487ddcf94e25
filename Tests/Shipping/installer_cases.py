"""The add-on's installer under Wine, in a prefix of its own: every case judged by what is on disk and
in the registry afterwards (Wine's msiexec exit codes differ from Windows').

    installer_cases.py PREFIX MSI WXS PROJECT_VERSION_H BIN_DIR SCRIPT

0. the package's tables: ProductVersion is the project's version; the module's File row carries the
   version and language of its VERSIONINFO; GUIDs in upper case; the refusals name their cases;
   a running host is never closed and the computer never restarted unless asked;
1. no host: nothing is installed, also when the folder is given on the command line;
2. a per-user install (ALLUSERS="") is refused;
3. a registered add-ons folder that is empty, a drive root, missing or a file: nothing is installed;
4. a registered host (hostsim.exe and its DLLs copied into C:\\Program Files\\HostSim 27): the MSI
   puts the module into the add-ons folder named by the host's registration, whatever folder the
   command line names, one entry in the list of installed programs with its install location, icon
   and links; hostsim.exe started with no module loads it and "Open in VELD Engineer..." writes the
   workbook and starts VELD Engineer;
5. another package of the same version (another build) replaces it: one entry;
6. a newer version replaces it (one entry), the older one is then refused;
7. the host's registration changed or gone: repair restores the module where it was installed,
   nowhere else; uninstall removes it from there;
8. uninstall removes exactly what was installed: the host's files, its add-ons folder (also when the
   add-on was all it held) and its registration stay;
9. the module's folder gone: uninstall completes, and says so in its log.
"""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

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
# Another folder named through every property a package could take it from.
ELSEWHERE = [f"{name}=C:\\Elsewhere" for name in ("HOSTADDONSFOLDER", "ADDONSFOLDER", "HOSTADDONSDIR", "HOSTADDONSVALUE",
                                                  "HOSTVERSION", "REMEMBEREDFOLDER", "REMEMBEREDDIR")]
ICON = pathlib.Path(__file__).resolve().parents[2] / "Resources" / "Icons" / "Images" / "AddOn-256.png"

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

    def delete_value(self, key, name):
        self.wine("reg", "delete", key, "/v", name, "/f", "/reg:64", check_exit=True)

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

    def modules(self):
        """Every copy of the module on the prefix's C: drive."""
        return sorted(name for name in self.files() if name.endswith(MODULE_NAME))

    def files(self):
        """Every file of the prefix's C: drive outside Wine's own folders, with its size."""
        root = self.path / "drive_c"
        # Wine's own folders hold thousands of files: never walked.
        tops = [p for p in root.iterdir() if p.name not in ("windows", "users", "ProgramData")]
        return {str(p.relative_to(root)): p.stat().st_size
                for top in tops for p in ([top] if top.is_file() else top.rglob("*")) if p.is_file()}




def build_msi(wxs, module, version, out):
    """A package of the add-on as the build makes it (build_msi.py beside the package source)."""
    subprocess.run([sys.executable, str(wxs.parent / "build_msi.py"), str(wxs), str(module), str(ICON), version,
                    str(out)], check=True)


def read_log(path):
    """An msiexec log, UTF-16 when it starts with its byte-order mark, else the ANSI code page."""
    if not path.exists():
        return ""
    data = path.read_bytes()
    return data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode("cp1252", errors="replace")


def table(msi, name):
    """The rows of one table of the package, as lists of column texts."""
    # msiinfo export writes a table's streams (the Icon table's) into NAME/ of the folder it runs in.
    with tempfile.TemporaryDirectory() as scratch:
        text = subprocess.run(["msiinfo", "export", str(msi), name], check=True, capture_output=True, text=True,
                              cwd=scratch).stdout
    return [line.split("\t") for line in text.splitlines()[3:]]


def check_tables(msi, module, version):
    properties = dict(row[:2] for row in table(msi, "Property"))
    check(properties.get("ProductVersion") == version, f"the package's ProductVersion is {version}")
    pe = pefile.PE(str(module))
    fixed = pe.VS_FIXEDFILEINFO[0]
    file_version = f"{fixed.FileVersionMS >> 16}.{fixed.FileVersionMS & 0xFFFF}." \
                   f"{fixed.FileVersionLS >> 16}.{fixed.FileVersionLS & 0xFFFF}"
    files = {row[0]: row for row in table(msi, "File")}
    module_row = files.get("AddOnModuleFile", [""] * 8)
    check(module_row[4:6] == [file_version, "1033"],
          f"the module's File row has version {file_version} and language 1033 (got {module_row[4:6]})")
    check(table(msi, "MsiFileHash") == [], "a versioned file has no file hash")
    # Windows Installer publishes the entry's icon itself (Wine's does not): the package must name one.
    icons = [row[0] for row in table(msi, "Icon")]
    check(properties.get("ARPPRODUCTICON") in icons, f"the installed-programs entry has an icon: {icons}")
    guids = [properties.get("ProductCode", ""), properties.get("UpgradeCode", "")]
    guids += [row[1] for row in table(msi, "Component")] + [row[0] for row in table(msi, "Upgrade")]
    check(all(g.startswith("{") and g == g.upper() for g in guids), f"GUIDs in upper case: {guids}")
    check(properties.get("MSIRESTARTMANAGERCONTROL") == "DisableShutdown" and properties.get("REBOOT") == "ReallySuppress",
          "a running host is not closed and the computer not restarted unless the command line asks")
    messages = " ".join(row[1] for row in table(msi, "LaunchCondition"))
    for words in ("no installation of that host was found", "names no add-ons folder",
                  "is not a folder", "is the root of a drive", "for all users of this computer only",
                  "the folder it was installed into"):
        check(words in messages, f"a refusal says: {words!r}")


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


def refused(prefix, what, *arguments):
    prefix.msiexec("/i", *arguments)
    check(prefix.modules() == [] and prefix.our_uninstall_entries() == [],
          f"{what}: refused, no module anywhere on C: and no entry")


def check_hostsim_opens_in_veld_engineer(prefix, work, script):
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
        # The packages: the signed one of the build, its module as installed, another build of the
        # same version (the unsigned module: other bytes), and a newer version.
        subprocess.run(["msiextract", "-C", str(work / "extracted"), str(msi)], check=True, capture_output=True)
        extracted = next((work / "extracted").rglob(MODULE_NAME))
        (work / "other-build").mkdir()
        other_module = work / "other-build" / MODULE_NAME
        shutil.copy2(bin_dir / MODULE_NAME, other_module)
        other_build = work / "other-build" / f"VELDEngineerConnection-{version}.msi"
        build_msi(wxs, other_module, version, other_build)
        major, minor, patch = version.split(".")
        newer_version = f"{major}.{minor}.{int(patch) + 1}"
        newer = work / f"VELDEngineerConnection-{newer_version}.msi"
        build_msi(wxs, extracted, newer_version, newer)
        check_tables(msi, extracted, version)
        codes = {dict(row[:2] for row in table(p, "Property"))["ProductCode"] for p in (msi, other_build, newer)}
        check(len(codes) == 3, "every package has a product code of its own, also two of one version")

        print("-- no host")
        # A folder named on the command line must not stand in for the host's registration.
        prefix.posix("C:\\Elsewhere").mkdir()
        refused(prefix, "no host, a folder on the command line", windows_path(msi), *ELSEWHERE)

        print("-- a registered host")
        install_copy(prefix, bin_dir, "hostsim.exe", HOST_FOLDER, also_serving=MODULE_NAME)
        install_copy(prefix, bin_dir, "VeldEngineer.exe", VELD_FOLDER)
        prefix.posix(ADDONS_FOLDER).mkdir(parents=True, exist_ok=True)
        prefix.posix(HOST_FOLDER + r"\Moved").mkdir(parents=True, exist_ok=True)
        prefix.set_string(VELD_KEY, "InstallDir", VELD_FOLDER)
        (prefix.posix(HOST_FOLDER) / "AddOns.txt").write_text("a file where a folder was expected\n")
        prefix.set_string(HOST_KEY, "Version", "27.0.5000")
        prefix.set_string(HOST_KEY, "InstallDir", HOST_FOLDER)
        for what, folder in (("an empty add-ons folder", ""), ("a drive root", "C:\\"),
                             ("a missing add-ons folder", HOST_FOLDER + r"\Not There"),
                             ("an add-ons folder that is a file", HOST_FOLDER + r"\AddOns.txt")):
            prefix.set_string(HOST_KEY, "AddOnsFolder", folder)
            refused(prefix, what, windows_path(msi), *ELSEWHERE)
        (prefix.posix(HOST_FOLDER) / "AddOns.txt").unlink()
        prefix.set_string(HOST_KEY, "AddOnsFolder", ADDONS_FOLDER)
        refused(prefix, "per user (ALLUSERS=\"\")", windows_path(msi), "ALLUSERS=")
        files_before, host_registration = prefix.files(), prefix.query(HOST_KEY)

        print(f"-- install {msi.name}, another folder named on the command line")
        prefix.msiexec("/i", windows_path(msi), *ELSEWHERE)
        installed = prefix.posix(ADDONS_FOLDER) / MODULE_NAME
        check(installed.exists() and installed.read_bytes() == extracted.read_bytes(),
              "install: the signed module is in the host's add-ons folder")
        check(len(prefix.modules()) == 1, f"install: one module on C:, none elsewhere: {prefix.modules()}")
        entries = prefix.our_uninstall_entries()
        check([e.get("DisplayVersion") for e in entries] == [version], f"install: one entry, version {version}")
        entry = entries[0] if entries else {}
        check(entry.get("InstallLocation", "").rstrip("\\") == ADDONS_FOLDER,
              f"install: the entry shows the install location ({entry.get('InstallLocation')!r})")
        check(entry.get("HelpLink") and entry.get("URLInfoAbout"), "install: the entry has a help link and an about link")

        print("-- hostsim.exe without a module: Open in VELD Engineer...")
        check_hostsim_opens_in_veld_engineer(prefix, work, script)

        print("-- another build of the same version")
        prefix.msiexec("/i", windows_path(other_build))
        entries = prefix.our_uninstall_entries()
        check(len(entries) == 1 and installed.exists() and installed.read_bytes() == other_module.read_bytes(),
              f"same version, other build: it replaced the first, one entry ({len(entries)})")

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

        print("-- repair with the host's registration gone")
        installed.unlink()
        prefix.delete_value(HOST_KEY, "AddOnsFolder")
        # What msiexec /fa means; Wine 8's msiexec does not take /f.
        prefix.msiexec("/i", windows_path(newer), "REINSTALL=ALL", "REINSTALLMODE=amus")
        check(installed.exists() and installed.read_bytes() == extracted.read_bytes(),
              "repair: the module is back where it was installed")
        check(len(prefix.modules()) == 1, f"repair: no module elsewhere: {prefix.modules()}")

        print("-- uninstall with the host's add-ons folder registered elsewhere")
        prefix.set_string(HOST_KEY, "AddOnsFolder", HOST_FOLDER + r"\Moved")
        prefix.msiexec("/x", windows_path(newer))
        check(prefix.our_uninstall_entries() == [], "uninstall: no entry left")
        check(prefix.modules() == [], f"uninstall: no module left anywhere: {prefix.modules()}")
        prefix.set_string(HOST_KEY, "AddOnsFolder", ADDONS_FOLDER)
        after = prefix.files()
        check(after == files_before, "uninstall: the files are exactly those before the install"
              + ("" if after == files_before else f": {sorted(set(after.items()) ^ set(files_before.items()))}"))
        check(prefix.query(HOST_KEY) == host_registration, "uninstall: the host's registration is as it was")

        print("-- uninstall when the add-on is all the host's add-ons folder holds")
        prefix.msiexec("/i", windows_path(msi))
        prefix.msiexec("/x", windows_path(msi))
        check(prefix.modules() == [] and prefix.posix(ADDONS_FOLDER).is_dir(),
              "uninstall: the module is gone, the host's add-ons folder stays")

        print("-- uninstall after the module's folder is gone")
        prefix.msiexec("/i", windows_path(msi))
        shutil.rmtree(prefix.posix(ADDONS_FOLDER), ignore_errors=True)
        log = work / "uninstall-folder-gone.log"
        prefix.msiexec("/x", windows_path(msi), "/l*v", windows_path(log))
        text = read_log(log)
        check(prefix.our_uninstall_entries() == [], "folder gone: uninstall completes, no entry left")
        check(ADDONS_FOLDER + "\\ that VELD Engineer Connection was installed into is gone" in text,
              "folder gone: the log says so")
        check(not prefix.posix(ADDONS_FOLDER).exists(), "folder gone: uninstall did not make it again")
    finally:
        subprocess.run(["wineserver", "-k"], env=prefix.env)
    print(f"{len(failures)} failing; {time.monotonic() - started:.0f} s")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
