#!/usr/bin/env python3
"""Builds Windows cursor (.cur) and icon (.ico) files from the 32 x 32 text pictures in
src/resources/art: X black, o white, ' ' transparent, ~ inverted screen. Each file holds the
picture at every size the system asks for at the usual display scales (cursors 32, 48 and 64
pixels for 100, 150 and 200 %; the icon 16 to 256), each pixel of a larger size taken from the
one it covers, so the lines stay sharp and a cursor's hot spot stays on its tip.

usage: gen_cursors.py picture.txt output.cur|output.ico
"""
import struct
import sys

SIZE = 32
CURSOR_SIZES = (32, 48, 64)
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
# The standard 16-colour palette; only black (0) and white (15) are used.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def parse(path):
    hotspot, depth, rows = (0, 0), 1, []
    with open(path, encoding='utf-8') as f:
        for line in f:
            line = line.rstrip('\n')
            if line.startswith('#'):
                continue
            if line.startswith('hotspot '):
                hotspot = tuple(int(v) for v in line.split()[1:3])
            elif line.startswith('depth '):
                depth = int(line.split()[1])
            else:
                rows.append(line.ljust(SIZE)[:SIZE])
    rows = (rows + [' ' * SIZE] * SIZE)[:SIZE]
    return hotspot, depth, rows


def pack_rows(values_per_row, bits):
    """Bottom-up rows, each padded to 32 bits."""
    out = bytearray()
    for values in reversed(values_per_row):
        acc, n, row = 0, 0, bytearray()
        for v in values:
            acc = (acc << bits) | v
            n += bits
            if n == 8:
                row.append(acc)
                acc, n = 0, 0
        while len(row) % 4:
            row.append(0)
        out += row
    return bytes(out)


def scaled(rows, size):
    """The picture at size x size: each pixel from the pixel of the 32 x 32 picture it covers."""
    return [''.join(rows[y * SIZE // size][x * SIZE // size] for x in range(size))
            for y in range(size)]


def image(rows, depth):
    # XOR colour (index) and AND mask per pixel: black 0/0, white 1/0, transparent 0/1,
    # inverted 1/1 (white XOR over a kept screen inverts it).
    size = len(rows)
    white = 15 if depth == 4 else 1
    xor = [[white if c in 'o~' else 0 for c in r] for r in rows]
    mask = [[1 if c in ' ~' else 0 for c in r] for r in rows]
    palette = VGA16 if depth == 4 else [(0, 0, 0), (255, 255, 255)]
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, depth, 0, 0, 0, 0,
                         len(palette), 0)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    return header + table + pack_rows(xor, depth) + pack_rows(mask, 1)


def main(src, dst):
    hotspot, depth, rows = parse(src)
    is_cursor = dst.endswith('.cur')
    sizes = CURSOR_SIZES if is_cursor else ICON_SIZES
    colors = 16 if depth == 4 else 2
    images = [image(scaled(rows, size), depth) for size in sizes]
    entries, offset = b'', 6 + 16 * len(sizes)
    for size, data in zip(sizes, images):
        # The first pixel of the hot spot's scaled block: still on the tip.
        spot = (hotspot[0] * size // SIZE, hotspot[1] * size // SIZE) if is_cursor else (1, depth)
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, colors, 0, *spot,
                               len(data), offset)  # 256 is written as 0
        offset += len(data)
    with open(dst, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 2 if is_cursor else 1, len(sizes)) + entries +
                b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
