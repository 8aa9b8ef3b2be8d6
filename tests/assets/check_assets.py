#!/usr/bin/python3
# -*- coding: utf-8 -*-
"""Checks the files of assets/ against what the program and its users expect.

    /usr/bin/python3 tests/assets/check_assets.py <assets-dir>

Holds its own table of expected facts (it does not use the generators in
tools/), so a replaced or regenerated template is measured against the
register list as the catalogue knows it.  Prints one line per failed check
and a closing line "N passed, M failed"; exits with 1 on any failure.
Needs python3-xlrd and python3-olefile.
"""

import os
import struct
import sys

import olefile
import xlrd

SPARE = ["Лист2", "Лист3"]
PLAIN = ["Лист1"] + SPARE

# Workbooks: resource number -> (label in the top row of the first sheet,
# all sheet names in order).  Names may end in a blank on purpose.
WORKBOOKS = {
    1: ("Форма 1.01.", ["100.00.001"]),
    2: ("Форма 1.02.1.", ["100.00.002"]),
    3: ("Форма 1.02.2.", ["100.00.002"] + SPARE),
    4: ("Форма 1.03.", ["100.00.003"]),
    5: ("Форма 1.04.", ["100.00.004"]),
    6: ("Форма 1.06.", ["100.00.006"]),
    7: ("Форма 1.07.", ["100.00.007"]),
    8: ("Форма 1.08.", ["100.00.008"]),
    9: ("Форма 1.09.", ["100.00.009"]),
    10: ("Форма 1.10.", ["100.00.010"]),
    11: ("Форма 1.11.", ["100.00.011"]),
    12: ("Форма 1.14.", ["100.00.014"]),
    13: ("Форма 1.14.1.", ["100.00.014"]),
    14: ("Форма 1.14.2", ["100.00.014"]),
    15: ("Форма 1.14.3 и 1.35.", ["100.00.014"]),
    16: ("Форма 1.14.4.", ["100.00.014"]),
    17: ("Форма 1.16.", ["100.00.016"]),
    18: ("Форма 1.17.", ["100.00.017"]),
    19: ("Форма 1.19.", ["100.00.019"]),
    20: ("Форма 1.20.", ["100.00.020"]),
    21: ("Форма 1.21.", ["100.00.021"]),
    22: ("Форма 1.22.", ["100.00.022"]),
    23: ("Форма 1.23. упр.", ["100.00.023"]),
    24: ("Форма 1.23.", ["100.00.023"]),
    25: ("Форма 1.24.", ["100.00.024"]),
    26: ("Форма 1.25.", ["100.00.025"]),
    27: ("Форма 1.31.", ["100.00.031"]),
    28: ("Форма 1.32.", ["100.00.032"]),
    29: ("Форма 1.34.", ["100.00.034"]),
    30: ("Форма 1.36.", ["100.00.036"] + SPARE),
    31: ("Форма 1.37.", ["100.00.037"]),
    32: ("Форма 1.38.", ["100.00.038"] + SPARE),
    33: ("Форма 1.39.", ["100.00.039"]),
    34: ("Форма 1.39.1", ["100.00.039"]),
    35: ("Форма 1.39.2.", ["100.00.039"]),
    36: ("Форма 1.41.", ["100.00.041"]),
    37: ("Форма 1.42.", ["100.00.042"]),
    38: ("Форма 1.43.", ["100.00.043"]),
    39: ("Форма 1.46.11.", ["100.00.046"]),
    40: ("Форма 1.50.", ["100.00.050"]),
    41: ("Форма 1.52.", ["100.00.052"]),
    42: ("Форма 1.52.\u0410 \u0406", ["100.00.052 "]),   # Cyrillic А, І
    43: ("Форма 1.10.01", ["100.10.001"]),
    44: ("Форма 1.10.02", ["100.10.002"]),
    45: ("Форма 1.10.03", ["100.10.003"]),
    46: ("Форма 1.10.04", ["100.10.004"]),
    47: ("Форма 1.10.05", ["100.10.005"]),
    48: ("Форма 1.10.06", ["100.10.006"]),
    49: ("Форма 1.10.07", ["100.10.007"]),
    50: ("Форма 1.10.08", ["100.10.008"]),
    51: ("Форма 1.10.09", ["100.10.009"]),
    52: ("Форма 1.10.10", ["100.10.010"]),
    53: ("Форма 1.10.14", ["100.10.014"]),
    54: ("Форма 1.10.14.1", ["100.10.014"]),
    55: ("Форма 1.10.14.11", ["100.10.014"]),
    56: ("Форма 1.10.14.12", ["100.10.014 "]),
    57: ("Форма 1.10.14 \u0425\u0406\u0425", ["100.10.001"]),
    58: ("Форма 1.14.\u0425\u0425", ["100.10.014 \u0425\u0425"]),
    59: ("Форма 1.10.15", ["100.10.015"]),
    60: ("Форма 1.10.16", ["100.10.016"]),
    61: ("Форма 1.10.17", ["100.10.017"]),
    62: ("Форма 1.10.18", ["100.10.018"]),
    63: ("Форма 2.1.", PLAIN),
    64: ("Форма 2.10.", PLAIN),
    65: ("Форма 2.11.", PLAIN),
    66: ("Форма 2.12.", PLAIN),
    67: ("Форма 2.2.", PLAIN),
    68: ("Форма 2.3.", PLAIN),
    69: ("Форма 2.4.", PLAIN),
    70: ("Форма 2.5.", PLAIN),
    71: ("Форма 2.6.", PLAIN),
    72: ("Форма 2.7.", PLAIN),
    73: ("Форма 2.8.", PLAIN),
    74: ("Форма 2.9.", PLAIN),
    80: ("Форма 4.2.", PLAIN),
    81: ("Форма 4.3.", PLAIN),
    82: ("Форма 3.1", ["Налог.рег.200.00", "Налог.рег.200.01",
                      "Налог.рег.200.03"]),
    83: ("Форма 3.2", ["Налог.рег.200.02 ", "Справочники"]),
    84: ("Форма 3.3", ["Налог.рег.200.04 "]),
    85: ("Форма 4.1.", PLAIN),
    86: ("Форма 4.4", ["Налог.рег.870.00"]),
}

