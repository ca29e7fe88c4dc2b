"""Prints what openpyxl sees in a workbook, one line per sheet: its name,
merged ranges, and each cell's value (formulas as written), font and fill."""
import json
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    cells = []
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None and not cell.font.b:
                continue
            colour = cell.font.color.rgb if cell.font.color is not None else None
            cells.append([cell.coordinate, repr(cell.value), bool(cell.font.b), str(colour),
                          str(cell.fill.fgColor.rgb)])
    print(json.dumps([sheet.title, sorted(str(r) for r in sheet.merged_cells.ranges), cells], ensure_ascii=False))
