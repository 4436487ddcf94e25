"""Has LibreOffice (headless) open a workbook written by WriteSafWorkbook: every sheet converted to CSV
is checked against the model file, and LibreOffice's own .xlsx re-save of it (texts in shared strings,
styles, its own part names) must give VeldEngineer.exe the same summary as ours.

usage: libreoffice_witness.py WRITER VELDENGINEER MODEL.json WORKFOLDER SOFFICE
"""
import csv
import json
import os
import re
import shutil
import subprocess
import sys
import zipfile


def soffice_run(soffice, profile, arguments, work):
    command = [soffice, f"-env:UserInstallation=file://{profile}", "--headless", "--norestore", *arguments]
    return subprocess.run(command, cwd=work, capture_output=True, text=True, timeout=240)


def main():
    writer, veld_engineer, model_file, work, soffice = sys.argv[1:6]
    if not soffice or not os.path.exists(soffice):
        print("SKIPPED: soffice is not installed (libreoffice-calc-nogui; scripts/install-deps.sh installs it)")
        return 77
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    profile = os.path.join(work, "profile")
    with open(model_file, encoding="utf-8") as source:
        model = json.load(source)
    failures = []

    workbook = os.path.join(work, "demo.xlsx")
    subprocess.run([writer, model_file, workbook], check=True, capture_output=True)

    # Filter option 12 = -1: every sheet to its own file, demo-SHEET.csv.
    csv_filter = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"
    run = soffice_run(soffice, profile, ["--convert-to", csv_filter, "--outdir", work, workbook], work)
    nodes_csv = os.path.join(work, "demo-StructuralPointConnection.csv")
    if not os.path.exists(nodes_csv):
        print("FAILED: LibreOffice wrote no CSV of StructuralPointConnection:", run.stdout, run.stderr)
        return 1
    with open(nodes_csv, encoding="utf-8") as source:
        rows = list(csv.reader(source))
    if rows[0][:4] != ["Name", "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]"]:
        failures.append(f"LibreOffice reads the node headers as {rows[0]}")
    named = [row for row in rows[1:] if row and row[0]]
    if len(named) != len(model["nodes"]):
        failures.append(f"LibreOffice reads {len(named)} nodes, the model has {len(model['nodes'])}")
    for row, node in zip(named, model["nodes"]):
        if [float(value) for value in row[1:4]] != [node["x"], node["y"], node["z"]]:
            failures.append(f"LibreOffice places node {row[0]} at {row[1:4]}")
    with open(os.path.join(work, "demo-Model.csv"), encoding="utf-8") as source:
        model_rows = {row[0]: row[1] for row in csv.reader(source) if row}
    if model_rows.get("SAF Version") != "2.2.0":
        failures.append(f"LibreOffice reads SAF Version as {model_rows.get('SAF Version')!r}")

    resaved_folder = os.path.join(work, "resaved")
    os.makedirs(resaved_folder)
    run = soffice_run(soffice, profile, ["--convert-to", "xlsx", "--outdir", resaved_folder, workbook], work)
    resaved = os.path.join(resaved_folder, "demo.xlsx")
    if not os.path.exists(resaved):
        print("FAILED: LibreOffice did not re-save the workbook:", run.stdout, run.stderr)
        return 1
    with zipfile.ZipFile(resaved) as archive:
        if "xl/sharedStrings.xml" not in archive.namelist():
            failures.append("LibreOffice's re-save has no shared strings; the test no longer covers them")

    app_folder = os.path.join(work, "app")
    os.makedirs(app_folder)
    app = os.path.join(app_folder, os.path.basename(veld_engineer))
    shutil.copy2(veld_engineer, app)
    ours = subprocess.run([app, workbook], capture_output=True, text=True)
    theirs = subprocess.run([app, resaved], capture_output=True, text=True)
    if ours.returncode != 0 or theirs.returncode != 0:
        failures.append(f"VeldEngineer.exe exit codes {ours.returncode} and {theirs.returncode}: {theirs.stderr}")
    summary = lambda text: text.split(": ", 2)[-1].strip()
    if summary(ours.stdout) != summary(theirs.stdout) or not ours.stdout:
        failures.append(f"summaries differ: ours {ours.stdout!r}, LibreOffice's {theirs.stdout!r}")

    # LibreOffice is a writer of its own: what it saves of our workbook still passes the SAF checker
    # without an error (it may store things its own way, which at most warrants a warning).
    checked = subprocess.run([app, "--check", resaved], capture_output=True, text=True)
    if checked.returncode != 0:
        failures.append(f"the SAF checker finds errors in LibreOffice's re-save: {checked.stdout}")
    own = subprocess.run([app, "--check", workbook], capture_output=True, text=True)
    # Clean: no finding, only the closing line with its counts of what was read.
    if own.returncode != 0 or not re.fullmatch(re.escape(workbook) + r": checked \d+ sheets, [\d ]+ objects: "
                                               r"0 errors, 0 warnings\n", own.stdout):
        failures.append(f"the SAF checker finds something in our workbook: {own.stdout}")

    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print("LibreOffice reads the workbook as written; its re-save reads the same in VeldEngineer.exe")
    return 1 if failures else 0


sys.exit(main())
