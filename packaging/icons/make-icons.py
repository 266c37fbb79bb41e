#!/usr/bin/env python3
"""Writes every file made from the program's chip icon.

The program's own icon is the pair of 16-colour images res/icons/chip32.xpm
and res/icons/chip16.xpm. They give the small desktop sizes and the Windows
icon; a smooth drawing of the same chip, kept here, gives the larger sizes
and the scalable icon. Writes, relative to the repository root:

  packaging/icons/pavok.svg                       the scalable drawing
  packaging/icons/hicolor/NxN/apps/pavok.png      desktop theme sizes
  res/windows/pavok.ico                           the Windows icon resource

Only the standard library is used, so any Python 3 can run it:
  python3 packaging/icons/make-icons.py [--out ROOT] [--xpm DIR]
--out writes below another root (to compare with the committed files),
--xpm reads the .xpm files from another directory.
"""

import argparse
import pathlib
import re
import struct
import sys
import zlib

ROOT = pathlib.Path(__file__).resolve().parents[2]
CLEAR = None


def read_xpm(path):
    """An XPM image as rows of RGB tuples, CLEAR where it is transparent."""
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', path.read_text())
    width, height, colours, per_pixel = (int(v) for v in strings[0].split()[:4])
    palette = {}
    for line in strings[1:1 + colours]:
        key, rest = line[:per_pixel], line[per_pixel:].split()
        value = rest[rest.index("c") + 1]
        palette[key] = CLEAR if value.lower() == "none" else tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
    rows = strings[1 + colours:1 + colours + height]
    image = [[palette[row[x:x + per_pixel]] for x in range(0, width * per_pixel, per_pixel)] for row in rows]
    if len(image) != height or any(len(row) != width for row in image):
        sys.exit(f"{path}: not a {width}x{height} image")
    return image


# The smooth drawing of the same chip, in the 32-unit space of chip32.xpm:
# (kind, colour, geometry). Kinds: rect (x0, y0, x1, y1, corner radius),
# disc (cx, cy, r), and notch (cx, cy, r), the lower half of a disc.
def smooth_shapes():
    shapes = []
    for top in (5, 11, 17, 23):
        for x0, x1 in ((2, 8.5), (23.5, 30)):
            shapes.append(("rect", "#c0c0c0", (x0, top, x1, top + 3, 0.4)))
            shapes.append(("rect", "#808080", (x0, top + 2, x1, top + 3, 0.4)))
    shapes += [
        ("rect", "#404040", (8, 2, 24, 30, 1.4)),
        ("rect", "#000000", (9, 3, 23, 29, 0.8)),
        ("notch", "#404040", (16, 2.5, 2.2)),
        ("disc", "#ffffff", (11, 7, 1.1)),
        ("rect", "#ffff00", (12, 13, 20, 14, 0.3)),
        ("rect", "#ffff00", (12, 16, 20, 17, 0.3)),
        ("rect", "#ffff00", (12, 19, 18, 20, 0.3)),
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


def rgba(image):
    return [[(0, 0, 0, 0) if pixel is CLEAR else pixel + (255,) for pixel in row] for row in image]


def png_bytes(rows):
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico_image(image):
    """One 4-bit image of an icon: header, its own palette of at most 16
    colours, the colour indices, then the transparency mask."""
    size = len(image)
    colours = sorted({pixel for row in image for pixel in row if pixel is not CLEAR})
    if len(colours) > 16:
        sys.exit(f"the {size}x{size} icon has {len(colours)} colours, more than 16")
    palette = colours + [(0, 0, 0)] * (16 - len(colours))
    index = {colour: i for i, colour in enumerate(colours)}
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colour_rows, mask_rows = [], []
    for row in reversed(image):  # bottom-up
        nibbles = [0 if pixel is CLEAR else index[pixel] for pixel in row]
        packed = bytes(nibbles[x] << 4 | nibbles[x + 1] for x in range(0, size, 2))
        colour_rows.append(packed.ljust((len(packed) + 3) // 4 * 4, b"\0"))
        bits = 0
        for pixel in row:
            bits = bits << 1 | (pixel is CLEAR)
        mask = bits.to_bytes(size // 8, "big")
        mask_rows.append(mask.ljust((len(mask) + 3) // 4 * 4, b"\0"))
    return (header + b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + b"".join(colour_rows)
            + b"".join(mask_rows))


def ico_bytes(images):
    encoded = [ico_image(image) for image in images]
    directory = struct.pack("<HHH", 0, 1, len(encoded))
    offset = 6 + 16 * len(encoded)
    for image, data in zip(images, encoded):
        size = len(image)
        directory += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return directory + b"".join(encoded)


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


def write(root, name, data):
    path = root / name
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)
    print(name)


def main():
    parser = argparse.ArgumentParser(description="Writes every file made from the program's chip icon.")
    parser.add_argument("--out", type=pathlib.Path, default=ROOT, help="root to write below")
    parser.add_argument("--xpm", type=pathlib.Path, default=ROOT / "res" / "icons", help="where the .xpm files are")
    args = parser.parse_args()
    large, small = read_xpm(args.xpm / "chip32.xpm"), read_xpm(args.xpm / "chip16.xpm")
    write(args.out, "packaging/icons/pavok.svg", svg_text().encode())
    write(args.out, "res/windows/pavok.ico", ico_bytes([large, small]))
    sizes = {16: rgba(small), 32: rgba(large)}
    for size in (24, 48, 64, 128, 256):
        sizes[size] = render_smooth(size)
    for size, rows in sorted(sizes.items()):
        write(args.out, f"packaging/icons/hicolor/{size}x{size}/apps/pavok.png", png_bytes(rows))


if __name__ == "__main__":
    main()
