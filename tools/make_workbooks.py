# -*- coding: utf-8 -*-
"""Writes the register workbooks (Excel 97-2003, BIFF8) from the register list.

Every register sheet has the same layout:

    row 0        form label, right-aligned ("Форма 1.01.")
    row 2        the register's title
    rows 4-6     general details: ИИН/БИН, taxpayer's name, tax period
    row 9        column headings        } repeated on every printed page
    row 10       column numbers 1..n    } and frozen on screen
    rows 11-30   empty ruled rows for entries
    row 31       totals: SUM formulas over the amount columns
    rows 33-35   signature block: signatures and the date of signing

xlwt has no call for print titles, so this module writes the built-in name
Print_Titles itself (a NAME record with an area reference to the heading
rows, plus the SUPBOOK and EXTERNSHEET records the reference needs).
"""

import struct

import xlwt
from xlwt import Formula

from registers import COLUMN_SETS, REGISTERS, SHEET_COLUMNS, sheet_title, title_of

LABEL_ROW = 0
TITLE_ROW = 2
DETAILS_ROW = 4
HEAD_ROW = 9
NUMBERS_ROW = 10
FIRST_ENTRY = 11
ENTRY_ROWS = 20
TOTAL_ROW = FIRST_ENTRY + ENTRY_ROWS
SIGN_ROW = TOTAL_ROW + 2

DETAILS = (
    "ИИН/БИН налогоплательщика:",
    "Фамилия, имя, отчество или наименование налогоплательщика:",
    "Налоговый период:",
)
SIGNATURES = (
    "Ответственное лицо:",
    "Главный бухгалтер:",
)

AMOUNT_FORMAT = "#,##0.00"       # shown as "# ##0,00" under Russian settings
QTY_FORMAT = "#,##0.###"
DATE_FORMAT = "DD.MM.YYYY"       # ДД.ММ.ГГГГ in Russian Excel


class _Styles:
    """All cell styles of a workbook, made once (xlwt shares XF records)."""

    def __init__(self):
        font = "font: name Arial, height 200"
        thin = "borders: left thin, right thin, top thin, bottom thin"
        self.label = xlwt.easyxf(font + ", italic on; align: horiz right")
        self.title = xlwt.easyxf(
            "font: name Arial, height 240, bold on; "
            "align: horiz center, vert center, wrap on")
        self.detail = xlwt.easyxf(font + "; align: vert bottom, wrap on")
        self.blank = xlwt.easyxf(font + "; borders: bottom thin")
        self.unit = xlwt.easyxf(font + ", italic on; align: horiz right")
        self.head = xlwt.easyxf(
            font + ", bold on; " + thin + "; "
            "align: horiz center, vert center, wrap on; "
            "pattern: pattern solid, fore_colour gray25")
        self.numbers = xlwt.easyxf(
            "font: name Arial, height 160, italic on; " + thin + "; "
            "align: horiz center; pattern: pattern solid, fore_colour gray25")
        self.cell = {
            "no": xlwt.easyxf(font + "; " + thin + "; align: horiz center",
                              num_format_str="0"),
            "text": xlwt.easyxf(font + "; " + thin + "; align: wrap on"),
            "date": xlwt.easyxf(font + "; " + thin + "; align: horiz center",
                                num_format_str=DATE_FORMAT),
            "amount": xlwt.easyxf(font + "; " + thin,
                                  num_format_str=AMOUNT_FORMAT),
            "qty": xlwt.easyxf(font + "; " + thin,
                               num_format_str=QTY_FORMAT),
        }
        self.total_text = xlwt.easyxf(font + ", bold on; " + thin)
        self.total_amount = xlwt.easyxf(
            font + ", bold on; " + thin, num_format_str=AMOUNT_FORMAT)
        self.sign = xlwt.easyxf(font)
        self.sign_date = xlwt.easyxf(
            font + "; borders: bottom thin; align: horiz left",
            num_format_str=DATE_FORMAT)


class RegisterWorkbook(xlwt.Workbook):
    """An xlwt workbook that also writes print titles (rows repeated at the
    top of every printed page) for the sheets given to set_print_titles."""

    def __init__(self):
        xlwt.Workbook.__init__(self, encoding="utf-8")
        self._print_titles = []   # (sheet index, first row, last row)

    def set_print_titles(self, sheet_index, first_row, last_row):
        self._print_titles.append((sheet_index, first_row, last_row))

    # Replaces xlwt's private link-table writer (called from get_biff_data).
    def _Workbook__all_links_rec(self):
        if not self._print_titles:
            return xlwt.Workbook._Workbook__all_links_rec(self)
        if self._supbook_xref:
            raise ValueError("print titles together with cross-sheet "
                             "formulas are not supported")
        nsheets = len(self._Workbook__worksheets)
        # SUPBOOK for references into this workbook.
        supbook = struct.pack("<HHHH", 0x01AE, 4, nsheets, 0x0401)
        # EXTERNSHEET: one REF per sheet that has print titles.
        refs = [(0, idx, idx) for idx, _, _ in self._print_titles]
        extern = struct.pack("<HHH", 0x0017, 2 + 6 * len(refs), len(refs))
        extern += b"".join(struct.pack("<HHH", *ref) for ref in refs)
        names = b""
        for ixti, (idx, first, last) in enumerate(self._print_titles):
            # tArea3d (reference class): ixti, rows first..last, all columns.
            rpn = struct.pack("<BHHHHH", 0x3B, ixti, first, last, 0, 0xFF)
            body = struct.pack("<HBBHHHBBBB", 0x0020, 0, 1, len(rpn), 0,
                               idx + 1, 0, 0, 0, 0)
            body += b"\x00\x07" + rpn   # compressed string: built-in name 7
            names += struct.pack("<HH", 0x0018, len(body)) + body
        return supbook + extern + names


