"""Prints the cells and column widths of an .xlsx file as JSON, read with openpyxl.

Usage: read_xlsx.py FILE

openpyxl hands back `_xHHHH_` escapes as they stand in the file; a spreadsheet program decodes
them, so this reader does too, to show what the user would see.
"""
import json
import re
import sys

import openpyxl

ESCAPE = re.compile(r"_x([0-9A-Fa-f]{4})_")


def decode(text):
    return ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), text)


def main():
    workbook = openpyxl.load_workbook(sys.argv[1])
    sheets = []
    for sheet in workbook.worksheets:
        cells = []
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                value = decode(cell.value) if isinstance(cell.value, str) else cell.value
                cells.append({"row": cell.row, "column": cell.column, "value": str(value),
                              "type": cell.data_type})
        widths = {}
        for letter, dimension in sheet.column_dimensions.items():
            if dimension.customWidth:
                widths[str(openpyxl.utils.column_index_from_string(letter))] = dimension.width
        sheets.append({"title": sheet.title, "cells": cells, "widths": widths})
    json.dump({"sheets": sheets}, sys.stdout)


if __name__ == "__main__":
    main()
