"""Runs VeldEngineer.exe, copied into a folder of its own, on workbooks from several writers and on files
that are not SAF workbooks, and checks its exit code, its message and the record it keeps beside itself.

usage: veldengineer_cli.py VELDENGINEER WRITER MODEL.json WORKFOLDER
"""
import json
import os
import random
import shutil
import subprocess
import sys
import zipfile

try:
    import openpyxl
except ImportError:
    print("SKIPPED: python3-openpyxl is not installed (scripts/install-deps.sh installs it)")
    sys.exit(77)

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELATIONSHIPS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PACKAGE = "http://schemas.openxmlformats.org/package/2006/relationships"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def write_openpyxl_workbook(path):
    book = openpyxl.Workbook()
    model = book.active
    model.title = "Model"
    model.append(["Name", "Portal"])
    model.append(["SAF Version", "2.2.0"])
    nodes = book.create_sheet("StructuralPointConnection")
    nodes.append(["Name", "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]", "Comment"])
    for name, x, z in [("N1", 0, 0), ("N2", 0, 4), (None, 9, 9), ("N3", 6, 4), ("N4", 6, 0)]:
        nodes.append([name, x, 0, z, "extra column"])
    members = book.create_sheet("StructuralCurveMember")
    members.append(["Name", "Type", "Cross section", "Nodes"])
    members.append(["B1", "Column", "CS1", "N1;N2"])
    members.append(["B2", "Beam", "CS2", "N2; N3"])
    members.append(["B3", "Column", "CS1", "N4;N3"])
    book.create_sheet("Project").append(["Name", "Portal frame"])
    book.save(path)


def write_shared_strings_workbook(path):
    strings = ["SAF Version", "2.2.0", "Name", "Height level [m]", "Ground floor", "Roof"]
    parts = {
        "[Content_Types].xml": "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>",
        "_rels/.rels": f"<Relationships xmlns=\"{PACKAGE}\"><Relationship Id=\"r1\" "
                       f"Type=\"{RELATIONSHIPS}/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>",
        "xl/workbook.xml": f"<workbook xmlns=\"{MAIN}\" xmlns:r=\"{RELATIONSHIPS}\"><sheets>"
                           "<sheet name=\"StructuralStorey\" sheetId=\"2\" r:id=\"s2\"/>"
                           "<sheet name=\"Model\" sheetId=\"1\" r:id=\"s1\"/></sheets></workbook>",
        "xl/_rels/workbook.xml.rels": f"<Relationships xmlns=\"{PACKAGE}\">"
                                      f"<Relationship Id=\"s1\" Type=\"{RELATIONSHIPS}/worksheet\" Target=\"worksheets/first.xml\"/>"
                                      f"<Relationship Id=\"s2\" Type=\"{RELATIONSHIPS}/worksheet\" Target=\"worksheets/second.xml\"/>"
                                      f"<Relationship Id=\"t\" Type=\"{RELATIONSHIPS}/sharedStrings\" Target=\"sharedStrings.xml\"/>"
                                      "</Relationships>",
        "xl/sharedStrings.xml": f"<sst xmlns=\"{MAIN}\">" + "".join(f"<si><t>{s}</t></si>" for s in strings) + "</sst>",
        "xl/worksheets/first.xml": f"<worksheet xmlns=\"{MAIN}\"><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c>"
                                   "<c r=\"B1\" t=\"s\"><v>1</v></c></row></sheetData></worksheet>",
        "xl/worksheets/second.xml": f"<worksheet xmlns=\"{MAIN}\"><sheetData>"
                                    "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>2</v></c><c r=\"B1\" t=\"s\"><v>3</v></c></row>"
                                    "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>4</v></c><c r=\"B2\"><v>0</v></c></row>"
                                    "<row r=\"4\"><c r=\"A4\" t=\"s\"><v>5</v></c><c r=\"B4\"><v>4</v></c></row>"
                                    "</sheetData></worksheet>",
    }
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, text in parts.items():
            archive.writestr(name, text)


def run(app, argument):
    return subprocess.run([app, argument], capture_output=True, text=True)


