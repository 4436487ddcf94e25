"""Opens workbooks written by WriteSafWorkbook with python's zipfile and with openpyxl, neither of which
shares any code with our writer, and checks sheets, headers, values and counts against the model file.

usage: openpyxl_witness.py WRITER MODEL.json WORKFOLDER
"""
import datetime
import json
import math
import os
import re
import shutil
import subprocess
import sys
import zipfile

try:
    import openpyxl
except ImportError:
    print("SKIPPED: python3-openpyxl is not installed (scripts/install-deps.sh installs it)")
    sys.exit(77)

# Column headers as the SAF 2.2.0 format lists them, metric.
HEADERS = {
    "StructuralMaterial": ["Name", "Type", "Subtype", "Quality", "Unit mass [kg/m3]", "E modulus [MPa]",
                           "G modulus [MPa]", "Poisson coefficient", "Thermal expansion [1/K]",
                           "Design properties", "Id"],
    "StructuralCrossSection": ["Name", "Material", "Cross-section Type", "Shape", "Parameters [mm]", "Profile",
                               "Form code", "Description ID of the profile", "A [m2]", "Iy [m4]", "Iz [m4]",
                               "It [m4]", "Iw [m6]", "Wply [m3]", "Wplz [m3]", "Id"],
    "StructuralPointConnection": ["Name", "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]", "Id"],
    "StructuralCurveMember": ["Name", "Type", "Cross section", "Arbitrary definition", "Nodes", "Segments",
                              "Internal nodes", "Length [m]", "Geometrical shape", "LCS", "LCS Rotation [deg]",
                              "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]", "System line",
                              "Structural Y Eccentricity of Beg Node [mm]",
                              "Structural Y Eccentricity of End Node [mm]",
                              "Structural Z Eccentricity of Beg Node [mm]",
                              "Structural Z Eccentricity of End Node [mm]",
                              "Analysis Y Eccentricity of Beg Node [mm]", "Analysis Y Eccentricity of End Node [mm]",
                              "Analysis Z Eccentricity of Beg Node [mm]", "Analysis Z Eccentricity of End Node [mm]",
                              "Layer", "Behaviour in analysis", "Color", "Parent ID", "Id"],
    "StructuralSurfaceMember": ["Name", "Type", "Material", "Thickness type", "Thickness [mm]", "System plane at",
                                "Nodes", "Internal nodes", "Edges", "Area [m2]", "Layer", "LCS Type",
                                "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]", "LCS Rotation [deg]",
                                "Structural Z Eccentricity [mm]", "Analysis Z Eccentricity [mm]", "Shape",
                                "Behavior in analysis", "Color", "Parent ID", "Id"],
    "StructuralStorey": ["Name", "Height level [m]", "Id"],
    "StructuralPointSupport": ["Name", "Type", "Boundary condition", "Node", "Member", "Coordinate system", "Origin",
                               "Coordinate definition", "Position x [m]", "ux", "uy", "uz", "fix", "fiy", "fiz",
                               "Stiffness X [MN/m]", "Stiffness Y [MN/m]", "Stiffness Z [MN/m]",
                               "Stiffness Fix [MNm/rad]", "Stiffness Fiy [MNm/rad]", "Stiffness Fiz [MNm/rad]", "Id"],
}
MODEL_ROWS = ["Name", "Description", "Discipline", "Level of detail", "Status", "Owner", "Revision number",
              "Created", "Last update", "Source type", "Source application", "SAF Version", "Source company",
              "Global coordinate system", "LCS of cross-section", "System of units", "National code",
              "Ignored objects", "Ignored groups", "Id"]