# Documents: resource number -> phrases their text must contain.
DOCUMENTS = {
    75: ["ЗАЯВЛЕНИЕ", "индивидуального подоходного налога",
         "не применяются"],
    76: ["УЧЕТНАЯ ПОЛИТИКА", "с 1 января 2018 года"],
    77: ["ПЕРЕЧЕНЬ НАЛОГОВЫХ РЕГИСТРОВ"]
        # one entry per workbook that a catalogue button opens (not DOC34)
        + [label for n, (label, _) in sorted(WORKBOOKS.items()) if n != 34],
    78: ["ПРИКАЗ", "Об утверждении учетной политики для целей "
         "налогообложения"],
    79: ["УЧЕТНАЯ ПОЛИТИКА", "с 1 января 2022 года"],
}
# The two editions of the policy open with the same lines.
SAME_OPENING = (76, 79, "УЧЕТНАЯ ПОЛИТИКА")

ONE_PAGE = 78
COVER = ("cover.jpg", 438, 623, 200 * 1024)
ICON = "korventa.ico"
AMOUNT_FORMAT = "#,##0.00"
DATE_FORMAT = "DD.MM.YYYY"


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
        else:
            self.failed += 1
            print("FAIL", what)
        return ok


def expected_names():
    names = {"DOC%d.xls" % n for n in WORKBOOKS}
    names |= {"DOC%d.doc" % n for n in DOCUMENTS}
    return names


def check_compound_file(c, path, name):
    with open(path, "rb") as f:
        data = f.read()
    c.check(data[:8] == bytes.fromhex("D0CF11E0A1B11AE1"),
            "%s: compound-file signature" % name)
    if len(data) < 512:
        c.check(False, "%s: shorter than one sector" % name)
        return False
    major, byte_order, sector_shift, mini_shift = struct.unpack_from(
        "<HHHH", data, 26)
    c.check(major == 3, "%s: compound-file version %d, not 3" % (name, major))
    c.check(byte_order == 0xFFFE, "%s: byte order mark" % name)
    c.check(sector_shift == 9, "%s: sector size %d, not 512"
            % (name, 1 << sector_shift))
    c.check(mini_shift == 6, "%s: mini sector size" % name)
    c.check(len(data) % 512 == 0,
            "%s: length %d is not a multiple of 512" % (name, len(data)))
    return c.check(olefile.isOleFile(path), "%s: olefile cannot read it"
                   % name)


def biff_records(stream):
    pos = 0
    while pos + 4 <= len(stream):
        rid, size = struct.unpack_from("<HH", stream, pos)
        yield rid, stream[pos + 4:pos + 4 + size]
        pos += 4 + size


