#!/usr/bin/env python3
"""Writes mnicon.ico: the extractor's 16-pixel, 16-colour icon (a box with a down arrow)."""
import struct
import sys

PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def pixel(x, y, n):
    s = n / 16.0
    fx, fy = x / s, y / s
    if 2 <= fx < 14 and 8 <= fy < 15:          # the box
        if fx < 3 or fx >= 13 or fy >= 14 or fy < 9:
            return 4
        return 11
    if 6 <= fx < 10 and 1 <= fy < 6:           # arrow shaft
        return 1
    if 6 <= fy < 9 and abs(fx - 8) < (9 - fy) * 1.3:  # arrow head
        return 1
    return None


def image(n):
    rows = []
    mask_rows = []
    for y in range(n - 1, -1, -1):            # bottom-up
        row = bytearray()
        mrow = bytearray((n + 31) // 32 * 4)
        for x in range(0, n, 2):
            a, b = pixel(x, y, n), pixel(x + 1, y, n)
            row.append(((a or 0) << 4) | (b or 0))
            for i, p in ((x, a), (x + 1, b)):
                if p is None:
                    mrow[i // 8] |= 0x80 >> (i % 8)
        row += bytes((-len(row)) % 4)
        rows.append(bytes(row))
        mask_rows.append(bytes(mrow))
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    return header + pal + b''.join(rows) + b''.join(mask_rows)


def main(path):
    images = [image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip((16,), images):
        out += struct.pack('<BBBBHHII', n, n, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'mnicon.ico')
