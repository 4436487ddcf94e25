"""Writes the release's SPDX 2.3 JSON bill of materials: the installer, the add-on module it holds, and
what the module is made of beyond our own sources (the MSVC STL's static part, the start-up library),
each with its version and licence.

    sbom.py DIST_DIR VERSION STL_VERSION_FILE OUTPUT
"""
import datetime
import hashlib
import json
import os
import pathlib
import sys

OUR_LICENCE = "LicenseRef-VELD-Proprietary"


def sha256(path):
    return hashlib.sha256(pathlib.Path(path).read_bytes()).hexdigest()


def package(spdx_id, name, version, licence, supplier, summary, checksum_of=None):
    entry = {
        "SPDXID": spdx_id, "name": name, "versionInfo": version, "supplier": supplier,
        "downloadLocation": "NOASSERTION", "filesAnalyzed": False,
        "licenseConcluded": licence, "licenseDeclared": licence, "copyrightText": "NOASSERTION",
        "summary": summary,
    }
    if checksum_of is not None:
        entry["checksums"] = [{"algorithm": "SHA256", "checksumValue": sha256(checksum_of)}]
        entry["packageFileName"] = pathlib.Path(checksum_of).name
    return entry


def main():
    dist, version, stl_version_file, output = pathlib.Path(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
    module = dist / "VELDEngineerConnection.apx"
    msi = dist / f"VELDEngineerConnection-{version}.msi"
    stl_text = pathlib.Path(stl_version_file).read_text()
    stl_tag = stl_text.split("release tag ")[1].split(",")[0]
    stl_commit = stl_text.split("commit ")[1].split(".")[0]
    created = datetime.datetime.fromtimestamp(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), datetime.timezone.utc)
    document = {
        "spdxVersion": "SPDX-2.3",
        "dataLicense": "CC0-1.0",
        "SPDXID": "SPDXRef-DOCUMENT",
        "name": f"VELDEngineerConnection-{version}",
        "documentNamespace": f"https://veld.example/spdx/VELDEngineerConnection-{version}-{sha256(module)}",
        "creationInfo": {"created": created.strftime("%Y-%m-%dT%H:%M:%SZ"),
                         "creators": ["Organization: VELD", "Tool: scripts/sbom.py"]},
        "packages": [
            package("SPDXRef-Installer", "VELD Engineer Connection installer", version, OUR_LICENCE,
                    "Organization: VELD", "Windows Installer package (MSI) of the add-on", msi),
            package("SPDXRef-AddOn", "VELD Engineer Connection", version, OUR_LICENCE, "Organization: VELD",
                    "The host add-on module VELDEngineerConnection.apx", module),
            package("SPDXRef-StartupLibrary", "VELD MSVC-ABI start-up library", version, OUR_LICENCE,
                    "Organization: VELD", "Entry points, static initialisers, stack cookies and load configuration "
                    "built into the module (cmake/MsvcAbi/crt)"),
            package("SPDXRef-MsvcStlStatic", "Microsoft C++ Standard Library (static part)", stl_tag,
                    "Apache-2.0 WITH LLVM-exception", "Organization: Microsoft",
                    f"The STL's separately compiled sources (stl/src) at commit {stl_commit}, built into the module"),
        ],
        "relationships": [
            {"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES", "relatedSpdxElement": "SPDXRef-Installer"},
            {"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES", "relatedSpdxElement": "SPDXRef-AddOn"},
            {"spdxElementId": "SPDXRef-Installer", "relationshipType": "CONTAINS", "relatedSpdxElement": "SPDXRef-AddOn"},
            {"spdxElementId": "SPDXRef-AddOn", "relationshipType": "STATIC_LINK", "relatedSpdxElement": "SPDXRef-StartupLibrary"},
            {"spdxElementId": "SPDXRef-AddOn", "relationshipType": "STATIC_LINK", "relatedSpdxElement": "SPDXRef-MsvcStlStatic"},
        ],
        "hasExtractedLicensingInfos": [{
            "licenseId": OUR_LICENCE, "name": "VELD proprietary licence",
            "extractedText": (dist / "licences" / "VELD-Engineer-Connection.txt").read_text(),
        }],
    }
    pathlib.Path(output).write_text(json.dumps(document, indent=2) + "\n")


if __name__ == "__main__":
    main()
