#!/usr/bin/env python3
"""The rows the archive manager's list must show for an archive, made from what an independent tool
says about it, in the form the automation endpoint sends them: one row per entry in archive order,
the fourteen columns separated by tabs, every cell escaped (a backslash doubled), and "*" for a cell
the tool does not tell.

    oracle_rows.py FORMAT ARCHIVE [MANIFEST]

FORMAT is zipinfo (every column, from zipinfo -v), lsar (lsar -j), arj (arj v), lhasa (lhasa v),
tar (tar -tvf), gzip (gzip -lv), gcab (gcab -lv) or manifest (an HA archive's entries as the fixture
manifest records them); "panels" gives instead a ZIP archive's five status panels from zipinfo -v. Columns: Name, Date / Time, Packed, UnPacked, Ratio, Method, Attr, Folder,
File Type, CRC, File Offset, Encrypted, Volumne Id, Comments.
"""
import json
import re
import subprocess
import sys

ANY = "*"


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout.decode("latin-1")


def escape(cell):
    return cell.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def ratio(packed, unpacked):
    """The percentage saved, as the engine computes it."""
    if packed <= 0 or unpacked <= 0 or packed >= unpacked:
        return 0
    if unpacked - packed > 100000:
        packed //= 100
        unpacked //= 100
        if unpacked == 0:
            return 0
    r = (unpacked - packed) * 100 // unpacked
    return 1 if r == 0 else min(r, 100)


def split_name(stored):
    stored = stored.replace("/", "\\")
    cut = stored.rfind("\\")
    return (stored, "") if cut < 0 else (stored[cut + 1:], stored[:cut + 1])


def row(stored, date=ANY, packed=None, unpacked=None, method=ANY, attr=ANY, crc=ANY, offset=ANY,
        encrypted=ANY, volume=ANY, comment=ANY):
    name, folder = split_name(stored)
    if not stored.isascii():
        # lsar decodes Unicode names; the program shows them in the ANSI code page.
        name = folder = ANY
    cells = [name, date, ANY if packed is None else str(packed), ANY if unpacked is None else str(unpacked),
             ANY if packed is None or unpacked is None else "%d%%" % ratio(packed, unpacked), method, attr,
             folder, ANY, crc, offset, encrypted, volume, comment]
    return "\t".join(c if c == ANY else escape(c) for c in cells)


