# Sorting by a number and by a date, then extracting the one entry selected: exactly that entry
# arrives, equal to the file it was made from, and the explorer is asked for the folder, quoted.
scenario() {
  mkdir -p "$FX/src"
  (
    cd "$FX/src"
    # Two files whose ratios are 9 and 10 percent: as texts "10%" would sort before "9%".
    python3 - "$here" <<'PY'
import os, random, re, subprocess, sys
sys.path.insert(0, sys.argv[1])
from oracle_rows import ratio
random.seed(7)
for want, name in ((9, "r9.bin"), (10, "r10.bin")):
    for zeros in range(200, 4000, 10):
        data = bytes(random.getrandbits(8) for _ in range(10000)) + b"\0" * zeros
        open(name, "wb").write(data)
        subprocess.run(["rm", "-f", "probe.zip"], check=True)
        subprocess.run(["zip", "-q", "probe.zip", name], check=True)
        info = subprocess.run(["zipinfo", "-v", "probe.zip"], capture_output=True, check=True).stdout.decode()
        if ratio(int(re.search(r"^\s+compressed size:\s+(\d+)", info, re.M).group(1)), len(data)) == want:
            break
    else:
        raise SystemExit("no file of ratio %d" % want)
os.remove("probe.zip")
PY
    printf 'plain\n' >a.txt
    seq 1 4000 >r55.txt
    # Dates across a century: by two-digit text 01 would come before 99.
    touch -d '2024-01-05 10:00' a.txt
    touch -d '1999-12-31 10:00' r9.bin
    touch -d '2001-02-03 10:00' r10.bin
    touch -d '2010-06-15 10:00' r55.txt
    zip -q ../sort.zip a.txt r9.bin r10.bin r55.txt
  )
  names_rows a.txt r9.bin r10.bin r55.txt >"$tmp/by_ratio.rows"
  names_rows r9.bin r10.bin r55.txt a.txt >"$tmp/by_date.rows"
  seed </dev/null
  drive sort_extract.txt
  [ "$(cd "$OUT" && ls -A)" = r10.bin ] || fail "C:\\out holds $(cd "$OUT" && ls -A | tr '\n' ' ') instead of r10.bin alone"
  same_file "$FX/src/r10.bin" "$OUT/r10.bin"
  local opened
  opened=$(cat "$appdir/explorer.log" 2>/dev/null || true)
  grep -qF 'explorer "C:\out\"' <<<"$opened" || fail "the explorer was started with \"$opened\", not the folder quoted"
}