def check_workbook(c, path, name, label, sheets):
    ole = olefile.OleFileIO(path)
    has_stream = c.check(ole.exists("Workbook"),
                         "%s: no stream 'Workbook'" % name)
    stream = ole.openstream("Workbook").read() if has_stream else b""
    ole.close()
    if not has_stream:
        return
    bof = stream[:8]
    c.check(len(bof) == 8 and struct.unpack_from("<HHH", bof) ==
            (0x0809, 16, 0x0600), "%s: does not start as BIFF8" % name)
    c.check(any(rid == 0x0006 for rid, _ in biff_records(stream)),
            "%s: no formula (totals row)" % name)
    try:
        with open(os.devnull, "w") as quiet:    # xlrd's own warnings
            book = xlrd.open_workbook(path, formatting_info=True,
                                      logfile=quiet)
    except Exception as e:                     # noqa: BLE001
        c.check(False, "%s: xlrd cannot open it: %s" % (name, e))
        return
    c.check(book.sheet_names() == sheets, "%s: sheets %r, expected %r"
            % (name, book.sheet_names(), sheets))
    first = book.sheet_by_index(0)
    top = [v for v in first.row_values(0) if v != ""] if first.nrows else []
    c.check(top == [label], "%s: top row %r, expected %r" % (name, top, label))

    text = [str(first.cell_value(r, col)) for r in range(first.nrows)
            for col in range(first.ncols)]
    joined = "\n".join(text)
    c.check(first.nrows > 2 and
            str(first.cell_value(2, 0)).startswith(("Налоговый регистр",
                                                    "Сводный налоговый")),
            "%s: no register title in row 3" % name)
    for field in ("ИИН/БИН налогоплательщика",
                  "наименование налогоплательщика", "Налоговый период",
                  "Итого", "Ответственное лицо", "Главный бухгалтер",
                  "Дата:"):
        c.check(field in joined, "%s: no %r on the first sheet"
                % (name, field))
    c.check(bool(first.panes_are_frozen) and first.horz_split_pos > 0,
            "%s: table heading is not frozen" % name)
    titles = [n for n in book.name_obj_list
              if n.name == "Print_Titles" and n.scope == 0]
    c.check(len(titles) == 1, "%s: first sheet has no print titles" % name)

    formats = set()
    for r in range(first.nrows):
        for col in range(first.ncols):
            xf = book.xf_list[first.cell_xf_index(r, col)]
            formats.add(book.format_map[xf.format_key].format_str)
    c.check(AMOUNT_FORMAT in formats, "%s: no amount format %s"
            % (name, AMOUNT_FORMAT))
    c.check(DATE_FORMAT in formats, "%s: no date format %s"
            % (name, DATE_FORMAT))


def word_text(path):
    ole = olefile.OleFileIO(path)
    data = ole.openstream("WordDocument").read()
    ole.close()
    return data


def check_document(c, path, name, number, phrases):
    ole = olefile.OleFileIO(path)
    for stream in ("WordDocument", "1Table"):
        c.check(ole.exists(stream), "%s: no stream %r" % (name, stream))
    if ole.exists("WordDocument"):
        magic = ole.openstream("WordDocument").read(2)
        c.check(magic == b"\xec\xa5", "%s: not a Word 97-2003 document"
                % name)
    if number == ONE_PAGE:
        pages = ole.get_metadata().num_pages
        c.check(pages == 1, "%s: summary information gives %s pages, "
                "expected 1" % (name, pages))
    ole.close()
    data = word_text(path)
    for phrase in phrases:
        c.check(phrase.encode("utf-16-le") in data,
                "%s: text lacks %r" % (name, phrase))


