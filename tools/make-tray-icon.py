#!/usr/bin/env python3
"""Draws the notification-area icon (a white speed gauge on a blue-green
disc) and writes it as a 32 x 32 + 16 x 16 .ico of 32-bit images.

Usage: tools/make-tray-icon.py [output.ico]   (default: ui/TrayIcon.ico)
Only the standard library is used, so the icon can be rebuilt anywhere.
"""
import math
import os
import struct
import sys

SAMPLES = 4  # supersampling per axis, for smooth edges


def lerp(a, b, t):
    return a + (b - a) * t


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def shade(x, y, size):
    """Colour (r, g, b, a) of one sample; x, y in 0..1 with y downwards."""
    cx, cy = 0.5, 0.5
    r = math.hypot(x - cx, y - cy)
    small = size <= 16
    if r > 0.48:
        return None
    # Disc: teal at the top left shading to deep blue at the bottom right,
    # with a darker rim so the icon reads on light and dark taskbars.
    t = max(0.0, min(1.0, (x + y) / 2.0))
    base = (lerp(0x2E, 0x13, t), lerp(0xC4, 0x5F, t), lerp(0xB6, 0xB8, t))
    if r > 0.48 - (0.07 if small else 0.045):
        base = tuple(c * 0.62 for c in base)
    white = (255, 255, 255)
    # Gauge arc from 210 degrees (lower left) over the top to -30 (lower right).
    arc_radius, arc_width = 0.31, (0.085 if small else 0.06)
    angle = math.degrees(math.atan2(cy - y, x - cx))
    if abs(r - arc_radius) < arc_width / 2 and (angle >= -30 or angle <= -150):
        return white + (255,)
    # Tick marks inside the arc at 150, 90 and 30 degrees (big icon only).
    if not small:
        for tick in (150, 90, 30):
            a = math.radians(tick)
            ax, ay = cx + 0.2 * math.cos(a), cy - 0.2 * math.sin(a)
            bx, by = cx + 0.245 * math.cos(a), cy - 0.245 * math.sin(a)
            if segment_distance(x, y, ax, ay, bx, by) < 0.022:
                return white + (255,)
    # Needle pointing up and to the right: fast.
    a = math.radians(40)
    tip = (cx + 0.27 * math.cos(a), cy - 0.27 * math.sin(a))
    if segment_distance(x, y, cx, cy, tip[0], tip[1]) < (0.05 if small else 0.035):
        return (255, 214, 64, 255)
    if r < (0.09 if small else 0.07):
        return white + (255,)
    return base + (255,)


def render(size):
    """Rows of (b, g, r, a) bytes, bottom row first as the .ico wants them."""
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = shade((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size, size)
                    if c is None:
                        continue
                    alpha = c[3] / 255.0
                    for i in range(3):
                        acc[i] += c[i] * alpha
                    acc[3] += alpha
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [acc[i] / acc[3] for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row += bytes((round(rgb[2]), round(rgb[1]), round(rgb[0]), round(alpha * 255)))
        rows.append(bytes(row))
    return rows


def image_entry(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(reversed(rows))
    # AND mask: 1 bit per pixel, rows padded to 32 bits; set where fully transparent.
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for px in range(size):
            if row[px * 4 + 3] == 0:
                bits[px // 8] |= 0x80 >> (px % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "ui", "TrayIcon.ico")
    sizes = (32, 16)
    images = [image_entry(s) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(out, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
