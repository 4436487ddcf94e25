"""Reads every Windows module the build made and checks what Windows binary analysers check: ASLR with
high-entropy addresses, DEP, Control Flow Guard, a load configuration directory whose stack cookie the
loader will randomise, no section both writable and executable, no shared section; and, for the
modules we ship, the VERSIONINFO resource against the project's version.

    pe_checks.py PROJECT_VERSION_H BIN_DIR SHIPPED_MODULE...
"""
import pathlib
import re
import sys

import pefile

DYNAMIC_BASE = 0x0040
HIGH_ENTROPY_VA = 0x0020
NX_COMPAT = 0x0100
GUARD_CF = 0x4000
SCN_MEM_EXECUTE = 0x20000000
SCN_MEM_WRITE = 0x80000000
SCN_MEM_SHARED = 0x10000000
DEFAULT_SECURITY_COOKIE = 0x00002B992DDFA232
GUARD_CF_INSTRUMENTED = 0x100
GUARD_CF_FUNCTION_TABLE_PRESENT = 0x400


def project_version(header):
    """VELD_VERSION_TEXT of the generated ProjectVersion.h."""
    return re.search(r'#define VELD_VERSION_TEXT "([^"]+)"', pathlib.Path(header).read_text()).group(1)


def hardening_findings(pe):
    """What a binary analyser would report about one parsed module; empty when it passes."""
    findings = []
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    for bit, name in ((DYNAMIC_BASE, "ASLR (dynamic base)"), (HIGH_ENTROPY_VA, "high-entropy ASLR"),
                      (NX_COMPAT, "DEP (NX compatible)"), (GUARD_CF, "Control Flow Guard")):
        if not flags & bit:
            findings.append("no " + name)
    for section in pe.sections:
        name = section.Name.rstrip(b"\0").decode()
        if section.Characteristics & SCN_MEM_WRITE and section.Characteristics & SCN_MEM_EXECUTE:
            findings.append(f"section {name} is writable and executable")
        if section.Characteristics & SCN_MEM_SHARED:
            findings.append(f"section {name} is shared")
    config = getattr(pe, "DIRECTORY_ENTRY_LOAD_CONFIG", None)
    if config is None:
        return findings + ["no load configuration directory"]
    cookie_va = config.struct.SecurityCookie
    base = pe.OPTIONAL_HEADER.ImageBase
    if cookie_va == 0:
        findings.append("no stack cookie in the load configuration")
    else:
        rva = cookie_va - base
        holder = pe.get_section_by_rva(rva)
        if holder is None or not holder.Characteristics & SCN_MEM_WRITE:
            findings.append("the stack cookie is not in writable data")
        elif pe.get_qword_at_rva(rva) != DEFAULT_SECURITY_COOKIE:
            findings.append("the stack cookie does not hold the default the loader replaces")
    guard = config.struct.GuardFlags
    if not guard & GUARD_CF_INSTRUMENTED or not guard & GUARD_CF_FUNCTION_TABLE_PRESENT:
        findings.append(f"Control Flow Guard flags {guard:#x}: not instrumented or no function table")
    if config.struct.GuardCFDispatchFunctionPointer == 0:
        findings.append("no Control Flow Guard dispatch pointer")
    return findings


def version_findings(pe, path, version):
    findings = []
    fixed = getattr(pe, "VS_FIXEDFILEINFO", None)
    if not fixed:
        return ["no VERSIONINFO resource"]
    major, minor, patch = (int(part) for part in version.split("."))
    expected = ((major << 16) | minor, patch << 16)
    for what in ("File", "Product"):
        got = (getattr(fixed[0], what + "VersionMS"), getattr(fixed[0], what + "VersionLS"))
        if got != expected:
            findings.append(f"{what.lower()} version {got} instead of {expected}")
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    wanted = {"CompanyName": "VELD", "ProductName": "VELD Engineer Connection", "FileVersion": version,
              "ProductVersion": version, "OriginalFilename": path.name}
    for key, value in wanted.items():
        if strings.get(key) != value:
            findings.append(f"{key} is {strings.get(key)!r}, not {value!r}")
    for key in ("FileDescription", "LegalCopyright"):
        if not strings.get(key):
            findings.append(f"no {key}")
    return findings


def checker_sees_a_weakened_module(path):
    """The checks must be able to fail: the same module with DEP cleared and a section made writable
    and executable is reported."""
    pe = pefile.PE(str(path))
    pe.OPTIONAL_HEADER.DllCharacteristics &= ~NX_COMPAT
    pe.sections[0].Characteristics |= SCN_MEM_WRITE
    weakened = pefile.PE(data=pe.write())
    findings = hardening_findings(weakened)
    return any("DEP" in f for f in findings) and any("writable and executable" in f for f in findings)


def main():
    version = project_version(sys.argv[1])
    bin_dir, shipped = pathlib.Path(sys.argv[2]), [pathlib.Path(p) for p in sys.argv[3:]]
    modules = sorted(p for p in bin_dir.iterdir() if p.suffix.lower() in (".dll", ".exe", ".apx"))
    failed = 0
    for path in modules:
        pe = pefile.PE(str(path))
        findings = hardening_findings(pe)
        if path in shipped:
            findings += version_findings(pe, path, version)
        print(f"{path.name}: {'pass' if not findings else 'FAIL: ' + '; '.join(findings)}")
        failed += bool(findings)
    for path in shipped:
        if path not in modules:
            print(f"{path.name}: FAIL: not built")
            failed += 1
    if not checker_sees_a_weakened_module(shipped[0]):
        print("FAIL: a module with DEP cleared and a writable code section passed the checks")
        failed += 1
    print(f"{len(modules)} modules checked, {len(shipped)} with VERSIONINFO, {failed} failing")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