def check_cover(c, path):
    name, width, height, limit = COVER
    with open(path, "rb") as f:
        data = f.read()
    c.check(len(data) < limit, "%s: %d bytes" % (name, len(data)))
    c.check(data[:2] == b"\xff\xd8", "%s: no JPEG start marker" % name)
    markers = {}
    pos = 2
    while pos + 4 <= len(data) and data[pos] == 0xFF:
        marker = data[pos + 1]
        if marker == 0xD9 or marker == 0xDA:
            markers.setdefault(marker, pos)
            break
        length = struct.unpack_from(">H", data, pos + 2)[0]
        markers.setdefault(marker, data[pos + 4:pos + 2 + length])
        pos += 2 + length
    app0 = markers.get(0xE0, b"")
    c.check(app0[:5] == b"JFIF\x00", "%s: no JFIF header" % name)
    c.check(0xC2 not in markers, "%s: progressive (SOF2)" % name)
    sof = markers.get(0xC0)
    if not c.check(sof is not None, "%s: no baseline frame (SOF0)" % name):
        return
    precision, h, w, ncomp = struct.unpack_from(">BHHB", sof)
    c.check(precision == 8, "%s: %d bits per sample" % (name, precision))
    c.check((w, h) == (width, height), "%s: %dx%d, expected %dx%d"
            % (name, w, h, width, height))
    c.check(ncomp == 3, "%s: %d components" % (name, ncomp))
    comps = [sof[6 + 3 * i:9 + 3 * i] for i in range(ncomp)]
    sampling = [comp[1] for comp in comps]
    c.check([comp[0] for comp in comps] == [1, 2, 3],
            "%s: component ids are not Y, Cb, Cr" % name)
    c.check(sampling == [0x22, 0x11, 0x11],
            "%s: sampling %r is not 4:2:0" % (name, sampling))
    c.check(0xDA in markers, "%s: no image data" % name)


def check_icon(c, path):
    with open(path, "rb") as f:
        data = f.read()
    if not c.check(len(data) >= 22, "%s: too short" % ICON):
        return
    reserved, kind, count = struct.unpack_from("<HHH", data)
    c.check((reserved, kind) == (0, 1), "%s: not an icon file" % ICON)
    c.check(count == 1, "%s: %d images, expected 1" % (ICON, count))
    w, h, colours, _, planes, bpp, size, offset = struct.unpack_from(
        "<BBBBHHII", data, 6)
    c.check((w, h) == (32, 32), "%s: entry %dx%d" % (ICON, w, h))
    c.check(colours == 16 and bpp == 4 and planes == 1,
            "%s: entry is not 16 colours, 4 bpp" % ICON)
    c.check(offset + size == len(data), "%s: image size/offset" % ICON)
    if not c.check(offset + 40 <= len(data), "%s: no bitmap header" % ICON):
        return
    hsize, bw, bh, bplanes, bbpp, compression = struct.unpack_from(
        "<IiiHHI", data, offset)
    c.check(hsize == 40 and (bw, bh) == (32, 64) and bbpp == 4
            and compression == 0,
            "%s: bitmap is not 32x32 4-bpp with an AND mask" % ICON)
    # header, 16-colour palette, 4-bit colour rows, 1-bit mask rows
    c.check(size == 40 + 16 * 4 + 32 * 16 + 32 * 4,
            "%s: image is %d bytes" % (ICON, size))


def main(assets):
    c = Checks()
    folder = os.path.join(assets, "templates")
    present = set(os.listdir(folder)) if os.path.isdir(folder) else set()
    wanted = expected_names()
    c.check(len(wanted) == 86, "the expected table holds %d templates"
            % len(wanted))
    for extra in sorted(present - wanted):
        c.check(False, "unexpected file templates/%s" % extra)
    for n in range(1, 87):
        kind = "doc" if n in DOCUMENTS else "xls"
        name = "DOC%d.%s" % (n, kind)
        path = os.path.join(folder, name)
        if not c.check(name in present, "missing templates/%s" % name):
            continue
        if not check_compound_file(c, path, name):
            continue
        if kind == "xls":
            check_workbook(c, path, name, *WORKBOOKS[n])
        else:
            check_document(c, path, name, n, DOCUMENTS[n])
    a, b, phrase = SAME_OPENING
    pa, pb = (os.path.join(folder, "DOC%d.doc" % n) for n in (a, b))
    if os.path.exists(pa) and os.path.exists(pb):
        key = phrase.encode("utf-16-le")
        ta, tb = word_text(pa), word_text(pb)
        ia, ib = ta.find(key), tb.find(key)
        c.check(ia >= 0 and ib >= 0 and
                ta[ia:ia + 400] == tb[ib:ib + 400],
                "DOC%d and DOC%d do not open with the same lines" % (a, b))

    for name, check in ((COVER[0], check_cover), (ICON, check_icon)):
        path = os.path.join(assets, name)
        if c.check(os.path.isfile(path), "missing %s" % name):
            check(c, path)
    print("%d passed, %d failed" % (c.passed, c.failed))
    return 1 if c.failed else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: check_assets.py <assets-dir>")
    sys.exit(main(sys.argv[1]))
