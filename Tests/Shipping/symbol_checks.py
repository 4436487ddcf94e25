"""The symbols belong to the modules: each module and its PDB laid out as a symbol store
(scripts/symbol_store.py), the PDB's GUID and age (read by llvm-pdbutil) equal to the module's CodeView
record, and an address inside the add-on's open command resolved through the stored PDB to that
function, its source file and a line of its body.

    symbol_checks.py LLVM_SUFFIX STORE SOURCE_ROOT ADDON_MODULE MODULE...
"""
import pathlib
import re
import shutil
import subprocess
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "scripts"))
import pefile  # noqa: E402
import symbol_store  # noqa: E402

OPEN_COMMAND = "OpenInAnalysisApplication"
OPEN_COMMAND_SOURCE = pathlib.Path("Sources/AddOn/ModelHandOff/OpenInAnalysisApplication.cpp")


def pdb_identity(pdbutil, pdb):
    summary = subprocess.run([pdbutil, "dump", "-summary", str(pdb)], check=True, capture_output=True,
                             text=True).stdout
    guid = re.search(r"GUID: \{([0-9A-F-]+)\}", summary).group(1).replace("-", "")
    age = int(re.search(r"Age: (\d+)", summary).group(1))
    return guid + format(age, "X")


def function_rva(pdbutil, pdb, module, name):
    """The RVA of the function's code, from the PDB's own procedure record."""
    symbols = subprocess.run([pdbutil, "dump", "-symbols", str(pdb)], check=True, capture_output=True,
                             text=True).stdout
    match = re.search(r"S_GPROC32 \[size = \d+\] `" + re.escape(name) + r"`\s*\n\s*parent = \d+, end = \d+, "
                      r"addr = (\d+):(\d+), code size = (\d+)", symbols)
    section, offset, size = (int(group) for group in match.groups())
    pe = pefile.PE(str(module), fast_load=True)
    return pe.sections[section - 1].VirtualAddress + offset, size, pe.OPTIONAL_HEADER.ImageBase


def first_line_of(source, name):
    for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
        if re.match(r"\S.*\b" + name + r"\(\)\s*\{", line):
            return number
    raise ValueError(f"{name} is not defined in {source}")


def main():
    suffix, store, source_root, addon, *modules = sys.argv[1:]
    pdbutil, symbolizer = "llvm-pdbutil" + suffix, "llvm-symbolizer" + suffix
    store, addon, source_root = pathlib.Path(store), pathlib.Path(addon), pathlib.Path(source_root)
    shutil.rmtree(store, ignore_errors=True)
    failed = 0
    stored_pdbs = {}
    for module in [addon, *map(pathlib.Path, modules)]:
        # The store files each PDB under its module's CodeView record: the PDB itself must say the same.
        stored_pdb = stored_pdbs[module] = symbol_store.add(store, module)
        matches = pdb_identity(pdbutil, stored_pdb) == stored_pdb.parent.name
        print(f"{module.name}: {stored_pdb.relative_to(store)}: {'matches' if matches else 'FAIL: does not match'}")
        failed += not matches

    stored_pdb = stored_pdbs[addon]
    stored_module = store / addon.name / symbol_store.module_key(addon) / addon.name
    rva, size, base = function_rva(pdbutil, stored_pdb, stored_module, OPEN_COMMAND)
    # Optimised code has instructions of no line (0): the first of a few addresses inside that has one.
    for offset in (size // 2, size // 3, 2 * size // 3, size // 4, 16):
        address = base + rva + offset
        # The module names its PDB by file name only: run where the store keeps that PDB, as a
        # debugger fetches it, so that no PDB beside the build's module can answer instead.
        answer = subprocess.run([symbolizer, "--obj=" + str(stored_module), hex(address)], check=True,
                                capture_output=True, text=True, cwd=stored_pdb.parent).stdout.splitlines()
        function, location = answer[0], answer[1]
        file, line = location.rsplit(":", 2)[0], int(location.rsplit(":", 2)[1])
        if line != 0:
            break
    body_start = first_line_of(source_root / OPEN_COMMAND_SOURCE, OPEN_COMMAND)
    source_lines = len((source_root / OPEN_COMMAND_SOURCE).read_text(encoding="utf-8").splitlines())
    resolved = (function.startswith(OPEN_COMMAND) and file.replace("\\", "/").endswith(OPEN_COMMAND_SOURCE.as_posix())
                and body_start <= line <= source_lines)
    print(f"{hex(address)} (inside {OPEN_COMMAND}) -> {function} at {file}:{line}: "
          f"{'resolved' if resolved else 'FAIL'} (the function starts on line {body_start})")
    failed += not resolved
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
