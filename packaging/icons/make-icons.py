#!/usr/bin/env python3
"""Draws the program's chip icon and writes every file made from it.

The icon is an eight-pin chip seen from above. Two hand-placed 16-colour
images (32x32 and 16x16) are the program's own icon; a smooth drawing of the
same chip serves the larger sizes. Writes, relative to the repository root:

  packaging/icons/pavok.svg                       the scalable drawing
  packaging/icons/hicolor/NxN/apps/pavok.png      desktop theme sizes
  res/windows/pavok.ico                           the Windows icon resource

Only the standard library is used, so any Python 3 can run it:
  python3 packaging/icons/make-icons.py
"""

import pathlib
import struct
import zlib

ROOT = pathlib.Path(__file__).resolve().parents[2]

# The standard 16-colour palette, in its usual order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, GREY, SILVER, YELLOW, WHITE = 0, 8, 7, 11, 15
CLEAR = None

PIN_ROWS_32 = (6, 12, 18, 24)
PIN_ROWS_16 = (3, 6, 9, 12)


def pixel_icon_32():
    """The 32x32 image: rectangles (colour, x0, y0, x1, y1), painted in order."""
    rects = []
    for cy in PIN_ROWS_32:
        for x0 in (4, 24):
            rects += [(WHITE, x0, cy - 1, x0 + 4, cy), (SILVER, x0, cy, x0 + 4, cy + 1),
                      (GREY, x0, cy + 1, x0 + 4, cy + 2)]
    rects += [
        (BLACK, 8, 2, 24, 30),                          # body
        (GREY, 8, 2, 24, 3), (GREY, 8, 2, 9, 30),       # lit top and left edge
        (SILVER, 14, 2, 18, 3), (SILVER, 15, 3, 17, 4),  # notch
        (GREY, 11, 5, 13, 7),                           # pin-1 mark
        (YELLOW, 11, 12, 21, 13), (SILVER, 11, 15, 19, 16), (SILVER, 11, 18, 17, 19),  # marking
    ]
    return paint(32, rects)


def pixel_icon_16():
    rects = []
    for cy in PIN_ROWS_16:
        rects += [(SILVER, 1, cy, 4, cy + 1), (SILVER, 12, cy, 15, cy + 1)]
    rects += [
        (BLACK, 4, 1, 12, 15),
        (GREY, 4, 1, 12, 2), (GREY, 4, 1, 5, 15),
        (SILVER, 7, 1, 9, 2),
        (GREY, 6, 3, 7, 4),
        (YELLOW, 6, 6, 11, 7), (SILVER, 6, 9, 10, 10),
    ]
    return paint(16, rects)


def paint(size, rects):
    """A size x size grid of palette indices (CLEAR where nothing is painted)."""
    grid = [[CLEAR] * size for _ in range(size)]
    for colour, x0, y0, x1, y1 in rects:
        for y in range(y0, y1):
            for x in range(x0, x1):
                grid[y][x] = colour
    return grid


# The smooth drawing, in the same 32-unit space: (kind, colour, geometry).
# Kinds: rect (x0, y0, x1, y1, corner radius), disc (cx, cy, r), and
# notch (cx, cy, r), the lower half of a disc.
def smooth_shapes():
    shapes = []
    for cy in PIN_ROWS_32:
        for x0 in (3.5, 23.5):
            shapes.append(("rect", "#c9cdd2", (x0, cy - 1.6, x0 + 5, cy + 1.6, 0.4)))
            shapes.append(("rect", "#8e949b", (x0, cy + 0.5, x0 + 5, cy + 1.6, 0.4)))
    shapes += [
        ("rect", "#23262b", (8, 2, 24, 30, 1.6)),
        ("rect", "#2f343a", (8.8, 2.8, 23.2, 29.2, 1.0)),
        ("notch", "#646b74", (16, 2, 2.6)),
        ("disc", "#4c535b", (11.6, 6.4, 1.3)),
        ("rect", "#f2c230", (11, 12.2, 21, 13.6, 0.6)),
        ("rect", "#c9cdd2", (11, 15.6, 19, 16.8, 0.5)),
        ("rect", "#c9cdd2", (11, 18.8, 17, 20.0, 0.5)),
    ]
    return shapes


