#!/usr/bin/env python3
"""Writes the hostile workbooks of HostileWorkbookTests.cpp at benchmark size into FOLDER, for
VeldEngineer.exe --check under /usr/bin/time (Bench/README.md): each must be refused or reported
within the time and memory of an honest workbook of its size.

usage: hostile-workbooks.py FOLDER [ROWS]   (ROWS: 1000000 when not given)
"""
import sys
import zipfile
from pathlib import Path

MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
RELS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
MODEL = [("Name", "Hostile"), ("SAF Version", "2.2.0"), ("System of units", "Metric")]
NODE_HEADER = ["Name", "Coordinate X [m]", "Coordinate Y [m]", "Coordinate Z [m]"]


def cell(reference, value):
    if isinstance(value, (int, float)):
        return f'<c r="{reference}"><v>{value}</v></c>'
    return f'<c r="{reference}" t="inlineStr"><is><t>{value}</t></is></c>'


def row(number, values):
    cells = "".join(cell(f"{chr(ord('A') + column)}{number}", value) for column, value in enumerate(values))
    return f'<row r="{number}">{cells}</row>'


def write(path, node_rows):
    """A workbook of a Model sheet and a node sheet whose rows after the header are `node_rows`
    (strings of row XML), written piece by piece."""
    sheets = ["Model", "StructuralPointConnection"]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=1) as book:
        book.writestr("xl/workbook.xml", f'<workbook xmlns="{MAIN}" xmlns:r="{RELS}"><sheets>' + "".join(
            f'<sheet name="{name}" sheetId="{index + 1}" r:id="r{index + 1}"/>' for index, name in enumerate(sheets))
                      + "</sheets></workbook>")
        book.writestr("xl/_rels/workbook.xml.rels",
                      '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' + "".join(
                          f'<Relationship Id="r{index + 1}" Type="{RELS}/worksheet" Target="worksheets/s{index + 1}.xml"/>'
                          for index in range(len(sheets))) + "</Relationships>")
        model = "".join(row(number + 1, pair) for number, pair in enumerate(MODEL))
        book.writestr("xl/worksheets/s1.xml", f'<worksheet xmlns="{MAIN}"><sheetData>{model}</sheetData></worksheet>')
        with book.open("xl/worksheets/s2.xml", "w", force_zip64=True) as sheet:
            sheet.write(f'<worksheet xmlns="{MAIN}"><sheetData>{row(1, NODE_HEADER)}'.encode())
            piece = []
            for text in node_rows:
                piece.append(text)
                if len(piece) == 10000:
                    sheet.write("".join(piece).encode())
                    piece = []
            sheet.write(("".join(piece) + "</sheetData></worksheet>").encode())


def main():
    folder = Path(sys.argv[1])
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 1000000
    folder.mkdir(parents=True, exist_ok=True)
    # A fault in every row: a coordinate that is no number and a name every row uses.
    write(folder / "fault-in-every-row.xlsx", (row(number, ["N", "x", 0, 0]) for number in range(2, rows + 2)))
    # Every row after the first goes back to row 3: each is skipped and reported.
    write(folder / "rows-going-backwards.xlsx",
          (row(3 if number > 3 else number, [f"N{number}", 0, 0, 0]) for number in range(2, rows + 2)))
    # A node sheet of blanks that inflates far more than any workbook part may.
    with zipfile.ZipFile(folder / "inflates-too-much.xlsx", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as book:
        book.writestr("xl/workbook.xml", f'<workbook xmlns="{MAIN}" xmlns:r="{RELS}"><sheets>'
                      '<sheet name="StructuralPointConnection" sheetId="1" r:id="r1"/></sheets></workbook>')
        book.writestr("xl/_rels/workbook.xml.rels",
                      '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                      f'<Relationship Id="r1" Type="{RELS}/worksheet" Target="worksheets/s1.xml"/></Relationships>')
        with book.open("xl/worksheets/s1.xml", "w", force_zip64=True) as sheet:
            sheet.write(f'<worksheet xmlns="{MAIN}"><sheetData>'.encode())
            blanks = b" " * (1 << 20)
            for _ in range(rows // 1000):  # 1 GiB of blanks at a million rows
                sheet.write(blanks)
            sheet.write(b"</sheetData></worksheet>")


if __name__ == "__main__":
    main()
