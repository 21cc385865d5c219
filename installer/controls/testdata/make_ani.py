#!/usr/bin/env python3
"""Wraps icon and cursor files into an animated cursor (RIFF form "ACON").

    make_ani.py OUT --rates 6,12 --seq 0,1,0 [--frames N] [--title T] [--author A] [--split] ICON...

--rates and --seq give one entry per step; --split writes each entry as a chunk of its own instead of
one array. --frames overrides the header's frame count (default: the number of icons).
"""
import argparse
import struct


def chunk(ident, data):
    pad = b"\0" if len(data) % 2 else b""
    return ident + struct.pack("<I", len(data)) + data + pad


def main():
    p = argparse.ArgumentParser()
    p.add_argument("out")
    p.add_argument("icons", nargs="+")
    p.add_argument("--rates", default="")
    p.add_argument("--seq", default="")
    p.add_argument("--frames", type=int)
    p.add_argument("--rate", type=int, default=10, help="the header's default rate")
    p.add_argument("--title")
    p.add_argument("--author")
    p.add_argument("--split", action="store_true")
    a = p.parse_args()
    rates = [int(v) for v in a.rates.split(",") if v]
    seq = [int(v) for v in a.seq.split(",") if v]
    frames = a.frames if a.frames is not None else len(a.icons)
    steps = len(seq) or len(rates) or frames
    # header size, frames, steps, width, height, bit count, planes, default rate, flags (icons; sequence)
    flags = 1 | (2 if seq else 0)
    body = chunk(b"anih", struct.pack("<9I", 36, frames, steps, 0, 0, 0, 0, a.rate, flags))
    info = b""
    if a.title is not None:
        info += chunk(b"INAM", a.title.encode() + b"\0")
    if a.author is not None:
        info += chunk(b"IART", a.author.encode() + b"\0")
    if info:
        body += chunk(b"LIST", b"INFO" + info)
    for name, values in ((b"rate", rates), (b"seq ", seq)):
        if not values:
            continue
        if a.split:
            for v in values:
                body += chunk(name, struct.pack("<I", v))
        else:
            body += chunk(name, struct.pack("<%dI" % len(values), *values))
    fram = b"fram"
    for path in a.icons:
        with open(path, "rb") as f:
            fram += chunk(b"icon", f.read())
    body += chunk(b"LIST", fram)
    with open(a.out, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + len(body)) + b"ACON" + body)


if __name__ == "__main__":
    main()
