#!/usr/bin/python3
"""Prints a PE file's version resource as an independent reader (python3-pefile) sees it:
"FileVersion=a.b.c.d" from the fixed information, then "Key=Value" for each string of the first table."""
import sys

import pefile


def main():
    pe = pefile.PE(sys.argv[1], fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    fixed = pe.VS_FIXEDFILEINFO[0]
    print("FileVersion=%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                                        fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF))
    print("FileOS=0x%X" % fixed.FileOS)
    for info in pe.FileInfo[0] if pe.FileInfo else []:
        if getattr(info, "Key", b"") == b"StringFileInfo":
            for table in info.StringTable:
                for key, value in table.entries.items():
                    print("%s=%s" % (key.decode("latin-1"), value.decode("latin-1")))
                break


if __name__ == "__main__":
    main()
