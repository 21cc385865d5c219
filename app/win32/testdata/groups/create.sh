# New archives from the "New" page and opening from the "Existing" and "Recent" pages: a ZIP with a
# password (a later add to another ZIP is not encrypted), a cabinet, an LHA archive named ".zip", a
# BlackHole archive (no independent reader here: it goes back through our own lister and extractor),
# "New" onto an existing name answered No, and "Open" with no archive named.
scenario() {
  mkdir -p "$FX/src" "$FX/new" "$FX/open"
  (
    cd "$FX"
    printf 'the source\n' >src/s.txt
    printf 'other\n' >o.txt
    zip -q other.zip o.txt
    zip -q open/o.zip o.txt
    lha aq open/q.lzh o.txt
    cp o.txt open/t.txt
    rm o.txt
  )
  printf 'o.zip\t*\t*\t*\n' >"$tmp/open.rows"
  seed </dev/null
  drive create_new.txt
  unzip -P pw -tq "$FX/new/p.zip" >/dev/null || fail "unzip -P pw -t fails on p.zip"
  ! unzip -P wrong -tq "$FX/new/p.zip" >/dev/null 2>&1 || fail "p.zip is not encrypted"
  unzip -tq "$FX/other.zip" </dev/null >/dev/null || fail "unzip -t without a password fails on other.zip"
  zip_names "$FX/other.zip" o.txt /fx/src/s.txt
  cabextract -t "$FX/new/x.cab" >/dev/null || fail "cabextract -t fails on x.cab"
  cabextract -l "$FX/new/x.cab" | grep -q 's.txt' || fail "x.cab lacks s.txt"
  [ ! -e "$FX/new/a.zip" ] || fail "the LHA archive was named a.zip"
  lhasa l "$FX/new/a.lha" | grep -q 's.txt' || fail "lhasa l does not list s.txt in a.lha"
  lhasa t "$FX/new/a.lha" >/dev/null 2>&1 || fail "lhasa t fails on a.lha"
  cp "$FX/new/x.cab" "$tmp/x.cab"
  drive create_open.txt
  cmp -s "$FX/new/x.cab" "$tmp/x.cab" || fail "x.cab changed although the question was answered No"
  same_file "$FX/src/s.txt" "$OUT/fx/src/s.txt"
}
