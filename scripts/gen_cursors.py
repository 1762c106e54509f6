#!/usr/bin/env python3
"""Builds 32 x 32 Windows cursor (.cur) and icon (.ico) files from the text pictures in
src/resources/art: X black, o white, ' ' transparent, ~ inverted screen.

usage: gen_cursors.py picture.txt output.cur|output.ico
"""
import struct
import sys

SIZE = 32
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


def image(rows, depth):
    # XOR colour (index) and AND mask per pixel: black 0/0, white 1/0, transparent 0/1,
    # inverted 1/1 (white XOR over a kept screen inverts it).
    white = 15 if depth == 4 else 1
    xor = [[white if c in 'o~' else 0 for c in r] for r in rows]
    mask = [[1 if c in ' ~' else 0 for c in r] for r in rows]
    palette = VGA16 if depth == 4 else [(0, 0, 0), (255, 255, 255)]
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, depth, 0, 0, 0, 0,
                         len(palette), 0)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    return header + table + pack_rows(xor, depth) + pack_rows(mask, 1)


def main(src, dst):
    hotspot, depth, rows = parse(src)
    data = image(rows, depth)
    is_cursor = dst.endswith('.cur')
    colors = 16 if depth == 4 else 2
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, colors, 0,
                        hotspot[0] if is_cursor else 1, hotspot[1] if is_cursor else depth,
                        len(data), 6 + 16)
    with open(dst, 'wb') as f:
        f.write(struct.pack('<HHH', 0, 2 if is_cursor else 1, 1) + entry + data)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])
