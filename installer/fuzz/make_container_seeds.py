#!/usr/bin/python3
"""Writes the container fuzz target's seeds: small archives in both layouts, from the record layout."""
import os
import struct
import zlib

HEADER = struct.Struct("<i d B 3x i 101s 3x i i i i B 3x i 21s 3x")
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds", "container")


def short(text, capacity):
    raw = text.encode("latin-1")[:capacity]
    return bytes([len(raw)]) + raw.ljust(capacity, b"\0")


def layout0(entries):
    out = bytearray(struct.pack("<iB", len(entries), 0))
    for number, (name, data, level) in enumerate(entries, 1):
        packed = zlib.compress(data, level)
        start = len(out) + 172
        end = start + len(packed)
        out += HEADER.pack(number, 37000.5, 0, end - 1, short(name, 100), end, len(data), start, len(packed), 0, number,
                           short("1.2.3.4", 20))
        out += packed
    return bytes(out)


def layout1(entries):
    headers = bytearray()
    data_part = bytearray()
    base = 5 + 172 * len(entries)
    for number, (name, data, level) in enumerate(entries, 1):
        packed = zlib.compress(data, level)
        start = base + len(data_part)
        data_part += packed
        headers += HEADER.pack(number, 37000.5, 1, base + len(data_part) - 1, short(name, 100),
                               5 + 172 * number, len(data), start, len(packed), 1, 0, short("", 20))
    return struct.pack("<iB", len(entries), 1) + bytes(headers) + bytes(data_part)


def main():
    os.makedirs(HERE, exist_ok=True)
    text = b"setup archive volume header entry install file " * 40
    seeds = {
        "two_files": layout0([("src\\a.txt", text, 9), ("src\\b.bin", bytes(range(256)) * 3, 1)]),
        "empty_entry": layout0([("empty.txt", b"", 6)]),
        "stored": layout0([("s.bin", bytes(range(200)), 0)]),
        "volume1": layout1([("a.txt", text, 9), ("b.txt", text[:300], 9)]),
        "no_entries": struct.pack("<iB", 0, 0),
    }
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
