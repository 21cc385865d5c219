# Opening and listing: every readable type dropped on the list in one run, compared with the
# independent tools; a UU-encoded ZIP decoded or not; what the first start and the opens leave in the
# registry; the command line (a path split at its blanks, a trailing blank, "/EXTRACT", "/extract").
scenario() {
  local rows=$here/oracle_rows.py fixtures=$root/testing/fixtures
  mkdir -p "$FX/src/docs" "$FX/my files"
  (
    cd "$FX/src"
    printf 'hello\r\n' >a.txt
    seq 1 3000 >docs/numbers.txt
    printf 'x' >docs/one.bin
    head -c 5000 /dev/zero >stored.bin
    printf 'the secret\n' >secret.txt
    zip -q ../t.zip a.txt docs docs/numbers.txt docs/one.bin
    zip -q -e -P secret ../t.zip secret.txt
    printf 'first comment\n' | zip -q -c ../t.zip a.txt
    zip -q -0 ../t.zip stored.bin
    printf 'archive comment\n' | zip -q -z ../t.zip
    arj a -y ../t.arj a.txt docs/numbers.txt docs/one.bin >/dev/null
    lha aq ../t.lzh a.txt docs/numbers.txt
    tar cf ../t.tar a.txt docs
    gcab -c ../t.cab a.txt docs/numbers.txt
    gzip -c docs/numbers.txt >../numbers.txt.gz
    uuencode ../t.zip t.zip >../t.uue
    zip -q -r ../plain.zip a.txt docs
  )
  cp "$FX/t.zip" "$FX/my files/t.zip"
  cp "$fixtures/rar/rarfile/rar3-subdirs.rar" "$fixtures/zoo/unarc-rs/default.zoo" \
     "$fixtures/arc/unarc-rs/crunch.arc" "$fixtures/ha/unarc-rs/asc.ha" "$FX/"
  python3 "$rows" zipinfo "$FX/t.zip" >"$tmp/zip.rows"
  python3 "$rows" arj "$FX/t.arj" >"$tmp/arj.rows"
  python3 "$rows" lhasa "$FX/t.lzh" >"$tmp/lzh.rows"
  python3 "$rows" tar "$FX/t.tar" >"$tmp/tar.rows"
  python3 "$rows" gcab "$FX/t.cab" >"$tmp/cab.rows"
  python3 "$rows" gzip "$FX/numbers.txt.gz" >"$tmp/gz.rows"
  python3 "$rows" lsar "$FX/rar3-subdirs.rar" >"$tmp/rar.rows"
  python3 "$rows" lsar "$FX/default.zoo" >"$tmp/zoo.rows"
  python3 "$rows" lsar "$FX/crunch.arc" >"$tmp/arc.rows"
  python3 "$rows" manifest "$fixtures/ha/unarc-rs/asc.ha" "$fixtures/MANIFEST.md" >"$tmp/ha.rows"
  python3 "$rows" panels "$FX/t.zip" >"$tmp/zip.panels"
  printf '%s\n' 'C:\\fx\\t.zip    (*.*)' >"$tmp/zip.caption"
  printf '%s\n' 'C:\\fx\\t.uue    (*.*)' >"$tmp/uue.caption"
  printf '%s\n' 'C:\\fx\\my files\\t.zip    (*.*)' >"$tmp/split.caption"
  printf 't.zip\t*\t*\t*\t*\t*\t*\t\t*\t*\t*\t*\t*\t*\n' >"$tmp/uue.rows"

  seed <<'REG'
[HKEY_CURRENT_USER\Software\Morvix Tools\Zip\Preferences\Folders]
"rbStartupFolderFolder_Checked"="True"
"deditStartupFolder_Text"="C:\\gone\\"
REG
  # The start-up folder named there does not exist: the start goes on all the same.
  drive list_formats.txt
  # A first start writes the temporary folder; the opens fill the history and the recent list.
  [ -n "$(reg_value 'HKCU\Software\Morvix Tools\Zip\Preferences\Folders' deditTempFolder_Text)" ] ||
    fail "the first start wrote no deditTempFolder_Text"
  local history
  history=$(wine_run reg query 'HKCU\Software\Morvix Tools\Zip\History')
  for name in t.zip t.arj t.lzh t.uue; do
    grep -qiF "C:\\fx\\$name" <<<"$history" || fail "History lacks C:\\fx\\$name: $history"
  done
  local recent
  recent=$(wine_run reg query 'HKCU\Software\Morvix Tools\Zip\Preferences\Main\TfrmZipMain.mrumHistory')
  grep -qiF 'C:\fx\t.uue' <<<"$recent" || fail "the recent list lacks C:\\fx\\t.uue: $recent"

  drive list_split_path.txt
  drive list_tar_blank.txt
  drive list_ha.txt
  drive list_lower_switch.txt
  # "/EXTRACT": every entry in C:\out, equal to what unzip makes of the archive.
  drive list_extract_switch.txt
  mkdir -p "$tmp/ref"
  unzip -q "$FX/plain.zip" -d "$tmp/ref"
  diff -r "$tmp/ref" "$OUT" >/dev/null || fail "/EXTRACT gave $(cd "$OUT" && find . | sort | tr '\n' ' ') unlike unzip"
}