def check_command(app, ours, openpyxl_book, not_zip, missing):
    """VeldEngineer.exe --check: findings as FILE: SHEET!CELL: severity: message, a closing count per file,
    exit 0 / 1 / 2."""
    clean = subprocess.run([app, "--check", ours], capture_output=True, text=True)
    clean_line = f"{ours}: checked 9 sheets, 117 objects: 0 errors, 0 warnings"
    check(clean.returncode == 0 and clean.stdout == clean_line + "\n",
          f"--check on our workbook: {clean.returncode} {clean.stdout!r}")

    broken = subprocess.run([app, "--check", openpyxl_book, ours], capture_output=True, text=True)
    lines = broken.stdout.splitlines()
    check(broken.returncode == 1, f"--check on a workbook with errors exits {broken.returncode}")
    expected = [
        f"{openpyxl_book}: Model!A3: error: the required row \"Global coordinate system\" is missing",
        f"{openpyxl_book}: Model!A3: error: the required row \"LCS of cross-section\" is missing",
        f"{openpyxl_book}: Model!A3: error: the required row \"System of units\" is missing",
        f"{openpyxl_book}: Model!A3: error: the required row \"National code\" is missing",
    ]
    check(lines[:4] == expected, f"--check's first lines: {lines[:4]}")
    check(any(line.startswith(f"{openpyxl_book}: StructuralCurveMember!C2: error: \"Cross section\" names \"CS1\"")
              for line in lines), f"no unresolved cross-section among {lines}")
    check([line for line in lines if line.startswith(ours)] == [clean_line],
          "our workbook got findings next to a broken one")
    check(any(line.startswith(f"{openpyxl_book}: checked 4 sheets, 8 objects: ") and " 0 errors" not in line
              for line in lines),
          f"no closing line with the errors counted among {lines}")

    unreadable = subprocess.run([app, "--check", not_zip, ours], capture_output=True, text=True)
    check(unreadable.returncode == 2, f"--check on a file that is no workbook exits {unreadable.returncode}")
    check(unreadable.stdout.startswith(f"{not_zip}: error: not a readable workbook: not a zip file"),
          f"--check on a file that is no workbook says {unreadable.stdout!r}")

    as_json = subprocess.run([app, "--check", "--json", openpyxl_book, missing], capture_output=True, text=True)
    check(as_json.returncode == 2, f"--check --json with a missing file exits {as_json.returncode}")
    try:
        reports = json.loads(as_json.stdout)
        check([report["file"] for report in reports] == [openpyxl_book, missing], f"--json files: {reports}")
        check(reports[0]["errors"] == len([f for f in reports[0]["findings"] if f["severity"] == "error"]),
              "--json error count differs from its findings")
        check(reports[0]["findings"][0] == {"sheet": "Model", "cell": "A3", "severity": "error",
                                            "message": "the required row \"Global coordinate system\" is missing"},
              f"--json first finding: {reports[0]['findings'][0]}")
        check((reports[0]["safTable"], reports[0]["sheetsChecked"], reports[0]["objectsChecked"]) == ("2.2.0", 4, 8),
              f"--json counts of what was read: {reports[0]}")
        check(not reports[1]["readable"], f"--json on a missing file: {reports[1]}")
    except (ValueError, KeyError, IndexError) as problem:
        check(False, f"--check --json printed {as_json.stdout!r}: {problem}")


def with_huge_cell(source, target):
    """A copy of `source` with one 3 MB text cell: within the reader's limits, beyond 12 MB of memory."""
    with zipfile.ZipFile(source) as original, zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED) as copy:
        for info in original.infolist():
            data = original.read(info.filename)
            if info.filename == "xl/worksheets/sheet5.xml":
                # letters that deflate little, as a real text does: the reader refuses parts that inflate
                # far beyond their compressed size
                letters = bytes(random.Random(17).choices(range(ord("a"), ord("z") + 1), k=3000000))
                cell = b'<row r="100"><c r="A100" t="inlineStr"><is><t>' + letters + b"</t></is></c></row>"
                data = data.replace(b"</sheetData>", cell + b"</sheetData>", 1)
            copy.writestr(info.filename, data)


