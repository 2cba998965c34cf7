#!/usr/bin/env python3
"""Draws the two program icons and writes them as 32x32, 256-colour .ico files (one image each).

Usage: scripts/make-icons.py [OUTPUT_ROOT]   (default: the source tree; writes sleep/sleep.ico, install/install.ico)
The output is deterministic, so the committed icons can be checked by running this again.
"""

import os
import struct
import sys

SIZE = 32
SAMPLES = 4  # per axis, for smooth edges inside the picture


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def in_disc(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def sleep_scene(x, y):
    """A crescent moon and two stars on a night-blue disc; None where the icon is transparent."""
    if not in_disc(x, y, 16, 16, 15.5):
        return None
    if not in_disc(x, y, 16, 16, 14.5):
        return (16, 24, 64)  # rim
    if in_disc(x, y, 14, 16, 10) and not in_disc(x, y, 19, 12.5, 8.5):
        return lerp((255, 236, 150), (230, 190, 60), min(1.0, max(0.0, (y - 6) / 20)))
    for sx, sy, r in ((23, 21, 1.6), (24.5, 9, 1.1)):
        if abs(x - sx) + abs(y - sy) <= r:
            return (255, 255, 230)
    return lerp((44, 70, 150), (14, 22, 70), min(1.0, max(0.0, (y - 1) / 30)))


def install_scene(x, y):
    """A grey box with a green arrow pointing down into it."""
    # Arrow first, so it stands in front of the box: shaft and head with a dark outline.
    if (12 <= x < 20 and 1 <= y < 12) or (11 <= y < 24 and abs(x - 16) <= (24 - y) * 0.9):
        if (13 <= x < 19 and 2 <= y < 12) or (12 <= y < 22.5 and abs(x - 16) <= (22.5 - y) * 0.9):
            return lerp((130, 230, 120), (30, 140, 40), (y - 2) / 20)
        return (20, 80, 20)
    # Box body with a dark outline under a lighter lid.
    if 5 <= x < 27 and 15 <= y < 30:
        if x < 6 or x >= 26 or y >= 29:
            return (64, 64, 64)
        return lerp((200, 200, 200), (140, 140, 140), (y - 15) / 14)
    if 3 <= x < 29 and 12 <= y < 15:
        if y < 12.8 or x < 3.8 or x >= 28.2 or y >= 14.2:
            return (64, 64, 64)
        return (228, 228, 228)
    return None


def render(scene):
    """Colours (or None) per pixel, top row first, averaged over SAMPLES x SAMPLES points."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            hits = []
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = scene(px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES)
                    if c is not None:
                        hits.append(c)
            # The mask is one bit deep: a pixel is opaque when most of it is covered.
            if len(hits) * 2 < SAMPLES * SAMPLES:
                row.append(None)
            else:
                row.append(tuple(round(sum(c[i] for c in hits) / len(hits)) for i in range(3)))
        rows.append(row)
    return rows


def palette_for(rows):
    """The image's own colours, coarsened until they fit in 255 entries (entry 0 stays black)."""
    colours = {c for row in rows for c in row if c is not None}
    step = 1
    while True:
        quant = {c: tuple(min(255, (v // step) * step + step // 2) for v in c) for c in colours}
        distinct = sorted(set(quant.values()))
        if len(distinct) <= 255:
            return [(0, 0, 0)] + distinct, quant
        step *= 2


def ico_bytes(rows):
    palette, quant = palette_for(rows)
    index = {c: i for i, c in enumerate(palette)}
    palette += [(0, 0, 0)] * (256 - len(palette))

    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        xor += bytes(0 if c is None else index[quant[c]] for c in row)
        bits = 0
        for x, c in enumerate(row):
            if c is None:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)  # 32 pixels: exactly one 4-byte row

    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 8, 0, len(xor) + len(mask), 0, 0, 256, 0)
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + colours + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for path, scene in (("sleep/sleep.ico", sleep_scene), ("install/install.ico", install_scene)):
        out = os.path.join(root, path)
        os.makedirs(os.path.dirname(out), exist_ok=True)
        with open(out, "wb") as f:
            f.write(ico_bytes(render(scene)))
        print(out)


if __name__ == "__main__":
    main()
