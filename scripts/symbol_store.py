"""Lays out Windows modules and their PDBs as a symbol store, as debuggers and symbol servers look them
up:  NAME.pdb/<GUID><age>/NAME.pdb  (GUID and age of the module's CodeView record) and the module itself
under  NAME.ext/<TimeDateStamp><SizeOfImage>/NAME.ext  (so that a crash dump's module can be fetched).

    symbol_store.py STORE MODULE...     each MODULE's PDB is the .pdb beside it with the module's stem
"""
import pathlib
import shutil
import sys
import uuid

import pefile


def codeview_record(module_path):
    """(GUID text as in a symbol store, age, PDB file name) of the module's CodeView record."""
    pe = pefile.PE(str(module_path), fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_DEBUG"]])
    for entry in getattr(pe, "DIRECTORY_ENTRY_DEBUG", []):
        record = entry.entry
        if record is not None and getattr(record, "CvSignature", b"") == b"RSDS":
            guid = uuid.UUID(bytes_le=pe.get_data(entry.struct.AddressOfRawData + 4, 16))
            name = record.PdbFileName.rstrip(b"\0").decode()
            return guid, record.Age, name
    raise ValueError(f"{module_path}: no CodeView (RSDS) record")


def store_key(guid, age):
    return guid.hex.upper() + format(age, "X")


def module_key(module_path):
    pe = pefile.PE(str(module_path), fast_load=True)
    return format(pe.FILE_HEADER.TimeDateStamp, "08X") + format(pe.OPTIONAL_HEADER.SizeOfImage, "X")


def add(store, module_path):
    """Copies one module and its PDB into the store; returns the PDB's path in it."""
    module_path = pathlib.Path(module_path)
    guid, age, pdb_name = codeview_record(module_path)
    pdb = module_path.with_name(pdb_name)
    pdb_target = store / pdb_name / store_key(guid, age) / pdb_name
    module_target = store / module_path.name / module_key(module_path) / module_path.name
    for source, target in ((pdb, pdb_target), (module_path, module_target)):
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(source, target)
    return pdb_target


if __name__ == "__main__":
    store = pathlib.Path(sys.argv[1])
    for module in sys.argv[2:]:
        print(add(store, module).relative_to(store))
