# Adding and moving: files from the Add Files dialog (dragged from its shell list, found by Find
# Files), two adds in a row, a folder drop answered Yes, a file already stored kept on No, a move and
# a move into a read-only archive. Checked with unzip and zipinfo.
scenario() {
  mkdir -p "$FX/one" "$FX/find/sub" "$FX/d1/deep" "$FX/d2" "$FX/mv" "$FX/ro"
  (
    cd "$FX"
    printf 'keep\n' >keep.txt
    zip -q base.zip keep.txt
    rm keep.txt
    printf 'one\n' >one/one.txt
    printf 'found one\n' >find/f1.txt
    printf 'found two\n' >find/sub/f2.txt
    printf 'not found\n' >find/skip.dat
    printf 'in d1\n' >d1/x1.txt
    printf 'deep in d1\n' >d1/deep/x2.txt
    printf 'in d2\n' >d2/y1.txt
    printf 'moved\n' >mv/m1.txt
    printf 'stays\n' >ro/r1.txt
    cp base.zip ro.zip
    touch -d '2020-03-04 05:06' one/one.txt find/f1.txt find/sub/f2.txt
  )
  chmod a-w "$FX/ro.zip"
  printf '%s\t\n' 'C:\\fx\\find\\f1.txt' 'C:\\fx\\find\\sub\\f2.txt' >"$tmp/found.rows"
  seed </dev/null
  drive add_files.txt
  zip_names "$FX/base.zip" keep.txt /fx/one/one.txt /fx/find/f1.txt /fx/find/sub/f2.txt
  unzip -tq "$FX/base.zip" >/dev/null || fail "unzip -t fails on base.zip"

  # The same file again, answered No: the stored entry stays as it was.
  local before
  before=$(zipinfo -l "$FX/base.zip")
  printf 'one, changed\n' >"$FX/one/one.txt"
  touch -d '2021-05-06 07:08' "$FX/one/one.txt"
  printf '%s\n' 'Replace:\r\\fx\\one\\one.txt\rSize: 4\rDate: 03-04-20 05:06\rAttr: 32\r\rWith:\rC:\\fx\\one\\\\fx\\one\\one.txt\rSize: 13\rDate: 05-06-21 07:08\rAttr: 32' >"$tmp/replace.question"
  drive add_replace.txt
  [ "$(zipinfo -l "$FX/base.zip")" = "$before" ] || fail "the stored one.txt changed on No"

  # Two folders dropped: one question; their whole trees follow the command. A move takes exactly
  # its source; a move into a read-only archive takes nothing.
  drive add_folders.txt
  zip_names "$FX/base.zip" keep.txt /fx/one/one.txt /fx/find/f1.txt /fx/find/sub/f2.txt \
    /fx/d1/x1.txt /fx/d1/deep/x2.txt /fx/d2/y1.txt /fx/mv/m1.txt
  unzip -tq "$FX/base.zip" >/dev/null || fail "unzip -t fails on base.zip after the folders"
  [ ! -e "$FX/mv/m1.txt" ] || fail "the moved m1.txt is still on disk"
  [ -e "$FX/one/one.txt" ] && [ -e "$FX/d1/x1.txt" ] || fail "an added (not moved) file is gone"
  [ -e "$FX/ro/r1.txt" ] || fail "a move into a read-only archive removed its source"
  zip_names "$FX/ro.zip" keep.txt
}
