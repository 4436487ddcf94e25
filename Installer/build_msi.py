"""Builds the add-on's MSI with wixl and completes the tables that wixl leaves short.

    build_msi.py WXS MODULE ICON_PNG VERSION OUT

- The installed-programs entry shows the add-on's icon: ICON_PNG (256 x 256) in an icon file.

- The product code is derived from the version, the module's bytes and the package source: two
  builds of one commit with one certificate give one product code (the release compares them), while
  any two different packages of one version (a test-signed build and the signed release) get two, so
  Windows Installer never meets one product code with two packages (error 1638).
- The module's File row gets the file version and language of its VERSIONINFO, and no file hash (a
  versioned file has none): Windows Installer then compares versions, as for any versioned file.
- The older-versions row of the Upgrade table includes its maximum (this version), which wixl drops:
  another package of the same version replaces the installed one instead of being installed beside it.
- The component that pins the add-ons folder is permanent (wixl has no attribute for it): the host's
  folder stays when the add-on is removed.
"""
import hashlib
import os
import pathlib
import struct
import subprocess
import sys
import uuid

import pefile

UPGRADE_CODE = uuid.UUID("DC39FBE6-CDBE-4B9A-B361-A1691F553B6A")
# msidbComponentAttributes64bit | msidbComponentAttributesPermanent
PERMANENT_64BIT_COMPONENT = 256 | 16
# msidbUpgradeAttributesVersionMinInclusive | msidbUpgradeAttributesVersionMaxInclusive
MIN_AND_MAX_INCLUSIVE = 256 | 512


def product_code(version, module, wxs):
    identity = "\n".join([version, hashlib.sha256(module.read_bytes()).hexdigest(),
                          hashlib.sha256(wxs.read_bytes()).hexdigest()])
    return str(uuid.uuid5(UPGRADE_CODE, identity)).upper()


def write_icon(png, out):
    """An icon file of one 256 x 256 PNG image (width and height 0 mean 256)."""
    image = png.read_bytes()
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", 0, 0, 0, 0, 1, 32, len(image), 6 + 16)
    out.write_bytes(header + entry + image)


def file_version_and_language(module):
    """("a.b.c.d", "LANGID") of the module's VERSIONINFO."""
    pe = pefile.PE(str(module))
    fixed = pe.VS_FIXEDFILEINFO[0]
    version = ".".join(str(part) for part in (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                                              fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF))
    languages = [var.entry[b"Translation"].split()[0] for info in pe.FileInfo for entry in info
                 if entry.Key == b"VarFileInfo" for var in entry.Var if b"Translation" in var.entry]
    return version, str(int(languages[0], 16))


def main():
    wxs, module, png, version, out = sys.argv[1:6]
    wxs, module, png, out = (pathlib.Path(p).resolve() for p in (wxs, module, png, out))
    icon = out.with_suffix(".ico")
    write_icon(png, icon)
    # wixl takes a file's source only relative to where it runs.
    subprocess.run(["wixl", "-a", "x64", "-D", f"Version={version}", "-D", f"ProductCode={product_code(version, module, wxs)}",
                    "-D", f"Module={module.name}", "-D", f"Icon={os.path.relpath(icon, module.parent)}", "-o", str(out), str(wxs)],
                   check=True, cwd=module.parent)
    file_version, language = file_version_and_language(module)
    queries = [
        f"UPDATE `File` SET `Version` = '{file_version}', `Language` = '{language}' WHERE `File` = 'AddOnModuleFile'",
        "DELETE FROM `MsiFileHash` WHERE `File_` = 'AddOnModuleFile'",
        # Attributes is part of the Upgrade table's key: the row is replaced, not updated.
        "DELETE FROM `Upgrade` WHERE `ActionProperty` = 'OLDERVERSIONSFOUND'",
        "INSERT INTO `Upgrade` (`UpgradeCode`, `VersionMin`, `VersionMax`, `Attributes`, `ActionProperty`) "
        f"VALUES ('{{{str(UPGRADE_CODE).upper()}}}', '0.0.0', '{version}', {MIN_AND_MAX_INCLUSIVE}, 'OLDERVERSIONSFOUND')",
        f"UPDATE `Component` SET `Attributes` = {PERMANENT_64BIT_COMPONENT} WHERE `Component` = 'AddOnsFolderPin'",
    ]
    for query in queries:
        subprocess.run(["msibuild", str(out), "-q", query], check=True)


if __name__ == "__main__":
    main()
