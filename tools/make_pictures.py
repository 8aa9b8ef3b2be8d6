# -*- coding: utf-8 -*-
"""Draws the cover picture (assets/cover.jpg) and the program icon
(assets/korventa.ico).

cover.jpg    438 x 623, baseline JPEG with a JFIF header, YCbCr 4:2:0
korventa.ico one 32 x 32 image with 16 colours (4 bits per pixel, with an
             AND mask); the icon file is assembled here byte by byte
"""

import struct

from PIL import Image, ImageDraw, ImageFont

COVER_SIZE = (438, 623)
SCALE = 2                       # drawn at twice the size, then reduced
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

NAVY = (17, 45, 78)
DEEP = (12, 31, 56)
TEAL = (34, 110, 128)
GOLD = (222, 184, 104)
PAPER = (248, 246, 240)
LINE = (176, 190, 204)


def _font(name, size):
    return ImageFont.truetype(FONT_DIR + name, size * SCALE)


def _centered(draw, y, text, font, fill):
    width = draw.textlength(text, font=font)
    draw.text(((COVER_SIZE[0] * SCALE - width) / 2, y * SCALE), text,
              font=font, fill=fill)


def cover():
    w, h = COVER_SIZE[0] * SCALE, COVER_SIZE[1] * SCALE
    img = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(img)
    for y in range(h):                      # vertical gradient
        t = y / (h - 1)
        draw.line([(0, y), (w, y)], fill=tuple(
            round(a + (b - a) * t) for a, b in zip(NAVY, DEEP)))

    s = SCALE
    # A register sheet: paper with a ruled table, seen slightly from above.
    left, top, right, bottom = 64 * s, 218 * s, 374 * s, 470 * s
    draw.rounded_rectangle([left + 6 * s, top + 8 * s, right + 6 * s,
                            bottom + 8 * s], 8 * s, fill=(8, 22, 40))
    draw.rounded_rectangle([left, top, right, bottom], 8 * s, fill=PAPER)
    draw.rectangle([left + 18 * s, top + 20 * s, left + 150 * s,
                    top + 28 * s], fill=TEAL)
    draw.rectangle([left + 18 * s, top + 36 * s, left + 110 * s,
                    top + 41 * s], fill=LINE)
    table_top = top + 58 * s
    draw.rectangle([left + 18 * s, table_top, right - 18 * s,
                    table_top + 20 * s], fill=(214, 226, 232))
    columns = [left + 18 * s, left + 48 * s, left + 120 * s,
               left + 200 * s, right - 18 * s]
    rows = [table_top + i * 20 * s for i in range(9)]
    for x in columns:
        draw.line([(x, rows[0]), (x, rows[-1])], fill=LINE, width=s)
    for y in rows:
        draw.line([(columns[0], y), (columns[-1], y)], fill=LINE, width=s)
    # The totals row and a tick, in the accent colours.
    draw.rectangle([columns[3] + 2 * s, rows[-2] + 2 * s, columns[4] - 2 * s,
                    rows[-1] - 2 * s], fill=GOLD)
    cx, cy = right - 44 * s, bottom - 2 * s
    draw.ellipse([cx - 26 * s, cy - 26 * s, cx + 26 * s, cy + 26 * s],
                 fill=TEAL, outline=PAPER, width=3 * s)
    draw.line([(cx - 12 * s, cy), (cx - 3 * s, cy + 10 * s),
               (cx + 13 * s, cy - 10 * s)], fill=PAPER, width=5 * s,
              joint="curve")

    _centered(draw, 64, "Корвента", _font("DejaVuSerif-Bold.ttf", 50), PAPER)
    draw.line([(139 * s, 136 * s), (299 * s, 136 * s)], fill=GOLD,
              width=2 * s)
    _centered(draw, 150, "Налоговые регистры", _font("DejaVuSans.ttf", 22),
              GOLD)
    _centered(draw, 525, "Шаблоны для налогового учета",
              _font("DejaVuSans.ttf", 15), PAPER)
    _centered(draw, 550, "Республика Казахстан",
              _font("DejaVuSans.ttf", 15), (170, 190, 210))
    return img.resize(COVER_SIZE, Image.LANCZOS)


def write_cover(path):
    # subsampling=2 is 4:2:0; no "progressive" and no "optimize": a plain
    # baseline (SOF0) file with the standard Huffman tables.
    cover().save(path, "JPEG", quality=88, subsampling=2, progressive=False,
                 optimize=False, dpi=(96, 96))


# The 16 colours of the standard VGA palette, in its usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY16, TEAL16, SILVER, GREY, YELLOW, WHITE = 0, 4, 6, 7, 8, 11, 15


def icon_pixels():
    """32 x 32 palette indices and a transparency mask (True = transparent):
    a ruled register sheet with a folded corner and a yellow totals row."""
    size = 32
    px = [[0] * size for _ in range(size)]
    clear = [[True] * size for _ in range(size)]

    def put(x, y, colour):
        px[y][x] = colour
        clear[y][x] = False

    left, top, right, bottom, fold = 4, 1, 27, 30, 7
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            if x - (right - fold) > y - top:      # cut-off corner
                continue
            edge = x in (left, right) or y in (top, bottom) or \
                x - (right - fold) == y - top
            put(x, y, BLACK if edge else WHITE)
    for i in range(1, fold):                      # the folded flap
        for x in range(right - fold, right - fold + i):
            put(x + 1, top + i, SILVER)
        put(right - fold, top + i, BLACK)
    for x in range(right - fold, right + 1):
        put(x, top + fold, BLACK)
    # Title bar and table.
    for y in (4, 5):
        for x in range(left + 3, right - fold - 2):
            put(x, y, TEAL16)
    table_top, row_h = 11, 3
    for r in range(6):
        y = table_top + r * row_h
        for x in range(left + 2, right - 1):
            put(x, y, NAVY16)
    for x in (left + 2, left + 7, right - 9, right - 2):
        for y in range(table_top, table_top + 5 * row_h + 1):
            put(x, y, NAVY16)
    for y in range(table_top + 1, table_top + row_h):     # header band
        for x in range(left + 3, right - 2):
            if px[y][x] == WHITE:
                put(x, y, TEAL16)
    y0 = table_top + 4 * row_h                             # totals row
    for y in range(y0 + 1, y0 + row_h):
        for x in range(right - 8, right - 2):
            put(x, y, YELLOW)
    return px, clear


def icon_bytes():
    px, clear = icon_pixels()
    size = 32
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         size * size // 2 + size * size // 8, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0)
                       for r, g, b in PALETTE)
    xor = b""
    andmask = b""
    for y in reversed(range(size)):               # bottom-up rows
        row = px[y]
        xor += bytes((row[x] << 4) | row[x + 1] for x in range(0, size, 2))
        bits = 0
        for x in range(size):
            bits = (bits << 1) | (1 if clear[y][x] else 0)
        andmask += struct.pack(">I", bits)        # 32 bits, already aligned
    image = header + palette + xor + andmask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image),
                        6 + 16)
    return directory + entry + image


def write_icon(path):
    with open(path, "wb") as f:
        f.write(icon_bytes())


if __name__ == "__main__":
    import sys
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    write_cover(out + "/cover.jpg")
    write_icon(out + "/korventa.ico")
