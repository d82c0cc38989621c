#!/usr/bin/env python3
# Writes the seed workbook of fuzz_lab_xlsx: a title line, a header with
# glued units, a row of units, two samples (a shared string, an inline
# string, numbers, one shown as a percentage) and a mean row.
#   python3 fuzz/make_xlsx_seed.py fuzz/corpus/fuzz_lab_xlsx/seed.xlsx
import sys, zipfile

NS = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
R = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
strings = ["Laboratório", "Amostra", "Argila%", "Pmg/dm³", "K", "MO", "Al", "Ca", "Mg", "T", "t", "V", "g/dm³", "A1", "Média"]

def cell(ref, value):
    if isinstance(value, str):
        return f'<c r="{ref}" t="s"><v>{strings.index(value)}</v></c>'
    if isinstance(value, tuple):  # a number shown as a percentage
        return f'<c r="{ref}" s="1"><v>{value[0]}</v></c>'
    return f'<c r="{ref}"><v>{value}</v></c>'

rows = [["Laboratório"], ["Amostra", "Argila%", "Pmg/dm³", "K", "MO", "Al", "Ca", "Mg", "T", "t", "V"],
        [None, None, None, None, "g/dm³"], ["A1", 35, 6, 40, 21, 0.4, 2.1, 0.8, 8.5, 3.3, (0.35,)],
        [None, 60, "<2", 80, 30, 0, 3.0000000000000004, 1, 12, 4, 50], ["Média", 47.5, 4, 60, 25.5, 0.2, 2.5, 0.9, 10, 3.6, 42]]
sheet = []
for r, row in enumerate(rows, 1):
    cells = []
    for c, value in enumerate(row):
        ref = chr(ord("A") + c) + str(r)
        if value == "<2":
            cells.append(f'<c r="{ref}" t="inlineStr"><is><t>&lt; 2</t></is></c>')
        elif value is not None:
            cells.append(cell(ref, value))
    sheet.append(f'<row r="{r}">{"".join(cells)}</row>')

with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("[Content_Types].xml", '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>')
    z.writestr("xl/workbook.xml", f'<?xml version="1.0"?><workbook {NS} {R}><sheets><sheet name="Laudos" sheetId="1" r:id="rId1"/></sheets></workbook>')
    z.writestr("xl/_rels/workbook.xml.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>')
    z.writestr("xl/sharedStrings.xml", f'<?xml version="1.0"?><sst {NS}>' + "".join(f"<si><t>{s}</t></si>" for s in strings) + "</sst>")
    z.writestr("xl/styles.xml", f'<?xml version="1.0"?><styleSheet {NS}><cellXfs count="2"><xf numFmtId="0"/><xf numFmtId="9"/></cellXfs></styleSheet>')
    z.writestr("xl/worksheets/sheet1.xml", f'<?xml version="1.0"?><worksheet {NS}><sheetData>{"".join(sheet)}</sheetData></worksheet>')
