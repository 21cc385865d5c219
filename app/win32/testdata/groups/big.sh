# An archive of 100,000 empty entries: listed with the window answering meanwhile, sorted by name with
# the last row extracted; a run stopped by a click on the busy indicator, and one stopped by closing
# the window, which then ends the program.
scenario() {
  # Python's zipfile writes the entries in a shuffled order, so the last row by name is not the last
  # entry of the archive.
  python3 - "$FX/big.zip" <<'PY'
import random, sys, zipfile
names = ["f%06d.txt" % i for i in range(100000)]
random.Random(5).shuffle(names)
with zipfile.ZipFile(sys.argv[1], "w") as z:
    for n in names:
        z.writestr(n, b"")
PY
  [ "$(unzip -l "$FX/big.zip" | tail -n 1 | awk '{print $2}')" = 100000 ] || fail "unzip -l does not count 100000 entries"
  printf 'ZIP       \nFiles: 100000\n*\n*\n*\n' >"$tmp/big.panels"
  seed </dev/null
  drive big_list.txt
  [ -f "$OUT/f099999.txt" ] || fail "the last row by name, f099999.txt, was not extracted"
  local count
  count=$(find "$OUT" -type f | wc -l)
  # The run was on (the script saw its commands disabled); how far it got before the click depends on
  # the machine's load, from none of its files to many.
  [ "$count" -lt 100000 ] ||
    fail "the run stopped by the busy indicator left $count files (it should have stopped partway)"
  rm -rf "$OUT" && mkdir -p "$OUT"
  drive big_close.txt
  count=$(find "$OUT" -type f | wc -l)
  [ "$count" -lt 100000 ] || fail "closing the window did not stop the extraction ($count files)"
}
