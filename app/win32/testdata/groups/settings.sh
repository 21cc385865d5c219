# Settings: the default-viewer question against a seeded association of another program (reg query
# as the oracle); the options dialog's Cancel (reg export unchanged) and OK (values written, applied at
# once and after a restart); the View menu's states in section "Main"; the options dialog's own
# size and place after the main window was resized.
scenario() {
  local cr='HKCR' prefs='HKCU\Software\Morvix Tools\Zip\Preferences'
  mkdir -p "$FX/src"
  (
    cd "$FX/src"
    printf 'hello\r\n' >a.txt
    seq 1 3000 >numbers.txt
    zip -q ../t.zip a.txt numbers.txt
  )
  python3 "$here/oracle_rows.py" zipinfo "$FX/t.zip" >"$tmp/zip.rows"
  cut -f1,3- "$tmp/zip.rows" >"$tmp/nodate.rows"
  reg_default() { wine_run reg query "$1" /ve | sed -n 's/^ *([^)]*) *REG_[A-Z_]* *//p'; }
  local exe='C:\Program Files\Morvix Zip\MorvixZip.exe'
  # What the prefix has for the extensions nobody seeds: they must stay as they are.
  local ext before=$tmp/untouched.before after=$tmp/untouched.after
  for ext in lha bh arc arj cab rar gzip gz tar uue zoo; do
    printf '%s: %s\n' "$ext" "$(wine_run reg query "HKCR\\.$ext" /s 2>/dev/null | sort)"
  done >"$before"

  # Another program's ZIP association; the question is asked (no "Ask Default" stored) and "Yes".
  seed <<'REG'
[HKEY_CLASSES_ROOT\.zip]
@="zipfile"

[HKEY_CLASSES_ROOT\zipfile]
@="ZIP archive"

[HKEY_CLASSES_ROOT\zipfile\DefaultIcon]
@="C:\\other\\z.exe,1"

[HKEY_CLASSES_ROOT\zipfile\shell\open\command]
@="C:\\other\\z.exe %1"

[HKEY_CLASSES_ROOT\zipfile\shell\print\command]
@="C:\\other\\z.exe /p %1"
REG
  wine_run reg delete 'HKCU\Software\Morvix Tools\Zip\Zip' /v "Ask Default" /f >/dev/null
  drive settings_ask_yes.txt
  [ "$(reg_default "$cr\\zipfile\\shell\\open\\command")" = "$exe %1" ] ||
    fail "open command after Yes: $(reg_default "$cr\\zipfile\\shell\\open\\command")"
  [ "$(reg_default "$cr\\zipfile\\DefaultIcon")" = "$exe" ] || fail "icon after Yes: $(reg_default "$cr\\zipfile\\DefaultIcon")"
  [ "$(reg_default "$cr\\zipfile\\shell\\print\\command")" = 'C:\other\z.exe /p %1' ] ||
    fail "the other program's print verb changed: $(reg_default "$cr\\zipfile\\shell\\print\\command")"
  [ "$(reg_default "$cr\\zipfile")" = "ZIP archive" ] || fail "the display name changed"
  for ext in lha bh arc arj cab rar gzip gz tar uue zoo; do
    printf '%s: %s\n' "$ext" "$(wine_run reg query "HKCR\\.$ext" /s 2>/dev/null | sort)"
  done >"$after"
  diff "$before" "$after" >/dev/null || fail "extensions nobody seeded changed: $(diff "$before" "$after")"
  # Now the program is the viewer: the next start asks nothing.
  drive settings_no_question.txt

  # Another program again, "Don't ask this again" and "No": nothing written, false stored, no question.
  seed <<'REG'
[HKEY_CLASSES_ROOT\zipfile\shell\open\command]
@="C:\\other\\z.exe %1"
REG
  wine_run reg delete 'HKCU\Software\Morvix Tools\Zip\Zip' /v "Ask Default" /f >/dev/null
  drive settings_ask_no.txt
  [ "$(reg_default "$cr\\zipfile\\shell\\open\\command")" = 'C:\other\z.exe %1' ] || fail "No still registered"
  [ "$(reg_value 'HKCU\Software\Morvix Tools\Zip\Zip' 'Ask Default')" = 0 ] ||
    fail "Ask Default after \"Don't ask\": $(reg_value 'HKCU\Software\Morvix Tools\Zip\Zip' 'Ask Default')"
  drive settings_no_question.txt

  # Options: Cancel after changes leaves every value as it was.
  wine_run reg export "$prefs" "$(winpath "$tmp/prefs-before.reg")" >/dev/null
  drive settings_cancel.txt
  wine_run reg export "$prefs" "$(winpath "$tmp/prefs-after.reg")" >/dev/null
  # The same but the recent list, which the open of t.zip joined.
  prefs_text() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | awk '/^\[/ { skip = /mrumHistory\]$/ } !skip'; }
  diff <(prefs_text "$tmp/prefs-before.reg") <(prefs_text "$tmp/prefs-after.reg") >"$tmp/cancel.diff" ||
    fail "Cancel changed the preferences: $(cat "$tmp/cancel.diff")"
  # OK: the Date / Time column off, the log pane off, grid lines on; the View menu's states.
  drive settings_ok.txt
  [ "$(reg_value "$prefs\\View" cbColDate_Checked)" = False ] ||
    fail "cbColDate_Checked is \"$(reg_value "$prefs\\View" cbColDate_Checked)\""
  [ "$(reg_value "$prefs\\View" cbShowLog_Checked)" = False ] || fail "cbShowLog_Checked is not False"
  [ "$(reg_value "$prefs\\Toolbars" cbStandardToolbar_Checked)" = FALSE ] || fail "the Standard bar's value is not FALSE"
  drive settings_restart.txt
}
