# The commands on the open archive file and the log pane, help and about: move to the drive's root,
# rename, copy into a folder the program cannot write (no success shown) and into one it can, delete
# through the shell with its confirmation answered; the log saved beside an archive in a folder with a
# dot in its name; help calls recorded. The disk (ls, cmp) is the oracle.
scenario() {
  mkdir -p "$FX/src" "$drive/v1.2" "$drive/ro"
  (
    cd "$FX/src"
    printf 'hello\r\n' >a.txt
    seq 1 3000 >numbers.txt
    zip -q ../t.zip a.txt numbers.txt
  )
  cp "$FX/t.zip" "$drive/v1.2/a.zip"
  cp "$FX/t.zip" "$tmp/t.zip"
  # A folder the program cannot write into, made so from the Linux side: without write permission,
  # and immutable as well when the tests run as root, whom permissions do not stop.
  chmod 555 "$drive/ro"
  trap 'chattr -i "$drive/ro" 2>/dev/null; chmod 755 "$drive/ro"; cleanup' EXIT
  if touch "$drive/ro/probe" 2>/dev/null; then
    rm -f "$drive/ro/probe"
    chattr +i "$drive/ro" 2>/dev/null || true
  fi
  ! touch "$drive/ro/probe" 2>/dev/null || fail "cannot make C:\\ro unwritable here"
  # Deleting through the shell moves the file to the trash: keep it inside the test's folder.
  export XDG_DATA_HOME=$tmp/xdg
  seed </dev/null
  cp "$here/file_commands.log" "$tmp/"
  drive file_commands.txt
  chattr -i "$drive/ro" 2>/dev/null || true
  chmod 755 "$drive/ro"
  [ ! -e "$FX/t.zip" ] || fail "the moved archive is still in C:\\fx"
  [ ! -e "$drive/t.zip" ] || fail "the renamed archive still has its old name"
  [ -z "$(ls -A "$drive/ro")" ] || fail "the copy into C:\\ro wrote $(ls -A "$drive/ro")"
  same_file "$tmp/t.zip" "$OUT/u.zip"
  [ ! -e "$drive/u.zip" ] || fail "the deleted archive is still there"
  # The saved log holds the log pane's lines as the window showed them.
  # (fwdrive printed the pane's rows, cells escaped, when the script asked for them.)
  tr -d '\r' <"$tmp/fwdrive.log" | sed -n '/rows frmZipMain.memLog$/,/^fwdrive: line/p' |
    sed -n 's/^    //p' | sed 's/\\\\/\\/g' >"$tmp/pane.lines"
  [ -s "$tmp/pane.lines" ] || fail "the log pane was empty"
  tr -d '\r' <"$OUT/saved.log" | diff "$tmp/pane.lines" - >/dev/null ||
    fail "the saved log differs from the pane: $(tr -d '\r' <"$OUT/saved.log" | diff "$tmp/pane.lines" -)"
}
