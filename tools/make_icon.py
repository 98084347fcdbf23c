#!/usr/bin/env python3
"""Writes src/res/tabcard.ico: the program's icon, an index card with an
orange tab and three lines of data (from 24 px on with a second card behind
it), in the sizes Windows asks for at common DPIs (16, 20, 24, 32, 40, 48, 64
and 256 pixels).

Every size is drawn on its own pixel grid: edges are snapped to whole pixels
and strokes are at least one pixel, so the 16 px icon of the notification
area stays crisp. 32-bit BGRA with alpha; the 256 px image is stored as PNG,
the others as DIBs with an AND mask. Standard library only.

  make_icon.py [--preview FILE.png]   also writes an enlarged contact sheet
"""
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
SUPERSAMPLE = 4

NAVY = (0x1B, 0x3F, 0x7A)
CARD_TOP = (0xFF, 0xFF, 0xFF)
CARD_BOTTOM = (0xDC, 0xE8, 0xF8)
TAB_TOP = (0xFF, 0xB8, 0x4D)
TAB_BOTTOM = (0xF0, 0x84, 0x1C)
TAB_EDGE = (0xB8, 0x5A, 0x08)
LINE = (0x2F, 0x6C, 0xD0)
BACK = (0x8F, 0xB4, 0xE8)


def snap(v, size):
    """A coordinate of the 16-unit design, on this size's pixel grid."""
    return round(v * size / 16.0)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def blend(self, x, y, rgb, alpha):
        if alpha <= 0.0:
            return
        r, g, b, a = self.px[y][x]
        out_a = alpha + a * (1.0 - alpha)
        mix = [(c * alpha + d * a * (1.0 - alpha)) / out_a for c, d in zip(rgb, (r, g, b))]
        self.px[y][x] = (mix[0], mix[1], mix[2], out_a)

    def rounded_rect(self, x0, y0, x1, y1, radius, colour, round_bottom=True):
        """Fills [x0, x1) x [y0, y1) in pixels, antialiased; colour is an rgb
        triple or a function of the row's height in the shape (0 at the top,
        1 at the bottom) giving one."""
        n = SUPERSAMPLE
        for y in range(max(0, int(y0)), min(self.size, int(y1 + 0.999))):
            t = (y + 0.5 - y0) / max(1e-9, y1 - y0)
            rgb = colour(t) if callable(colour) else colour
            for x in range(max(0, int(x0)), min(self.size, int(x1 + 0.999))):
                hits = 0
                for sy in range(n):
                    py = y + (sy + 0.5) / n
                    for sx in range(n):
                        if inside(x + (sx + 0.5) / n, py, x0, y0, x1, y1, radius, round_bottom):
                            hits += 1
                self.blend(x, y, rgb, hits / (n * n))


def inside(px, py, x0, y0, x1, y1, r, round_bottom):
    if px < x0 or px >= x1 or py < y0 or py >= y1:
        return False
    cx = min(max(px, x0 + r), x1 - r)
    if py < y0 + r:
        cy = y0 + r
    elif round_bottom and py > y1 - r:
        cy = y1 - r
    else:
        return True
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def gradient(top, bottom):
    return lambda t: tuple(a + (b - a) * min(1.0, max(0.0, t)) for a, b in zip(top, bottom))


def draw(size):
    c = Canvas(size)
    stroke = max(1, round(size / 20.0))
    radius = max(1.0, size / 14.0)

    # A second card behind, peeking out at the right: a file of cards.
    if size >= 24:
        c.rounded_rect(snap(4, size), snap(2.5, size), snap(16, size), snap(13, size), radius, NAVY)
        c.rounded_rect(snap(4, size) + stroke, snap(2.5, size) + stroke, snap(16, size) - stroke,
                       snap(13, size) - stroke, max(0.0, radius - stroke), BACK)

    # The tab, standing up from the card's top edge at the left.
    tx0, ty0, tx1, ty1 = snap(1.5, size), snap(1, size), snap(8, size), snap(5, size)
    c.rounded_rect(tx0, ty0, tx1, ty1 + stroke, radius, TAB_EDGE, round_bottom=False)
    c.rounded_rect(tx0 + stroke, ty0 + stroke, tx1 - stroke, ty1 + stroke,
                   max(0.0, radius - stroke), gradient(TAB_TOP, TAB_BOTTOM), round_bottom=False)

    # The card; without the card behind it takes the whole width.
    x0, y0, y1 = 0, snap(4, size), snap(15.5, size)
    x1 = snap(14, size) if size >= 24 else size
    c.rounded_rect(x0, y0, x1, y1, radius, NAVY)
    c.rounded_rect(x0 + stroke, y0 + stroke, x1 - stroke, y1 - stroke, max(0.0, radius - stroke),
                   gradient(CARD_TOP, CARD_BOTTOM))

    # Three evenly spaced lines of data, centred in the card; the first
    # shorter, like a name above an address.
    thick = max(1, round(size / 16.0))
    pitch = max(2, round(size * 2.5 / 16.0))
    inner = (y1 - stroke) - (y0 + stroke)
    top = y0 + stroke + (inner - (2 * pitch + thick)) // 2
    left = snap(3, size)
    rights = (snap(8.5, size), x1 - snap(3, size), x1 - snap(3, size))
    for i in range(3):
        y = top + i * pitch
        c.rounded_rect(left, y, rights[i], y + thick, 0.0, LINE)
    return c


def rgba_rows(canvas):
    """Top-down rows of (r, g, b, a) bytes, colour not premultiplied."""
    rows = []
    for row in canvas.px:
        rows.append([(round(r), round(g), round(b), round(a * 255)) for r, g, b, a in row])
    return rows


def png_bytes(rows):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        crc = zlib.crc32(body) & 0xFFFFFFFF
        return struct.pack(">I", len(data)) + body + struct.pack(">I", crc)

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def dib_bytes(rows):
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_stride * size, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """images: (size, data) pairs; a 256 px entry is written as width 0."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def preview(sheets, path):
    """An enlarged contact sheet on a light and a dark strip, for a look."""
    scale = 4
    gap = 8
    width = sum(len(r) * scale + gap for r in sheets) + gap
    height = 2 * (256 * scale // 4 + gap) + gap
    backgrounds = ((0xF3, 0xF3, 0xF3), (0x20, 0x20, 0x20))
    canvas = [[backgrounds[0 if y < height // 2 else 1] + (255,) for _ in range(width)]
              for y in range(height)]
    for band, bg in enumerate(backgrounds):
        x_at = gap
        for rows in sheets:
            size = len(rows)
            s = scale if size <= 64 else 1
            top = band * (height // 2) + gap
            for y in range(size * s):
                for x in range(size * s):
                    r, g, b, a = rows[y // s][x // s]
                    k = a / 255.0
                    canvas[top + y][x_at + x] = tuple(
                        round(c * k + d * (1 - k)) for c, d in zip((r, g, b), bg)) + (255,)
            x_at += size * s + gap
    with open(path, "wb") as f:
        f.write(png_bytes(canvas))


def main(argv):
    images = []
    sheets = []
    for size in SIZES:
        rows = rgba_rows(draw(size))
        sheets.append(rows)
        images.append((size, png_bytes(rows) if size >= 256 else dib_bytes(rows)))
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "..", "src", "res", "tabcard.ico")
    with open(out, "wb") as f:
        f.write(ico_bytes(images))
    if len(argv) == 3 and argv[1] == "--preview":
        preview(sheets, argv[2])


if __name__ == "__main__":
    main(sys.argv)