def files_that_are_not_files(app, ours, data, app_folder):
    """--check refuses a FIFO, a folder and a device without opening them, shows control characters in
    names as escapes, and running out of memory is a refusal (exit 2) that the launch still records."""
    fifo = os.path.join(data, "pipe.xlsx")
    os.mkfifo(fifo)
    odd_name = os.path.join(data, "new\nline \x1b[31mred.xlsx")
    with open(odd_name, "w") as text:
        text.write("not a zip\n")
    shown_name = os.path.join(data, "new\\nline \\x1B[31mred.xlsx")
    not_regular = "not a readable workbook: not a regular file (a folder, FIFO or device)"
    try:
        result = subprocess.run([app, "--check", fifo, data, os.devnull, odd_name, ours],
                                capture_output=True, text=True, timeout=60)
    except subprocess.TimeoutExpired:
        check(False, "--check on a FIFO hangs")
        return
    check(result.returncode == 2, f"--check on files that are not files exits {result.returncode}")
    check(result.stdout.splitlines() == [f"{fifo}: error: {not_regular}", f"{data}: error: {not_regular}",
                                         f"{os.devnull}: error: {not_regular}",
                                         f"{shown_name}: error: not a readable workbook: not a zip file "
                                         "(no end of central directory)", f"{ours}: checked 9 sheets, 117 objects: 0 errors, 0 warnings"],
          f"--check on files that are not files said {result.stdout!r}")

    # The launch refuses the same files in words, before opening them, and shows the odd name safely.
    launches = [
        (fifo, f"VeldEngineer.exe: cannot open {fifo}: it is not a regular file (a FIFO or device)"),
        (data, f"VeldEngineer.exe: cannot open {data}: it is a folder"),
        (os.devnull, f"VeldEngineer.exe: cannot open {os.devnull}: it is not a regular file (a FIFO or device)"),
        (odd_name, f"VeldEngineer.exe: {shown_name} is not a SAF workbook: not a zip file (no end of central directory)"),
    ]
    for path, said in launches:
        try:
            launched = subprocess.run([app, path], capture_output=True, text=True, timeout=60)
        except subprocess.TimeoutExpired:
            check(False, f"a launch on {path!r} hangs")
            continue
        check(launched.returncode in (2, 3) and launched.stderr.splitlines() == [said],
              f"a launch on {path!r}: {launched.returncode} {launched.stderr!r}")

    # The address sanitizer reserves terabytes of address space: a limit on it stops such a build at
    # its start, so running out of memory is shown by the plain builds only.
    with open(app, "rb") as program:
        if b"__asan_init" in program.read():
            return
    huge = os.path.join(data, "huge cell.xlsx")
    with_huge_cell(ours, huge)
    import resource

    def little_memory():
        resource.setrlimit(resource.RLIMIT_AS, (12 << 20, 12 << 20))

    checked = subprocess.run([app, "--check", huge, ours], capture_output=True, text=True, preexec_fn=little_memory)
    check(checked.returncode == 2 and checked.stdout == f"{huge}: error: not a readable workbook: not enough memory to read it\n"
          f"{ours}: checked 9 sheets, 117 objects: 0 errors, 0 warnings\n",
          f"--check without the memory for a workbook: {checked.returncode} {checked.stdout!r} {checked.stderr!r}")
    records = os.path.join(app_folder, "VeldEngineer.launches.jsonl")
    with open(records, encoding="utf-8") as log:
        before = len(log.readlines())
    launched = subprocess.run([app, huge], capture_output=True, text=True, preexec_fn=little_memory)
    check(launched.returncode == 2 and "not enough memory to read" in launched.stderr,
          f"a launch without the memory for its workbook: {launched.returncode} {launched.stderr!r}")
    with open(records, encoding="utf-8") as log:
        lines = log.readlines()
    check(len(lines) == before + 1 and json.loads(lines[-1]).get("exitCode") == 2,
          f"the launch without memory recorded {lines[before:]}")


