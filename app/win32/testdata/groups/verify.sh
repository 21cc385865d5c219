# Verify: "/CHECK" on a ZIP with a damaged entry, its path split at its blanks, against unzip -t; a
# cabinet, which the tester cannot read, refused with a message although cabextract finds it sound;
# the Verify button follows the archive field; "/check" in lower case is no switch, and the menu's
# verify without an open archive starts with an empty field.
scenario() {
  mkdir -p "$FX/src" "$FX/my files"
  (
    cd "$FX/src"
    seq 1 3000 >d1.txt
    seq 3001 6000 >d2.txt
    seq 6001 9000 >d3.txt
    zip -q "../my files/damaged.zip" d1.txt d2.txt d3.txt
    gcab -c ../good.cab d1.txt d2.txt
  )
  # A byte inside the second entry's data changes; its CRC no longer holds.
  damage_entry "$FX/my files/damaged.zip" d2.txt
  # The oracles: unzip -t's verdict per entry gives the dialog's lines; the cabinet is sound.
  (unzip -t "$FX/my files/damaged.zip" || true) | sed -n 's/^ *testing: *\([^ ]*\) .*$/\1/p' >"$tmp/tested.names"
  (unzip -t "$FX/my files/damaged.zip" || true) | awk '/testing:/ { print $2, ($NF == "OK" ? "...Ok" : "...Failed") }' >"$tmp/verdicts"
  [ "$(wc -l <"$tmp/verdicts")" = 3 ] || fail "unzip -t tested $(wc -l <"$tmp/verdicts") entries"
  grep -q '^d2.txt ...Failed$' "$tmp/verdicts" || fail "unzip -t does not find d2.txt damaged: $(cat "$tmp/verdicts")"
  while read -r name verdict; do
    printf 'Verifying:  %s\n%s %s\n' "$name" "$name" "$verdict"
  done <"$tmp/verdicts" >"$tmp/damaged.log"
  cabextract -t "$FX/good.cab" >/dev/null || fail "cabextract -t finds good.cab damaged"
  seed </dev/null
  drive verify_check.txt
  drive verify_menu.txt
}
