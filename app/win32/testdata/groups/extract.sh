# Extraction's questions and faults: the overwrite answers, right, wrong and cancelled passwords, a
# damaged entry among good ones, ARJ volumes side by side and one missing, and a hostile archive
# whose names point outside the destination.
scenario() {
  mkdir -p "$FX/src" "$FX/vols"
  (
    cd "$FX/src"
    for f in a1 a2 a3 a4 a5 b1 b2 b3 c1 c2; do printf 'new %s\n' "$f" >"$f.txt"; done
    zip -q ../answers_a.zip a1.txt a2.txt a3.txt a4.txt a5.txt
    zip -q ../answers_b.zip b1.txt b2.txt b3.txt
    zip -q ../answers_c.zip c1.txt c2.txt
    printf 'first secret\n' >secret1.txt
    printf 'second secret\n' >secret2.txt
    zip -q -e -P secret ../secret1.zip secret1.txt
    zip -q -e -P other ../secret2.zip secret2.txt
    seq 1 3000 >d1.txt
    seq 3001 6000 >d2.txt
    seq 6001 9000 >d3.txt
    zip -q ../damaged.zip d1.txt d2.txt d3.txt
    head -c 90000 /dev/urandom >big.bin
    cp big.bin ../vols/big.bin
    cd ../vols
    arj a -y -v30k whole.arj big.bin >/dev/null
    arj a -y -v30k gap.arj big.bin >/dev/null
    mv gap.a01 gap.x01
    rm big.bin
  )
  # A byte inside the second entry's data changes; its CRC no longer holds.
  damage_entry "$FX/damaged.zip" d2.txt
  # Names that leave the destination: Info-ZIP's zip strips them, Python's zipfile writes them.
  python3 - "$FX/hostile.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("../escaped.txt", "up one\n")
    z.writestr("..\\\\escaped2.txt", "up one, backslash\n")
    z.writestr("C:\\\\rooted.txt", "drive root\n")
    z.writestr("/abs.txt", "absolute\n")
    z.writestr("inside.txt", "stays\n")
PY
  # What was there before: the answers leave these old files or replace them.
  for f in a1 a2 a3 a4 a5 b1 b2 b3 c1 c2; do printf 'old %s\n' "$f" >"$OUT/$f.txt"; done
  find "$drive" -path "$drive/windows" -prune -o -path "$drive/users" -prune -o -print | sort >"$tmp/before.files"
  seed </dev/null
  cp "$here/extract.log" "$tmp/"
  drive extract.txt

  # Overwrite: Yes, No, Yes to All in the first command; No to All at once in the second; the
  # question's window closed in the third.
  local f want
  for f in a1 a2 a3 a4 a5 b1 b2 b3 c1 c2; do
    case $f in a1|a3|a4|a5) want="new $f" ;; *) want="old $f" ;; esac
    [ "$(cat "$OUT/$f.txt")" = "$want" ] || fail "C:\\out\\$f.txt holds \"$(cat "$OUT/$f.txt")\", not \"$want\""
  done
  same_file "$FX/src/secret1.txt" "$OUT/secret1.txt"
  [ ! -e "$OUT/secret2.txt" ] || fail "a cancelled password still wrote secret2.txt"
  # The damaged d2.txt is reported in the log ("Extract failed"); the entries after it extract.
  same_file "$FX/src/d1.txt" "$OUT/d1.txt"
  same_file "$FX/src/d3.txt" "$OUT/d3.txt"
  same_file "$FX/src/big.bin" "$OUT/big.bin"
  # Nothing outside C:\out, which holds only what the scenarios extracted.
  find "$drive" -path "$drive/windows" -prune -o -path "$drive/users" -prune -o -print | sort >"$tmp/after.files"
  local outside
  outside=$(comm -13 "$tmp/before.files" "$tmp/after.files" | grep -v "^$OUT/" | grep -v "/explorer.log$" || true)
  [ -z "$outside" ] || fail "files written outside C:\\out: $outside"
  [ ! -e "$(dirname "$drive")/escaped.txt" ] || fail "the hostile archive wrote beside C:"
}