LIST_OF_SHEET = {"StructuralMaterial": "materials", "StructuralCrossSection": "crossSections",
                 "StructuralPointConnection": "nodes", "StructuralCurveMember": "curveMembers",
                 "StructuralSurfaceMember": "surfaceMembers", "StructuralStorey": "storeys",
                 "StructuralPointSupport": "supports"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def write(writer, model_file, target, *options):
    run = subprocess.run([writer, model_file, target, *options], capture_output=True, text=True)
    if run.returncode != 0:
        print(f"FAILED: the writer refused: {run.stderr}")
        sys.exit(1)
    return run.stdout


def check_container(path):
    with zipfile.ZipFile(path) as archive:
        check(archive.testzip() is None, "zipfile found a damaged member (CRC or size)")
        names = archive.namelist()
        for required in ["[Content_Types].xml", "_rels/.rels", "xl/workbook.xml", "xl/_rels/workbook.xml.rels"]:
            check(required in names, f"the package has no {required}")
        check(all(info.compress_type == zipfile.ZIP_DEFLATED for info in archive.infolist()),
              "not every part is deflated")


def named_rows(sheet):
    rows = list(sheet.iter_rows(values_only=True))
    return rows[0], [row for row in rows[1:] if row and row[0] not in (None, "")]


def check_metric(path, model, writer_output):
    book = openpyxl.load_workbook(path)
    check(book.sheetnames == ["Model", "Project"] + list(HEADERS), f"sheets are {book.sheetnames}")

    properties = {row[0]: row[1] for row in book["Model"].iter_rows(values_only=True)}
    check(list(properties) == MODEL_ROWS, f"Model rows are {list(properties)}")
    for key, value in {"SAF Version": "2.2.0", "System of units": "Metric", "Global coordinate system": "Z vertical",
                       "LCS of cross-section": "ZYX", "Name": model["name"],
                       "Discipline": "Load-bearing structure"}.items():
        check(properties.get(key) == value, f"Model {key} is {properties.get(key)!r}, not {value!r}")
    # Dates as date cells, shown as dates; the version as text, shown as text.
    for key in ["Created", "Last update"]:
        check(isinstance(properties.get(key), datetime.datetime), f"Model {key} is {properties.get(key)!r}")
    model_cells = {row[0].value: row[1] for row in book["Model"].iter_rows()}
    check(model_cells["Created"].number_format == "yyyy\\-mm\\-dd", f"Created shows as {model_cells['Created'].number_format}")
    check(model_cells["SAF Version"].number_format == "@", "SAF Version is not formatted as text")
    check(re.fullmatch(r"[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}", properties.get("Id") or ""),
          f"Model Id is {properties.get('Id')!r}")
    project = {row[0]: row[1] for row in book["Project"].iter_rows(values_only=True)}
    check(project.get("Name") == model["name"], f"Project Name is {project.get('Name')!r}")
    check(isinstance(project.get("Created"), datetime.datetime), f"Project Created is {project.get('Created')!r}")
    node_sheet = book["StructuralPointConnection"]
    check(node_sheet["B2"].number_format == "0.000", f"coordinates show as {node_sheet['B2'].number_format}")
    check(node_sheet.column_dimensions["B"].width >= len("Coordinate X [m]"), "the coordinate column is too narrow")
    check(node_sheet.freeze_panes == "A2", "the header row does not stay in view")

    for sheet_name, expected in HEADERS.items():
        header, rows = named_rows(book[sheet_name])
        check(list(header) == expected, f"{sheet_name} headers are {header}")
        objects = model.get(LIST_OF_SHEET[sheet_name], [])
        check(len(rows) == len(objects), f"{sheet_name} has {len(rows)} objects, the model {len(objects)}")
        check([row[0] for row in rows] == [item["name"] for item in objects], f"{sheet_name} names differ")
        check(f"{sheet_name} {len(objects)}" in writer_output, f"the writer's report lacks '{sheet_name} {len(objects)}'")

    _, materials = named_rows(book["StructuralMaterial"])
    steel = materials[0]
    check(steel[:9] == ("S235", "Steel", None, "S235", 7850, 210000, 80769, 0.3, 1.2e-05),
          f"the S235 row is {steel}")

    _, nodes = named_rows(book["StructuralPointConnection"])
    for row, node in zip(nodes, model["nodes"]):
        check(all(isinstance(value, (int, float)) for value in row[1:4]), f"node {row[0]} coordinates are not numbers")
        check(tuple(row[1:4]) == (node["x"], node["y"], node["z"]), f"node {row[0]} lies at {row[1:4]}")

    _, members = named_rows(book["StructuralCurveMember"])
    for row, member in zip(members, model["curveMembers"]):
        check(row[4] == ";".join(member["nodes"]), f"member {row[0]} nodes are {row[4]}")
        check(row[2] == member["crossSection"], f"member {row[0]} cross-section is {row[2]}")

    _, supports = named_rows(book["StructuralPointSupport"])
    check(all(row[9:15] == ("Rigid",) * 6 for row in supports), "a fixed support is not rigid in all six")

    _, surfaces = named_rows(book["StructuralSurfaceMember"])
    check(all(row[11:16] == ("X by vector", 1, 0, 0, 0) for row in surfaces), "a surface's LCS cells are not filled")


def check_imperial(path, model):
    book = openpyxl.load_workbook(path)
    properties = {row[0]: row[1] for row in book["Model"].iter_rows(values_only=True)}
    check(properties.get("System of units") == "Imperial", "the imperial workbook does not say so")
    header, nodes = named_rows(book["StructuralPointConnection"])
    check(header[1] == "Coordinate X [ft]", f"imperial coordinate header is {header[1]}")
    for row, node in zip(nodes, model["nodes"]):
        check(math.isclose(row[1], node["x"] / 0.3048, abs_tol=1e-9), f"node {row[0]} x is {row[1]} ft")
    header, materials = named_rows(book["StructuralMaterial"])
    check(header[8] == "Thermal expansion [1/\u00b0F]", f"imperial thermal expansion header is {header[8]}")
    check(math.isclose(materials[0][8], model["materials"][0]["thermalExpansion"] / 1.8, rel_tol=1e-12),
          f"imperial thermal expansion is {materials[0][8]}")
    header, _ = named_rows(book["StructuralPointSupport"])
    check(header[15] == "Stiffness X [kip/ft]" and header[18] == "Stiffness Fix [kipft/deg]",
          f"imperial stiffness headers are {header[15]}, {header[18]}")


def main():
    writer, model_file, work = sys.argv[1:4]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    with open(model_file, encoding="utf-8") as source:
        model = json.load(source)

    metric = os.path.join(work, "metric.xlsx")
    output = write(writer, model_file, metric)
    check_container(metric)
    check_metric(metric, model, output)

    imperial = os.path.join(work, "imperial.xlsx")
    write(writer, model_file, imperial, "--imperial")
    check_container(imperial)
    check_imperial(imperial, model)

    # openpyxl keeps every cell and format through a load and a save of its own (it writes numbers
    # with 15 significant digits, so those come back equal to that precision).
    def same(left, right):
        if isinstance(left, float) and isinstance(right, float):
            return math.isclose(left, right, rel_tol=1e-14)
        return left == right

    for path in [metric, imperial]:
        book = openpyxl.load_workbook(path)
        resaved = path.replace(".xlsx", "-resaved.xlsx")
        book.save(resaved)
        again = openpyxl.load_workbook(resaved)
        for sheet in book.sheetnames:
            for before, after in zip(book[sheet].iter_rows(), again[sheet].iter_rows()):
                for old, new in zip(before, after):
                    check(same(old.value, new.value) and old.number_format == new.number_format,
                          f"{os.path.basename(path)} {sheet}!{old.coordinate} changes in openpyxl's re-save")

    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print("openpyxl and zipfile read both workbooks as written")
    return 1 if failures else 0


sys.exit(main())
