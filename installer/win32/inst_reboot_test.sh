#!/usr/bin/env bash
# A file in use, replaced at the next start: the installed stand-in program runs while a newer one is
# installed over it. The new file must wait beside it as "MorvixZip.1" with a pending rename that
# replaces the old file, the records must name the real file, and after "wineboot -r" (the prefix's
# reboot) the new bytes must be in place. Then the same through WININIT.INI, with the platform answer
# forced to the Windows 95 family.
#   inst_reboot_test.sh SOURCE_DIR BUILD_TREE
set -euo pipefail
src=${1:?source folder}
tree=${2:?win64 build tree}
out=${MX_TEST_TMP:?}
rm -rf "$out"
mkdir -p "$out"
. "$src/installer/win32/wine_scratch.sh"
scratch_prefix "$tree" "$out"
trap drop_prefix EXIT

harness=$tree/installer/win32/instharness.exe
base=$out/work
mkdir -p "$base/src" "$base/out"
cp "$tree/installer/win32/standin_new.exe" "$base/src/MorvixZip.exe"
$WINE "$harness" build "$(winpath "$base")" "$(winpath "$base/out")" MorvixZip.exe >"$out/build.txt" || {
  cat "$out/build.txt"
  fail "build"
}

bin="$WINEPREFIX/drive_c/Program Files/Morvix Zip/Bin"
winbin='C:\Program Files\Morvix Zip\Bin'
query() { $WINE reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' || true; }

# Places the old program, starts it and waits until it runs.
start_old() {
  mkdir -p "$bin"
  rm -f "$bin/MorvixZip.log" "$bin/MorvixZip.stop" "$bin/MorvixZip.1"
  cp "$tree/installer/win32/standin_old.exe" "$bin/MorvixZip.exe"
  $WINE "$winbin\\MorvixZip.exe" &
  program=$!
  for _ in $(seq 300); do [ -e "$bin/MorvixZip.log" ] && return; sleep 0.1; done
  fail "the stand-in did not start"
}

stop_old() {
  touch "$bin/MorvixZip.stop"
  wait "$program" || true
  $SERVER -w
}

# ---- MoveFileEx road -------------------------------------------------------------------------------------
start_old
$WINE "$harness" install "$(winpath "$base")" "$(winpath "$base/out")" 'C:\Program Files\Morvix Zip' --register \
  MorvixZip.exe >"$out/install.txt" || { cat "$out/install.txt"; fail "install"; }
cat "$out/install.txt"
grep -q 'inuse=1 extractedAs=MorvixZip.1' "$out/install.txt" || fail "the file was not seen in use"
grep -q 'reboot=1' "$out/install.txt" || fail "no reboot asked for"
cmp "$base/src/MorvixZip.exe" "$bin/MorvixZip.1" || fail "MorvixZip.1 does not hold the new file"
cmp "$tree/installer/win32/standin_old.exe" "$bin/MorvixZip.exe" || fail "the running file changed"

pending=$(query 'HKLM\System\CurrentControlSet\Control\Session Manager' PendingFileRenameOperations)
echo "$pending"
grep -qF '!\??\C:\Program Files\Morvix Zip\Bin\MorvixZip.exe' <<<"$pending" || fail "no replacing rename pending"
grep -qF '\??\C:\Program Files\Morvix Zip\Bin\MorvixZip.1' <<<"$pending" || fail "the pending rename misses the new file"

# The records name the real file, never the waiting one.
files=$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvix Zip\Files' File1)
grep -qF "$winbin\\MorvixZip.exe" <<<"$files" || fail "uninstall entry: $files"
help=$(query 'HKLM\SOFTWARE\Microsoft\Windows\Help' MORVIXZIP.EXE)
grep -qF "$winbin" <<<"$help" || fail "help value: $help"
query 'HKLM\SOFTWARE\Microsoft\Windows\Help' MORVIXZIP.1 | grep -q REG_SZ && fail "a help value names MorvixZip.1"
shared=$(query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs' "$winbin\\MorvixZip.exe")
grep -q 'REG_DWORD.*0x1' <<<"$shared" || fail "shared-DLL counter: $shared"
unfinished=$(query 'HKLM\SOFTWARE\Quenford\Install\Install0\Unfinished' InstallFile1)
grep -q 'REG_SZ.*0' <<<"$unfinished" || fail "no unfinished work: $unfinished"

stop_old
$WINE wineboot -r </dev/null >/dev/null 2>&1
$SERVER -w
cmp "$base/src/MorvixZip.exe" "$bin/MorvixZip.exe" || fail "after the reboot the old file is still there"
[ ! -e "$bin/MorvixZip.1" ] || fail "MorvixZip.1 is left over"
echo "MoveFileEx road: replaced at the reboot"

# ---- WININIT.INI road ------------------------------------------------------------------------------------
start_old
$WINE "$harness" install "$(winpath "$base")" "$(winpath "$base/out")" 'C:\Program Files\Morvix Zip' --platform=1 \
  MorvixZip.exe >"$out/install95.txt" || { cat "$out/install95.txt"; fail "install"; }
grep -q 'inuse=1 extractedAs=MorvixZip.1' "$out/install95.txt" || fail "not in use the second time"
wininit=$(find "$WINEPREFIX/drive_c/windows" -maxdepth 1 -iname wininit.ini | head -n 1)
[ -n "$wininit" ] || fail "no WININIT.INI"
cat "$wininit"
grep -qi '^\[rename\]' "$wininit" || fail "no [Rename] section"
stop_old
$WINE wineboot -r </dev/null >/dev/null 2>&1
$SERVER -w
cmp "$base/src/MorvixZip.exe" "$bin/MorvixZip.exe" || fail "WININIT.INI road: the old file is still there"
[ ! -e "$bin/MorvixZip.1" ] || fail "WININIT.INI road: MorvixZip.1 is left over"
echo "WININIT.INI road: replaced at the reboot"
