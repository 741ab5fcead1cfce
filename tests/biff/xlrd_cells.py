"""Prints an .xls as xlrd reads it, as JSON: date mode, and per sheet its frozen panes and
every non-empty cell as [type, value, number format]."""
import json
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
kinds = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_DATE: "date",
         xlrd.XL_CELL_BOOLEAN: "bool", xlrd.XL_CELL_ERROR: "error"}
out = {"date1904": book.datemode, "sheets": []}
for sheet in book.sheets():
    cells = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype not in kinds:
                continue
            fmt = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
            cells[xlrd.cellname(r, c)] = [kinds[cell.ctype], cell.value, fmt]
    frozen = [sheet.horz_split_pos, sheet.vert_split_pos] if sheet.panes_are_frozen else [0, 0]
    out["sheets"].append({"name": sheet.name, "frozen": frozen, "cells": cells})
json.dump(out, sys.stdout, ensure_ascii=True)
