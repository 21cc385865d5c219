#!/usr/bin/python3
"""An independent reader of the installation archive ("files.1" and its volumes), written from the
record layout alone: count (int32) and layout byte, 172-byte headers, one zlib stream per entry.

    container_reader.py ARCHIVE OUTDIR [OFFSET]

Inflates every entry with Python's zlib into OUTDIR (by the entry name's last part) and prints one line
per entry: number, name, original size, start and end volume, unique id, version. Exits 1 on damage.
"""
import os
import struct
import sys
import zlib

HEADER = struct.Struct("<i d B 3x i 101s 3x i i i i B 3x i 21s 3x")
assert HEADER.size == 172


def short_string(raw, capacity):
    return raw[1:1 + min(raw[0], capacity)].decode("latin-1")


def volume_path(archive, n):
    base, _ = os.path.splitext(archive)
    return "%s.%d" % (base, n)


def main():
    archive, outdir = sys.argv[1], sys.argv[2]
    offset = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    with open(archive, "rb") as f:
        f.seek(offset)
        count, layout = struct.unpack("<iB", f.read(5))
        headers = []
        pos = offset + 5
        for _ in range(count):
            f.seek(pos)
            (number, date, end_vol, last_byte, name, next_hdr, size, start, csize, start_vol, uid,
             version) = HEADER.unpack(f.read(172))
            headers.append(dict(number=number, end_vol=max(end_vol, 1), last=last_byte, name=short_string(name, 100),
                                size=size, start=start, csize=csize, start_vol=max(start_vol, 1), uid=uid,
                                version=short_string(version, 20)))
            pos = offset + next_hdr
    os.makedirs(outdir, exist_ok=True)
    for h in headers:
        data = b""
        for vol in range(h["start_vol"], h["end_vol"] + 1):
            path = archive if layout == 0 else volume_path(archive, vol)
            base = offset if vol == 1 else 0
            with open(path, "rb") as f:
                begin = base + (h["start"] if vol == h["start_vol"] else 0)
                f.seek(begin)
                if vol == h["end_vol"]:
                    data += f.read(base + h["last"] - begin + 1)
                else:
                    data += f.read()
        plain = zlib.decompress(data)
        if len(plain) != h["size"]:
            print("size mismatch in", h["name"], file=sys.stderr)
            return 1
        target = os.path.join(outdir, h["name"].replace("\\", "/").split("/")[-1])
        with open(target, "wb") as out:
            out.write(plain)
        print("%d %s %d %d %d %d %s" % (h["number"], h["name"], h["size"], h["start_vol"], h["end_vol"], h["uid"],
                                        h["version"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())
