#!/usr/bin/env python3
"""Draws Tarvix's gauge at any size: the large sizes of the program's icon
and the setup program's welcome, finish and header pictures.

The 16 and 32 pixel pictures of ui/TrayIcon.ico are hand-tuned and kept as
they are; this script adds 20, 24, 40, 48, 64 and 256 pixel pictures of the
same gauge (scaled screens ask for them) and writes the setup pictures in the
main window's palette:

    python3 tools/draw-identity.py            # rewrites the files below
    python3 tools/draw-identity.py --check    # fails when they are stale

  ui/TrayIcon.ico                     16 and 32 kept, larger ones drawn
  installer/art/welcome.bmp           164 x 314, welcome and finish pages
  installer/art/header.bmp            150 x 57, header of the inner pages (white)
"""
import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The gauge's colours, taken from the hand-drawn 32 pixel icon.
RING = (0x18, 0x68, 0x71)
FACE_LEFT = (0x27, 0xA8, 0xB7)
FACE_RIGHT = (0x1C, 0x80, 0xB7)
WHITE = (0xFF, 0xFF, 0xFF)
NEEDLE = (0xFF, 0xD6, 0x40)

# The main window's palette (assets/Tarvix.movie, [colours]).
BACKGROUND = (0x0F, 0x17, 0x24)
BAND_START = (0x12, 0x3A, 0x6E)
BAND_END = (0x0E, 0x7C, 0x8C)
CARD = (0x17, 0x22, 0x35)
CARD_BORDER = (0x24, 0x32, 0x4A)
ACCENTS = ((0x3F, 0xA9, 0xF5), (0x36, 0xC2, 0x8A), (0xF2, 0xA3, 0x3A), (0xA5, 0x7C, 0xF0))
FOCUS = (0x5C, 0xC8, 0xFF)

SAMPLES = 4  # per side: 16 samples a pixel smooth every edge


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def gauge_colour(u, v):
    """Colour and coverage (0 or 1) of the gauge at (u, v), the unit disc
    centred on 0 with y growing downwards; None outside it."""
    r = math.hypot(u, v)
    if r > 1.0:
        return None
    if r > 0.88:
        return RING
    angle = math.degrees(math.atan2(-v, u))  # 0 = right, 90 = up
    # The scale: an arc from lower left over the top to lower right.
    if 0.60 <= r <= 0.69 and (angle >= -30 or angle <= -150):
        return WHITE
    # Five ticks inside the arc.
    for tick in (150, 115, 90, 65, 30):
        t = math.radians(tick)
        along = u * math.cos(t) - v * math.sin(t)
        across = abs(-u * math.sin(t) - v * math.cos(t))
        if 0.44 <= along <= 0.56 and across <= 0.045:
            return WHITE
    # The needle from the hub towards the upper right, and the hub.
    hub_u, hub_v = 0.0, 0.12
    if math.hypot(u - hub_u, v - hub_v) <= 0.13:
        return NEEDLE
    t = math.radians(40)
    du, dv = u - hub_u, v - hub_v
    along = du * math.cos(t) - dv * math.sin(t)
    across = abs(-du * math.sin(t) - dv * math.cos(t))
    if 0 <= along <= 0.62 and across <= 0.07 * (1 - along / 0.9):
        return NEEDLE
    # The face: lighter on the left.
    return mix(FACE_LEFT, FACE_RIGHT, (u + 1) / 2)


def draw_gauge(size):
    """RGBA rows of the gauge filling a size x size square."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0]
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = ((x + (sx + 0.5) / SAMPLES) / size) * 2 - 1
                    v = ((y + (sy + 0.5) / SAMPLES) / size) * 2 - 1
                    c = gauge_colour(u * 1.02, v * 1.02)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits:
                row.append(tuple(round(a / hits) for a in acc) + (round(255 * hits / SAMPLES**2),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def png_bytes(rows):
    size_y, size_x = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))

    header = struct.pack(">IIBBBBB", size_x, size_y, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def icon_dib(rows):
    """A 32-bit icon picture: BITMAPINFOHEADER, bottom-up BGRA, AND mask."""
    n = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def read_icon(path):
    data = open(path, "rb").read()
    count = struct.unpack("<HHH", data[:6])[2]
    images = {}
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        images[w or 256] = (colours, planes, bits, data[offset:offset + size])
    return images


def write_icon(images):
    sizes = sorted(images)
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    body = b""
    for s in sizes:
        colours, planes, bits, blob = images[s]
        out += struct.pack("<BBBBHHII", s % 256, s % 256, colours, 0, planes, bits, len(blob), offset + len(body))
        body += blob
    return out + body


def bmp_bytes(rows):
    """A 24-bit bottom-up BMP of RGB rows."""
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    pixels = b"".join(bytes(c for (r, g, b) in row for c in (b, g, r)).ljust(stride, b"\0") for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(pixels), 0, 0, 54) + info + pixels


def blend(dst, src):
    r, g, b, a = src
    t = a / 255
    return mix(dst, (r, g, b), t)


def canvas(width, height, paint):
    return [[paint(x, y) for x in range(width)] for y in range(height)]


def stamp(rows, gauge, left, top):
    for y, grow in enumerate(gauge):
        for x, px in enumerate(grow):
            rows[top + y][left + x] = blend(rows[top + y][left + x], px)


def welcome_picture():
    width, height = 164, 314
    band = 188

    def paint(x, y):
        if y < band:
            return mix(BAND_START, BAND_END, (x / width + y / band) / 2)
        if y == band:
            return FOCUS
        return mix(BACKGROUND, CARD_BORDER, max(0.0, 1 - (y - band) / 90) * 0.6)

    rows = canvas(width, height, paint)
    gauge = draw_gauge(112)
    stamp(rows, gauge, (width - 112) // 2, (band - 112) // 2)
    # Below the band, the home screen's section cards in miniature: a card
    # with its accent strip for each section.
    top = band + 16
    for accent in ACCENTS:
        for y in range(top, top + 22):
            for x in range(14, width - 14):
                edge = y in (top, top + 21) or x in (14, width - 15)
                rows[y][x] = CARD_BORDER if edge else (accent if x < 18 else CARD)
        top += 28
    return rows


def header_picture():
    width, height = 150, 57

    # The header of the inner pages is white; the gauge sits at its right.
    rows = canvas(width, height, lambda x, y: WHITE)
    stamp(rows, draw_gauge(45), width - 45 - 8, (height - 45) // 2)
    return rows


def outputs():
    icon_path = os.path.join(ROOT, "ui", "TrayIcon.ico")
    images = read_icon(icon_path)
    kept = {s: images[s] for s in (16, 32)}
    for s in (20, 24, 40, 48, 64):
        kept[s] = (0, 1, 32, icon_dib(draw_gauge(s)))
    kept[256] = (0, 1, 32, png_bytes(draw_gauge(256)))
    return {
        icon_path: write_icon(kept),
        os.path.join(ROOT, "installer", "art", "welcome.bmp"): bmp_bytes(welcome_picture()),
        os.path.join(ROOT, "installer", "art", "header.bmp"): bmp_bytes(header_picture()),
    }


def main():
    check = "--check" in sys.argv[1:]
    stale = []
    for path, data in outputs().items():
        old = open(path, "rb").read() if os.path.exists(path) else None
        if old == data:
            continue
        if check:
            stale.append(os.path.relpath(path, ROOT))
            continue
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        print("wrote", os.path.relpath(path, ROOT))
    if stale:
        print("out of date (run tools/draw-identity.py):", ", ".join(stale))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
