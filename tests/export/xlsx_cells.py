#!/usr/bin/python3
"""Dumps an .xlsx file for the export tests, read by openpyxl (an independent
reader): one line "#sheet NAME" per worksheet, then one line per row with
tab-separated cells "n:VALUE" (number), "s:TEXT" (text) or "-" (empty), each
followed by "@RRGGBB" when the cell has a solid fill."""
import sys

import openpyxl


def cell_text(cell):
    value = cell.value
    if value is None:
        text = "-"
    elif isinstance(value, (int, float)) and not isinstance(value, bool):
        number = float(value)
        text = "n:%d" % number if number.is_integer() else "n:%r" % number
        if cell.number_format not in ("General", None):
            text += "#" + cell.number_format
    else:
        text = "s:" + str(value)
    if cell.fill is not None and cell.fill.fill_type == "solid":
        text += "@" + str(cell.fill.fgColor.rgb)[-6:]
    return text


def main():
    book = openpyxl.load_workbook(sys.argv[1])
    out = []
    for sheet in book.worksheets:
        out.append("#sheet " + sheet.title)
        frozen = sheet.freeze_panes
        if frozen:
            out.append("#frozen " + frozen)
        for row in sheet.iter_rows():
            out.append("\t".join(cell_text(c) for c in row))
    sys.stdout.buffer.write(("\n".join(out) + "\n").encode("utf-8"))


if __name__ == "__main__":
    main()
