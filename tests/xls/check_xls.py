#!/usr/bin/env python3
"""Checks a written .xls with readers of its own: olefile for the container, xlrd for
the cells. Exits non-zero with a message on the first mismatch."""
import json
import sys

import olefile
import xlrd


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def main():
    if len(sys.argv) != 3:
        fail("usage: check_xls.py file.xls expected.json")
    path, expected_path = sys.argv[1], sys.argv[2]
    with open(expected_path, encoding="utf-8") as f:
        expected = json.load(f)

    if not olefile.isOleFile(path):
        fail("not a compound file")
    ole = olefile.OleFileIO(path)
    entries = ole.listdir(streams=True, storages=True)
    if entries != [["Workbook"]]:
        fail("expected exactly one stream 'Workbook', found %r" % entries)
    size = ole.get_size("Workbook")
    if size % 512 != 0:
        fail("Workbook stream size %d is not a multiple of 512" % size)
    ole.close()

    book = xlrd.open_workbook(path)
    if book.nsheets != 1:
        fail("expected 1 sheet, found %d" % book.nsheets)
    sheet = book.sheet_by_index(0)
    if sheet.name != expected["sheet"]:
        fail("sheet name %r, expected %r" % (sheet.name, expected["sheet"]))
    cells = expected["cells"]
    last_row = max(r for r, _, _ in cells)
    last_col = max(c for _, c, _ in cells)
    if sheet.nrows != last_row + 1 or sheet.ncols != last_col + 1:
        fail("sheet is %dx%d, expected %dx%d" % (sheet.nrows, sheet.ncols, last_row + 1, last_col + 1))
    for row, col, text in cells:
        cell = sheet.cell(row, col)
        if cell.ctype != xlrd.XL_CELL_TEXT:
            fail("cell (%d, %d) has type %d, expected text" % (row, col, cell.ctype))
        if cell.value != text:
            fail("cell (%d, %d) is %r, expected %r" % (row, col, cell.value[:80], text[:80]))
    print("OK: %d cells checked" % len(cells))


if __name__ == "__main__":
    main()