def inside(kind, geometry, x, y):
    if kind == "rect":
        x0, y0, x1, y1, r = geometry
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        dx = max(x0 + r - x, 0, x - (x1 - r))
        dy = max(y0 + r - y, 0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    cx, cy, r = geometry
    if kind == "notch" and y < cy:
        return False
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def bounds(kind, geometry):
    if kind == "rect":
        return geometry[:4]
    cx, cy, r = geometry
    return (cx - r, cy - r, cx + r, cy + r)


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def render_smooth(size, samples=4):
    """RGBA rows of the smooth drawing at size x size, anti-aliased."""
    scale = 32 / size
    shapes = [(kind, hex_colour(colour), geometry, bounds(kind, geometry))
              for kind, colour, geometry in reversed(smooth_shapes())]
    offsets = [(i + 0.5) / samples for i in range(samples)]
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            ux0, uy0 = px * scale, py * scale
            near = [s for s in shapes
                    if s[3][0] < ux0 + scale and s[3][2] > ux0 and s[3][1] < uy0 + scale and s[3][3] > uy0]
            total = [0, 0, 0]
            hits = 0
            for oy in offsets:
                for ox in offsets:
                    x, y = ux0 + ox * scale, uy0 + oy * scale
                    for kind, colour, geometry, _ in near:
                        if inside(kind, geometry, x, y):
                            total = [t + c for t, c in zip(total, colour)]
                            hits += 1
                            break
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * hits / samples ** 2)
                row.append(tuple(round(t / hits) for t in total) + (alpha,))
        rows.append(row)
    return rows


def pixel_rgba(grid):
    return [[(0, 0, 0, 0) if i is CLEAR else PALETTE[i] + (255,) for i in row] for row in grid]


def png_bytes(rows):
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico_image(grid):
    """One 4-bit image of an icon: header, palette, colours, then the mask."""
    size = len(grid)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    colour_rows, mask_rows = [], []
    for row in reversed(grid):  # bottom-up
        nibbles = [BLACK if i is CLEAR else i for i in row]
        packed = bytes(nibbles[x] << 4 | nibbles[x + 1] for x in range(0, size, 2))
        colour_rows.append(packed.ljust((len(packed) + 3) // 4 * 4, b"\0"))
        bits = 0
        for i in row:
            bits = bits << 1 | (i is CLEAR)
        mask = bits.to_bytes(size // 8, "big")
        mask_rows.append(mask.ljust((len(mask) + 3) // 4 * 4, b"\0"))
    return header + palette + b"".join(colour_rows) + b"".join(mask_rows)


def ico_bytes(grids):
    images = [ico_image(grid) for grid in grids]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for grid, image in zip(grids, images):
        size = len(grid)
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def svg_text():
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 32 32">',
             '  <title>Pavok</title>']
    for kind, colour, geometry in smooth_shapes():
        if kind == "rect":
            x0, y0, x1, y1, r = geometry
            lines.append(f'  <rect x="{x0:g}" y="{y0:g}" width="{x1 - x0:g}" height="{y1 - y0:g}" '
                         f'rx="{r:g}" fill="{colour}"/>')
        elif kind == "disc":
            cx, cy, r = geometry
            lines.append(f'  <circle cx="{cx:g}" cy="{cy:g}" r="{r:g}" fill="{colour}"/>')
        else:
            cx, cy, r = geometry
            lines.append(f'  <path d="M {cx - r:g} {cy:g} A {r:g} {r:g} 0 0 0 {cx + r:g} {cy:g} Z" '
                         f'fill="{colour}"/>')
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def write(path, data):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    print(path.relative_to(ROOT))


def main():
    icons = ROOT / "packaging" / "icons"
    small, large = pixel_icon_16(), pixel_icon_32()
    write(icons / "pavok.svg", svg_text().encode())
    write(ROOT / "res" / "windows" / "pavok.ico", ico_bytes([large, small]))
    sizes = {16: pixel_rgba(small), 32: pixel_rgba(large)}
    for size in (24, 48, 64, 128, 256):
        sizes[size] = render_smooth(size)
    for size, rows in sorted(sizes.items()):
        write(icons / "hicolor" / f"{size}x{size}" / "apps" / "pavok.png", png_bytes(rows))


if __name__ == "__main__":
    main()