MONTHS = {m: i + 1 for i, m in enumerate("Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split())}


def zipinfo_rows(archive):
    text = run("zipinfo", "-v", archive)
    rows = []
    for block in re.split(r"\n(?=Central directory entry #\d+:)", text)[1:]:
        lines = block.split("\n")
        # The name is the first line of the entry but for zipinfo's note on a gap before it.
        stored = next(line.strip() for line in lines[2:] if line.strip() and not line.startswith("  There are an extra"))
        field = {}
        for line in lines:
            m = re.match(r"\s+(.+?):\s+(.*)$", line)
            if m:
                field.setdefault(m.group(1), m.group(2).strip())
        y, mon, d, hms = field["file last modified on (DOS date/time)"].split()
        date = "%02d-%02d-%02d %s" % (MONTHS[mon], int(d), int(y) % 100, hms[:5])
        method = field["compression method"]
        if method == "none (stored)":
            method = "Stored"
        elif method == "deflated":
            sub = field.get("compression sub-type (deflation)", "normal")
            method = {"normal": "DeflateN", "maximum": "DeflateX", "fast": "DeflateF", "superfast": "DeflateS"}[sub]
        unix = re.search(r"Unix file attributes \((\d+) octal\)", block)
        dos = int(re.search(r"MS-DOS file attributes \(([0-9a-fA-F]+) hex\)", block).group(1), 16)
        attr = str((int(unix.group(1), 8) << 16) | dos if unix else dos)
        offset = field["offset of local header from start of archive"].split()[0]
        encrypted = "Yes" if field["file security status"] == "encrypted" else "No"
        comment = ""
        if "------------------------- file comment begins" in block:
            comment = block.split("file comment begins ----------------------------\n")[1]
            comment = comment.split("\n-------------------------- file comment ends")[0]
        rows.append(row(stored, date, int(field["compressed size"].split()[0]),
                        int(field["uncompressed size"].split()[0]), method, attr,
                        field["32-bit CRC value (hex)"].upper().rjust(8, "0"), offset, encrypted, "", comment))
    return rows


def lsar_rows(archive):
    """Folders as they are stored, without a "/" of their own."""
    info = json.loads(run("lsar", "-j", archive))
    rows = []
    for e in info["lsarContents"]:
        crc = next((v for k, v in e.items() if k.endswith("CRC32") or k.endswith("CRC16")), None)
        crc = ANY if crc is None else "%08X" % crc
        stored = e["XADFileName"]
        rows.append(row(stored, packed=e.get("XADCompressedSize"), unpacked=e.get("XADFileSize"), crc=crc,
                        encrypted="Yes" if e.get("XADIsEncrypted") else "No"))
    return rows


def arj_rows(archive):
    lines = run("arj", "v", archive).split("\n")
    rows = []
    for i, line in enumerate(lines):
        m = re.match(r"\d{3}\) (.*)$", line)
        if m:
            fields = lines[i + 1].split()
            rows.append(row(m.group(1), packed=int(fields[3]), unpacked=int(fields[2])))
    return rows


def lhasa_rows(archive):
    rows = []
    for line in run("lhasa", "v", archive).split("\n"):
        m = re.match(r"\S+\s+(?:\d+/\d+\s+)?(\d+)\s+(\d+)\s+\S+\s+(-\w+-)\s+([0-9a-f]{4})\s+\w{3}\s+\d+\s+\S+\s+(.*)$", line)
        if m and not line.startswith(" Total"):
            rows.append(row(m.group(5), packed=int(m.group(1)), unpacked=int(m.group(2)), crc=m.group(4).upper().rjust(8, "0")))
    return rows


def tar_rows(archive):
    """Files and hard links: the lister reports no other TAR entries."""
    rows = []
    for line in run("tar", "-tvf", archive).split("\n"):
        m = re.match(r"[-h]\S+\s+\S+\s+(\d+)\s+(\d{4})-(\d\d)-(\d\d) (\d\d:\d\d) (.*)$", line)
        if m:
            size = int(m.group(1))
            date = "%s-%s-%s %s" % (m.group(3), m.group(4), m.group(2)[2:], m.group(5))
            rows.append(row(m.group(6), date, size, size))
    return rows


def gzip_rows(archive):
    rows = []
    for line in run("gzip", "-lv", archive).split("\n")[1:]:
        f = line.split()
        if len(f) >= 9:
            rows.append(row(" ".join(f[8:]).rsplit("/", 1)[-1], unpacked=int(f[6]), crc=f[1].upper()))
    return rows


def gcab_rows(archive):
    rows = []
    for line in run("gcab", "-lv", archive).split("\n"):
        m = re.match(r"(.*) (\d+) (\d{4})-(\d\d)-(\d\d) (\d\d:\d\d):\d\d 0x[0-9a-f]+$", line)
        if m:
            date = "%s-%s-%s %s" % (m.group(4), m.group(5), m.group(3)[2:], m.group(6))
            rows.append(row(m.group(1), date, unpacked=int(m.group(2))))
    return rows


def zip_panels(archive):
    """The five status panels of a ZIP archive from zipinfo's entries, one row each."""
    text = run("zipinfo", "-v", archive)
    packed = sum(int(x) for x in re.findall(r"^\s+compressed size:\s+(\d+) bytes", text, re.M))
    unpacked = sum(int(x) for x in re.findall(r"^\s+uncompressed size:\s+(\d+) bytes", text, re.M))
    count = len(re.findall(r"^Central directory entry #", text, re.M))
    return ["ZIP       ", "Files: %d" % count, "Compressed: %d" % packed, "UnCompressed: %d" % unpacked,
            "Ratio: %d%%" % ratio(packed, unpacked)]


def manifest_rows(archive, manifest):
    """HA: no tool here reads it; the fixture manifest records what each entry holds."""
    text = open(manifest, encoding="utf-8").read()
    name = archive.replace("\\", "/").split("/testing/fixtures/")[-1]
    section = text.split("**`%s`**" % name)[1].split("\n- **`")[0]
    rows = []
    for m in re.finditer(r"name b'([^']*)' packed (\d+) size (\d+) CRC32 ([0-9a-f]+)", section):
        rows.append(row(m.group(1), packed=int(m.group(2)), unpacked=int(m.group(3)), crc=m.group(4).upper()))
    return rows


def main():
    kind, archive = sys.argv[1], sys.argv[2]
    make = {"zipinfo": zipinfo_rows, "lsar": lsar_rows, "arj": arj_rows, "lhasa": lhasa_rows, "tar": tar_rows,
            "gzip": gzip_rows, "gcab": gcab_rows, "panels": zip_panels}
    rows = manifest_rows(archive, sys.argv[3]) if kind == "manifest" else make[kind](archive)
    if not rows:
        sys.exit("oracle_rows: %s says nothing about %s" % (kind, archive))
    sys.stdout.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
