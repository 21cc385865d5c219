# Deleting: after a sort, exactly the selected entries go; a folder entry takes only itself; an add
# afterwards brings nothing deleted back; deleting every entry removes the file. A cabinet refuses
# adds and deletes and stays as it was; an add to an LHA archive lists each entry once.
scenario() {
  mkdir -p "$FX/src/dir" "$FX/new"
  (
    cd "$FX/src"
    for f in a b c; do printf 'file %s\n' "$f" >"$f.txt"; done
    printf 'in dir\n' >dir/x.txt
    zip -q ../del.zip a.txt b.txt c.txt dir dir/x.txt
    zip -q ../all.zip a.txt b.txt
    gcab -c ../t.cab a.txt b.txt
    lha aq ../t.lzh a.txt
    printf 'new\n' >../new/n.txt
  )
  cp "$FX/t.cab" "$tmp/t.cab"
  names_rows x.txt c.txt b.txt a.txt '' >"$tmp/sorted.rows"
  names_rows a.txt b.txt '' x.txt >"$tmp/deleted.rows"
  names_rows a.txt b.txt x.txt >"$tmp/nofolder.rows"
  names_rows a.txt b.txt x.txt n.txt >"$tmp/added.rows"
  names_rows a.txt b.txt >"$tmp/cab.rows"
  names_rows a.txt n.txt >"$tmp/lzh.rows"
  seed </dev/null
  drive delete.txt
  zip_names "$FX/del.zip" a.txt b.txt dir/x.txt /fx/new/n.txt
  unzip -tq "$FX/del.zip" >/dev/null || fail "unzip -t fails on del.zip"
  [ ! -e "$FX/all.zip" ] || fail "all.zip is still there with no entry left"
  cmp -s "$FX/t.cab" "$tmp/t.cab" || fail "the cabinet changed"
  cabextract -l "$FX/t.cab" | grep -q 'b.txt' || fail "the cabinet lost b.txt"
  lhasa t "$FX/t.lzh" >/dev/null 2>&1 || fail "lhasa t fails on t.lzh"
  [ "$(lhasa l "$FX/t.lzh" | grep -c 'a.txt\|n.txt')" = 2 ] || fail "t.lzh: $(lhasa l "$FX/t.lzh")"
}
