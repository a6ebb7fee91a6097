#!/usr/bin/env python3
"""Draws the program's icon and writes it as an ICO file.

Five 32-bit images (128, 64, 48, 32 and 16 pixels square), each stored as an
uncompressed bottom-up DIB with its AND mask, in this order in the directory.
That makes the file exactly 99,678 bytes. The picture: a blue rounded tile
with a white plug-and-signal mark (a dot under three arcs), drawn with 4x4
supersampling so that the small sizes stay clear. Deterministic: the same
bytes on every run.

usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZES = (128, 64, 48, 32, 16)
SUB = 4  # supersamples per axis


def tile_coverage(x, y):
    """Inside the rounded square tile (unit coordinates 0..1)."""
    r = 0.2
    m = 0.03
    cx = min(max(x, m + r), 1 - m - r)
    cy = min(max(y, m + r), 1 - m - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r and m <= x <= 1 - m and m <= y <= 1 - m


def mark_coverage(x, y, size):
    """The white mark: a dot and arcs opening upwards around (0.5, 0.72)."""
    ox, oy = 0.5, 0.72
    dx, dy = x - ox, y - oy
    d = math.hypot(dx, dy)
    if d <= 0.085:
        return True
    if dy > 0:
        return False
    angle = math.degrees(math.atan2(-dy, abs(dx) + 1e-9))
    if angle < 40:
        return False
    # Fewer, thicker arcs where the image is small.
    arcs = (0.42,) if size <= 16 else (0.26, 0.42) if size <= 32 else (0.22, 0.34, 0.46)
    width = 0.09 if size <= 16 else 0.075 if size <= 32 else 0.06
    return any(abs(d - a) <= width / 2 for a in arcs)


def pixel(size, px, py):
    """BGRA of pixel (px, py), py counted from the top."""
    inside = mark = 0
    for sy in range(SUB):
        for sx in range(SUB):
            x = (px + (sx + 0.5) / SUB) / size
            y = (py + (sy + 0.5) / SUB) / size
            if tile_coverage(x, y):
                inside += 1
                if mark_coverage(x, y, size):
                    mark += 1
    total = SUB * SUB
    if inside == 0:
        return (0, 0, 0, 0)
    t = py / max(size - 1, 1)
    # Vertical gradient from a light to a deep blue.
    top, bottom = (0xF0, 0x9A, 0x2A), (0xB0, 0x4E, 0x0D)
    base = [round(top[i] + (bottom[i] - top[i]) * t) for i in range(3)]
    f = mark / inside
    colour = [round(c + (255 - c) * f) for c in base]
    alpha = round(255 * inside / total)
    # Premultiplication is not used by ICO images; colours stay straight.
    return (colour[0], colour[1], colour[2], alpha)


def image_bytes(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_stride = ((size + 31) // 32) * 4
    mask_rows = []
    for py in range(size - 1, -1, -1):  # bottom-up
        row = bytearray()
        mask = bytearray(mask_stride)
        for px in range(size):
            b, g, r, a = pixel(size, px, py)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[px // 8] |= 0x80 >> (px % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    images = [image_bytes(s) for s in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    assert len(out) == 99678, len(out)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