def main():
    veld_engineer, writer, model_file, work = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    app_folder = os.path.join(work, "VELD Engineer 24")
    data = os.path.join(work, "exports \"été\"")
    os.makedirs(app_folder)
    os.makedirs(data)
    app = os.path.join(app_folder, os.path.basename(veld_engineer))
    shutil.copy2(veld_engineer, app)

    ours = os.path.join(data, "ACToVELDEngineer.xlsx")
    subprocess.run([writer, model_file, ours], check=True, capture_output=True)
    openpyxl_book = os.path.join(data, "openpyxl.xlsx")
    write_openpyxl_workbook(openpyxl_book)
    shared = os.path.join(data, "shared strings.xlsx")
    write_shared_strings_workbook(shared)
    not_zip = os.path.join(data, "notes.xlsx")
    with open(not_zip, "w") as text:
        text.write("this is not a workbook\n")
    no_sheets = os.path.join(data, "nosheets.xlsx")
    with zipfile.ZipFile(no_sheets, "w") as archive:
        archive.writestr("readme.txt", "a zip, but no workbook in it")
    no_model = os.path.join(data, "nomodel.xlsx")
    openpyxl.Workbook().save(no_model)
    missing = os.path.join(data, "missing.xlsx")

    cases = [
        (ours, 0, "SAF 2.2.0: 2 materials, 4 cross-sections, 36 nodes, 58 members, 2 surfaces, 3 storeys, 12 supports"),
        (openpyxl_book, 0, "SAF 2.2.0: 0 materials, 0 cross-sections, 4 nodes, 3 members, 0 surfaces, 0 storeys, 0 supports"),
        (shared, 0, "SAF 2.2.0: 0 materials, 0 cross-sections, 0 nodes, 0 members, 0 surfaces, 2 storeys, 0 supports"),
        (missing, 2, "no workbook at " + missing),
        (not_zip, 3, "is not a SAF workbook: not a zip file"),
        (no_sheets, 3, "is not a SAF workbook: not a spreadsheet workbook: the workbook has no part xl/workbook.xml"),
        (no_model, 3, "is not a SAF workbook: it has no Model sheet"),
    ]
    for path, code, message in cases:
        result = run(app, path)
        name = os.path.basename(path)
        check(result.returncode == code, f"{name}: exit code {result.returncode}, expected {code}")
        said = result.stdout if code == 0 else result.stderr
        check(message in said, f"{name}: said {said!r}, expected it to contain {message!r}")

    with open(os.path.join(app_folder, "VeldEngineer.launches.jsonl"), encoding="utf-8") as log:
        records = [json.loads(line) for line in log]
    check(len(records) == len(cases), f"{len(records)} launches recorded for {len(cases)} runs")
    for record, (path, code, _) in zip(records, cases):
        check(record["argv"] == [path], f"recorded argv {record['argv']} for {path}")
        check(record["exitCode"] == code, f"recorded exit code {record['exitCode']} for {path}")
        check(("summary" in record) == (code == 0) and ("error" in record) == (code != 0),
              f"record for {os.path.basename(path)} has the wrong kind of outcome: {record}")
    if records:
        check(records[0].get("summary", {}).get("members") == 58, f"our workbook's record: {records[0]}")
        check(records[0].get("check") == {"readable": True, "safTable": "2.2.0", "sheetsChecked": 9,
                                          "objectsChecked": 117, "errors": 0, "warnings": 0, "findings": []},
              f"our workbook's record holds findings: {records[0].get('check')}")
        check(records[1].get("check", {}).get("errors", 0) > 0, f"openpyxl workbook's check: {records[1].get('check')}")
        check(records[1].get("summary", {}).get("objects") == {"StructuralPointConnection": 4, "StructuralCurveMember": 3},
              f"openpyxl workbook's objects: {records[1].get('summary')}")

    check_command(app, ours, openpyxl_book, not_zip, missing)
    files_that_are_not_files(app, ours, data, app_folder)

    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print(f"VeldEngineer.exe answered all {len(cases)} workbooks as expected")
    return 1 if failures else 0


sys.exit(main())
