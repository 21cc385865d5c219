# View, scan, the desktop link, the builder and UU-encode. Stand-ins record the command lines of the
# viewer, the scanner and the builder (scanner path quoted, builder unquoted); a viewed entry of no
# association reaches the viewer as a fresh copy equal to the entry, also after an extraction
# answered "No to All" and over a stale file of that name; the link read back through IShellLinkA has
# the target, arguments, folder and hot key, and without "Shell Folders\Desktop" no link lands in
# C:\; UU output decodes with uudecode, XX output through the program's own decoder; an existing
# output asks the overwrite question; an input that is its own output is refused.
scenario() {
  local lnkread
  lnkread=$(dirname "$standin")/app_lnkread.exe
  [ -f "$lnkread" ] || fail "app_lnkread.exe is not built"
  for p in viewer scanner morvixsfx; do cp "$standin" "$appdir/$p.exe"; done
  mkdir -p "$FX/v dir" "$FX/enc" "$OUT"
  (
    cd "$FX/v dir"
    printf 'the entry itself\n' >note.qqq
    head -c 3000 /dev/urandom >data.bin
    zip -q v.zip note.qqq data.bin
    cp v.zip w.zip
    cp note.qqq "$OUT/note.qqq"
    cd "$FX/enc"
    head -c 5000 /dev/urandom >in.bin
    head -c 4000 /dev/urandom >in2.bin
    printf 'begin 644 x\n`\nend\n' >x.uue
  )
  local user temp
  user=$(wine_run cmd /c echo %USERNAME%)
  temp=$(wine_run cmd /c echo %TEMP%)
  temp=$drive/${temp#C:\\}
  temp=${temp//\\//}
  mkdir -p "$temp"
  printf 'a stale copy\n' >"$temp/note.qqq"
  seed <<'REG'
[HKEY_CURRENT_USER\Software\Morvix Tools\Zip\Preferences\Programs]
"feditFileViewer_Text"="C:\\Program Files\\Morvix Zip\\viewer.exe"
"feditVirusScanner_Text"="C:\\Program Files\\Morvix Zip\\scanner.exe"
"editVirusParams_Text"="/scan"
REG
  drive tools_view.txt
  same_file "$FX/v dir/note.qqq" "$temp/note.qqq"
  [ "$(cat "$OUT/note.qqq")" = "the entry itself" ] || fail "No to All overwrote C:\\out\\note.qqq"
  # The viewer gets the temporary copy, quoted.
  grep -qF "\\Temp\\note.qqq\"" "$appdir/viewer.log" 2>/dev/null ||
    fail "the viewer got: $(cat "$appdir/viewer.log" 2>/dev/null)"
  [ "$(grep -c . "$appdir/viewer.log")" = 1 ] || fail "the viewer ran $(grep -c . "$appdir/viewer.log") times"
  [ "$(grep -c '/scan "C:\\fx\\v dir\\v.zip"$' "$appdir/scanner.log")" = 2 ] ||
    fail "the scanner got: $(cat "$appdir/scanner.log")"
  [ "$(tr -d '\r' <"$appdir/morvixsfx.log")" = 'morvixsfx.exe C:\fx\v dir\v.zip' ] ||
    fail "the builder got: $(cat "$appdir/morvixsfx.log")"
  local desk="$drive/users/$user/Desktop"
  [ -f "$desk/v.zip.lnk" ] || fail "no v.zip.lnk on the desktop"
  cp "$lnkread" "$drive/lnkread.exe"
  wine_run 'C:\lnkread.exe' 'C:\users\'"$user"'\Desktop\v.zip.lnk' >"$tmp/link.txt"
  # Wine 8.0's link reader skips the relative path the link holds and reads the next two strings one
  # place early (the working folder as the arguments), so the arguments are checked in the file too.
  printf '%s\n' 'target=C:\Program Files\Morvix Zip\MorvixZip.exe' 'folder=C:\fx\v dir' 'hotkey=635' \
    'description=Your Description' >"$tmp/link.want"
  grep -v '^arguments=' "$tmp/link.txt" | diff "$tmp/link.want" - >&2 || fail "the link holds other values"
  strings -e l "$desk/v.zip.lnk" | grep -qxF 'C:\fx\v dir\v.zip' || fail "the link's arguments are not the archive"
  # No "Shell Folders\Desktop": the link goes to the shell's desktop, never to the drive's root.
  wine_run reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v Desktop /f >/dev/null
  drive tools_link.txt
  [ ! -e "$drive/w.zip.lnk" ] || fail "the link landed in C:\\"
  [ -f "$desk/w.zip.lnk" ] || fail "no w.zip.lnk on the shell's desktop"
  drive tools_uu.txt
  (cd "$tmp" && rm -f in.bin && uudecode -o "$tmp/in.bin" "$FX/enc/in.UUE") || fail "uudecode failed"
  same_file "$FX/enc/in.bin" "$tmp/in.bin"
  same_file "$FX/enc/in2.bin" "$OUT/in2.bin"
}
