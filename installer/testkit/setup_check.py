#!/usr/bin/python3
"""Independent checks of what the setup program's build writes, from the record layouts alone.

    setup_check.py record SETUP_EXE LOADER SETUP1 [FILES1]
        The self-extracting file is the loader, setup.1 and files.1 (when given) byte for byte, then the
        56-byte extraction record ("SELFEXTRACTING" with its length byte, then the first and last byte
        of setup.1 and of files.1, zero when there is none). Prints "setup START END files START END".
    setup_check.py filelist FILELIST_LST
        The remote file list: an int32 count, then 72-byte records (size, date, component name, file
        version). Prints one "name size version" line per record.
Exits 1 with a message on any difference.
"""
import os
import struct
import sys


def fail(text):
    print("setup_check: " + text, file=sys.stderr)
    sys.exit(1)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def record(setup_exe, loader, setup1, files1=None):
    whole, head, s1 = read(setup_exe), read(loader), read(setup1)
    f1 = read(files1) if files1 else b""
    rec = whole[-56:]
    if rec[:15] != b"\x0eSELFEXTRACTING" or rec[15] != 0 or any(rec[32:]):
        fail("no extraction record at the end of %s" % setup_exe)
    s_start, s_end, f_start, f_end = struct.unpack("<4i", rec[16:32])
    if s_start != len(head) or s_end != len(head) + len(s1) - 1:
        fail("setup.1 is recorded at %d..%d, expected %d..%d" % (s_start, s_end, len(head), len(head) + len(s1) - 1))
    expect_files = (s_end + 1, s_end + len(f1)) if f1 else (0, 0)
    if (f_start, f_end) != expect_files:
        fail("files.1 is recorded at %d..%d, expected %d..%d" % (f_start, f_end) + expect_files)
    if whole != head + s1 + f1 + rec:
        fail("%s is not the loader, setup.1, files.1 and the record" % setup_exe)
    print("setup %d %d files %d %d" % (s_start, s_end, f_start, f_end))


def filelist(path):
    data = read(path)
    if len(data) < 4:
        fail("%s is shorter than its count" % path)
    (count,) = struct.unpack("<i", data[:4])
    if len(data) != 4 + 72 * count:
        fail("%s holds %d bytes for %d records" % (path, len(data), count))
    for i in range(count):
        size, _date, name, version = struct.unpack("<id40s20s", data[4 + 72 * i:4 + 72 * (i + 1)])
        print("%s %d %s" % (name.split(b"\0")[0].decode("latin-1"), size, version.split(b"\0")[0].decode("latin-1")))


if __name__ == "__main__":
    if len(sys.argv) >= 5 and sys.argv[1] == "record":
        record(*sys.argv[2:])
    elif len(sys.argv) == 3 and sys.argv[1] == "filelist":
        filelist(sys.argv[2])
    else:
        fail("usage: see the module's text")