def _write_table(ws, styles, columns, title, label, details=True):
    ncols = len(columns)
    last = ncols - 1
    for col, (_, width, _, _) in enumerate(columns):
        ws.col(col).width = 256 * width

    ws.write_merge(LABEL_ROW, LABEL_ROW, max(0, last - 2), last, label,
                   styles.label)
    ws.write_merge(TITLE_ROW, TITLE_ROW, 0, last, title, styles.title)
    ws.row(TITLE_ROW).height_mismatch = True
    ws.row(TITLE_ROW).height = 20 * 36

    if details:
        for i, text in enumerate(DETAILS):
            row = DETAILS_ROW + i
            ws.write_merge(row, row, 0, 2, text, styles.detail)
            ws.write_merge(row, row, 3, min(last, 6), "", styles.blank)
            if len(text) > 40:
                ws.row(row).height_mismatch = True
                ws.row(row).height = 20 * 26
    ws.write_merge(DETAILS_ROW + 3, DETAILS_ROW + 3, max(0, last - 2), last,
                   "Единица измерения: тенге", styles.unit)

    for col, (heading, _, _, _) in enumerate(columns):
        ws.write(HEAD_ROW, col, heading, styles.head)
        ws.write(NUMBERS_ROW, col, col + 1, styles.numbers)
    ws.row(HEAD_ROW).height_mismatch = True
    ws.row(HEAD_ROW).height = 20 * 48

    for row in range(FIRST_ENTRY, FIRST_ENTRY + ENTRY_ROWS):
        for col, (_, _, kind, _) in enumerate(columns):
            ws.write(row, col, None, styles.cell[kind])

    amount_cols = [c for c, column in enumerate(columns)
                   if column[2] == "amount"]
    ws.write_merge(TOTAL_ROW, TOTAL_ROW, 0, 1, "Итого", styles.total_text)
    for col in range(2, ncols):
        if col in amount_cols:
            letter = xlwt.Utils.rowcol_to_cell(0, col)[:-1].lstrip("$")
            formula = "SUM(%s%d:%s%d)" % (letter, FIRST_ENTRY + 1, letter,
                                          FIRST_ENTRY + ENTRY_ROWS)
            ws.write(TOTAL_ROW, col, Formula(formula), styles.total_amount)
        else:
            ws.write(TOTAL_ROW, col, None, styles.total_text)

    span = min(last, 5)
    for i, text in enumerate(SIGNATURES):
        row = SIGN_ROW + i
        ws.write_merge(row, row, 0, span, "%s  ____________________ / "
                       "______________________________ /" % text, styles.sign)
    # The date of signing is a date cell (ДД.ММ.ГГГГ) to type into.
    ws.write(SIGN_ROW + 2, 0, "Дата:", styles.sign)
    ws.write_merge(SIGN_ROW + 2, SIGN_ROW + 2, 1, 2, None, styles.sign_date)

    # On screen: headings stay in view while scrolling.
    ws.panes_frozen = True
    ws.remove_splits = True
    ws.horz_split_pos = FIRST_ENTRY
    ws.horz_split_first_visible = FIRST_ENTRY

    # Printing: A4, one page wide, landscape for wide tables.
    ws.paper_size_code = 9
    wide = sum(width for _, width, _, _ in columns) > 140
    ws.portrait = not wide
    ws.fit_num_pages = 1
    ws.fit_width_to_pages = 1
    ws.fit_height_to_pages = 0
    ws.print_centered_horz = True
    ws.left_margin = ws.right_margin = 0.5
    ws.top_margin = ws.bottom_margin = 0.75
    ws.header_margin = ws.footer_margin = 0.3
    # (xlwt's header_str/footer_str setters fail for str under Python 3.)
    ws._Worksheet__header_str = "&R%s" % label.replace("&", "&&")
    ws._Worksheet__footer_str = "&CСтраница &P из &N"


def build_workbook(reg):
    styles = _Styles()
    wb = RegisterWorkbook()
    columns = COLUMN_SETS[reg["columns"]]
    for index, name in enumerate(reg["sheets"]):
        ws = wb.add_sheet(name)
        if name in reg["blank"]:
            continue
        if name in SHEET_COLUMNS:
            _write_table(ws, styles, COLUMN_SETS[SHEET_COLUMNS[name]],
                         "Справочник работников к налоговому регистру %s"
                         % reg["number"], reg["label"], details=True)
        else:
            _write_table(ws, styles, columns, sheet_title(reg, index),
                         reg["label"])
        wb.set_print_titles(index, HEAD_ROW, NUMBERS_ROW)
    wb.active_sheet = 0
    return wb


def write_all(out_dir):
    import os
    written = []
    for reg in REGISTERS:
        path = os.path.join(out_dir, "DOC%d.xls" % reg["doc"])
        build_workbook(reg).save(path)
        written.append(path)
    return written


if __name__ == "__main__":
    import sys
    for p in write_all(sys.argv[1] if len(sys.argv) > 1 else "."):
        print(p)
