#!/usr/bin/env python3
"""Reads the option block of a self-extractor, or the builder's configuration file around the same
block, straight from the bytes, and prints its fields one per line.

  sfx_block.py exe FILE   the block at offset 35,840, followed by the archive's first local header
  sfx_block.py qlv FILE   head (u32 1), ZIP path, output path (length byte and text each), then the block
"""
import struct
import sys

STUB_SIZE = 35840


def fail(why):
    print(f"sfx_block.py: {why}", file=sys.stderr)
    sys.exit(1)


def text(data, at, length):
    if at + length > len(data):
        fail(f"a text of {length} bytes at {at} runs past the end")
    return data[at:at + length].decode("latin-1"), at + length


def block(data, at, lines):
    if data[at:at + 3] != b"QLV":
        fail(f"no option block signature at {at}")
    block_length, display, run = struct.unpack_from("<HBB", data, at + 3)
    lengths = struct.unpack_from("<4B", data, at + 7)
    if block_length != 11 + sum(lengths):
        fail(f"BlockLength {block_length} is not 11 + {sum(lengths)}")
    lines.append(f"display=0x{display:02x}")
    lines.append(f"run=0x{run:02x}")
    pos = at + 11
    for name, length in zip(("caption", "root", "program", "params"), lengths):
        value, pos = text(data, pos, length)
        lines.append(f"{name}={value}")
    return pos


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("exe", "qlv"):
        fail("usage: sfx_block.py exe|qlv FILE")
    data = open(sys.argv[2], "rb").read()
    lines = []
    if sys.argv[1] == "exe":
        end = block(data, STUB_SIZE, lines)
        if data[end:end + 4] != b"PK\x03\x04":
            fail(f"the archive does not start right after the block (at {end})")
    else:
        if struct.unpack_from("<I", data, 0)[0] != 1:
            fail("the format head is not 1")
        pos = 4
        for name in ("zip", "output"):
            value, pos = text(data, pos + 1, data[pos])
            lines.append(f"{name}={value}")
        if block(data, pos, lines) != len(data):
            fail("bytes follow the option block")
    print("\n".join(lines))


main()
