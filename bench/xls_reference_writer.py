#!/usr/bin/env python3
"""Writes the trips of a logbook's JSON dump (fahrtenbuch --dump-json) into an .xls sheet with
the pure-Python writer xlwt, the way the program's export lays them out: a header row, then
one row of text cells a live trip. The benchmark runs it beside the program's own export."""
import json
import sys

import xlwt

HEADER = ["Abfahrtszeit", "Abfahrtsort", "Ankunftszeit", "Ankunftsort", "Entfernung",
          "Fahrtzweck", "Art"]
DELETED = 6  # the deletion mark's sub-item; a trip with any text there is not exported


def main(dump, target):
    with open(dump, encoding="utf-8") as f:
        trips = json.load(f)["trips"]
    book = xlwt.Workbook(encoding="cp1252")
    sheet = book.add_sheet("Sheet1")
    for column, text in enumerate(HEADER):
        sheet.write(0, column, text)
    row = 1
    for trip in trips:
        texts = trip["subitems"]
        if len(texts) > DELETED and texts[DELETED]:
            continue
        cells = sheet.row(row)
        cells.write(0, trip["caption"])
        for column, text in enumerate(texts, start=1):
            cells.write(column, text)
        row += 1
    book.save(target)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
