#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/.

Run it again after changing it and commit what it writes. The seeds are small valid inputs
and each hostile shape the readers guard against, so that a fuzz run starts from them
instead of from nothing.
"""
import math
import shutil
import struct
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"


def int32(value):
    return struct.pack("<i", value)


def float64(value):
    return struct.pack("<d", value)


def text(value):
    units = value.encode("utf-16-le")
    return int32(len(units) // 2) + units


def row(caption, sub_items):
    return int32(len(sub_items)) + text(caption) + b"".join(text(s) for s in sub_items)


def rows(table):
    return int32(len(table)) + b"".join(row(caption, items) for caption, items in table)


def font(face, size, style, charset=0, color=0x80000008, pitch=0, ppi=96):
    name = face.encode("cp1252")
    return (bytes([charset]) + struct.pack("<I", color) + bytes([len(name)]) + name +
            bytes([pitch]) + int32(ppi) + int32(size) + bytes([style]))


REGISTRATION = 39541.756944444445  # 3 April 2008, 18:10


def logbook(trips=(), templates=(), master=("",) * 10, start_km=0.0,
            first_registration=REGISTRATION, registration=REGISTRATION,
            flags=(True, False), range_from=46000.0, range_to=46030.0,
            heading="Fahrtenbuch", heading_font=None, text_font=None):
    heading_font = heading_font or font("Arial Black", 14, 0)
    text_font = text_font or font("Arial Narrow", 8, 1)
    return (rows(trips) + rows(templates) + b"".join(text(t) for t in master) +
            float64(start_km) + float64(first_registration) + float64(registration) +
            bytes(flags) + float64(range_from) + float64(range_to) + bytes([1, 1, 1]) +
            text(heading) + bytes([1, 1]) + heading_font + text_font)


def trip(departure, start, arrival, goal, distance, purpose, kind, deleted=""):
    return (departure, [start, arrival, goal, distance, purpose, kind, deleted, "", ""])


TRIPS = [
    trip("07.12.2026 08:00:00", "Köln", "07.12.2026 09:30:00", "Bonn", "30,5",
         "Kunde\r\nAngebot", "Geschäftlich"),
    trip("08.12.2026", "Bonn", "08.12.2026 10:00:00", "Köln", "31", "zurück", "Privat", "Ja"),
    trip("08.12.2026 11:00:00", "Bonn", "08.12.2026 12:00:00", "Köln", "31,25", "zurück",
         "Privat"),
]
TEMPLATES = [("Büro", ["Köln", "Bonn", "30", "Büro", "Geschäftlich"])]
MASTER = ("Müller & Söhne", "Anna", "Weiß", "Hauptstraße 1", "50667", "Köln", "Deutschland",
          "0221 123456", "K-AB 123", "Stadt Köln")


def logbook_seeds():
    small = logbook(TRIPS, TEMPLATES, MASTER, start_km=12000.0)
    seeds = {
        "empty": b"",
        "new_document": logbook(),
        "small_logbook": small,
        "trailing_bytes": small + b"\x00\xff" * 8,
        "trip_with_eleven_sub_items": logbook([("x", ["y"] * 11)]),
        "trip_with_no_sub_items": logbook([("07.12.2026", [])]),
        "distance_just_under_exponent_form": logbook(
            [trip("07.12.2026", "A", "07.12.2026", "B", "999999999999999,5", "", "Privat")]),
        "distance_in_exponent_form": logbook(
            [trip("07.12.2026", "A", "07.12.2026", "B", "1,5E-5", "", "Privat"),
             trip("07.12.2026", "A", "07.12.2026", "B", "1E20", "", "Privat")]),
        "distance_not_a_number": logbook(
            [trip("07.12.2026", "A", "07.12.2026", "B", "12km", "", "Privat")]),
        "dates_that_are_no_dates": logbook(
            start_km=math.nan, first_registration=math.nan, registration=1e300,
            range_from=-math.inf, range_to=2958466.0),
        "start_km_out_of_range": logbook(start_km=1e12),
        "both_range_flags": logbook(flags=(True, True)),
        "flags_not_zero_or_one": logbook(flags=(7, 200)),
        "odd_fonts": logbook(heading_font=font("Ünïcödé €", -5, 0xFF, 2, 0x00FF00, 2, 0),
                             text_font=font("", 0, 0)),
        "longest_face_name": logbook(text_font=font("F" * 255, 8, 0)),
        # Counts and lengths that cannot be what they claim.
        "negative_trip_count": int32(-1) + logbook()[4:],
        "huge_trip_count": int32(0x7FFFFFFF) + small[4:],
        "huge_template_count": rows(TRIPS) + int32(0x7FFFFFFF) + rows(TEMPLATES)[4:],
        "negative_sub_item_count": int32(1) + int32(-5) + text("x") + logbook()[4:],
        "huge_sub_item_count": int32(1) + int32(0x7FFFFFFF) + text("x") + text("y"),
        "negative_text_length": int32(1) + int32(1) + int32(-2) + b"\x00" * 16,
        "huge_text_length": int32(1) + int32(1) + text("x") + int32(0x7FFFFFFF) + b"ab",
        "odd_text_length": int32(1) + int32(0) + int32(1) + b"a",
        "face_name_longer_than_file": logbook()[:-30] + b"\x00\x08\x00\x00\x80\xff" + b"ab",
    }
    # Units that are no valid UTF-16 (lone surrogates) as the file may hold them.
    lone = int32(1) + b"\x00\xd8"
    seeds["unpaired_surrogates"] = int32(1) + int32(1) + lone + lone + logbook()[4:]
    # Cut files: inside a trip text, inside the master data, inside the fonts.
    for cut in (3, 17, 60, len(rows(TRIPS)) + 10, len(small) - 200, len(small) - 40,
                len(small) - 1):
        seeds[f"cut_at_{cut}"] = small[:cut]
    # The two-thread decoding of large tables needs files of over 64 KiB, which would slow the
    # fuzzer down tenfold; the model tests damage such a file instead.
    return seeds


def number_seeds():
    texts = ["12", "12,5", "-3,75", " +4 ", ",5", "5,", "1,5E3", "2e-2", "1E-400", "1E400",
             "999999999999999,5", "1,79769313486232E308", "1,79769313486233E308",
             "4,94065645841247E-324", "0,0001", "1,5E-5", "-1E20", "abc", "1.5", "1,2,3", "1e",
             "1" + "0" * 400 + "e-1", "0," + "0" * 400 + "1e5", "12370,5", "0,3"]
    values = [999999999999999.5, -999999999999999.5, 1e15, 1e-5, 0.0001, 0.1 + 0.2, 12370.5,
              1.7976931348623157e308, 5e-324, 2.2250738585072014e-308, -0.0, math.nan,
              math.inf, 1e21, 99999.999999999999, 355400735411810.5]
    seeds = {f"text_{i:02d}": b"\x01" + t.encode() for i, t in enumerate(texts)}
    seeds.update({f"value_{i:02d}": b"\x00" + float64(v) for i, v in enumerate(values)})
    return seeds


def date_time_seeds():
    texts = ["07.12.2026 14:30:05", "07.12.2026", "7.1.26 8:05", "29.02.2024 23:59:59",
             "01.01.0001", "31.12.9999 23:59:59", "31.02.2026", "07.12.2026 24:00:00",
             "07.12.2026  12:00", "01.01.0000", "heute", "07.12.026"]
    values = [0.0, 1 - 1e-9, 1 - 1 / 86400, -0.5, -1.25, -1.9999999999, -693593.0,
              2958465.99999999, 2958466.0, math.nan, 1e300, -1e7, REGISTRATION]
    seeds = {f"text_{i:02d}": b"\x01" + t.encode() for i, t in enumerate(texts)}
    seeds.update({f"value_{i:02d}": b"\x00" + float64(v) for i, v in enumerate(values)})
    return seeds


def write(name, seeds):
    folder = CORPUS / name
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for seed, data in seeds.items():
        (folder / seed).write_bytes(data)


if __name__ == "__main__":
    write("logbook_reader", logbook_seeds())
    write("number_text", number_seeds())
    write("date_time_text", date_time_seeds())
