#!/usr/bin/env bash
# Runs one command in a Wine prefix of the shell tests' own, on the display of the build tree's Wine
# environment, with a drive D: that points at a fixture folder made now:
#   shell_scratch.sh COMMAND...        (MX_WINE_DIR: the build tree's environment; MX_TEST_TMP)
#
# The shell views list drives, the desktop and the user's folders, so their tests need a namespace
# nobody else changes: HOME is a scratch folder (the prefix's user folders point into it), the prefix
# has no Z: (the Unix root) and no "/" on the desktop, and D: is the fixture. The prefix is made once
# per build tree and kept; the fixture and the drive mapping are made afresh for every run, and the
# prefix's Wine server is ended afterwards. The shared prefix is never touched.
#
# The command sees MX_WINE_DIR pointing at the scratch environment (tools/wine-exec and
# tools/fwdrive-run use it), SHELL_FIXTURE (the fixture's Unix path), SHELL_TMP_WIN (the test's
# scratch folder as this prefix's programs name it) and SHELL_LISTING (D:\ in the list's order: the
# folders, then the files, each by name ignoring case, one row per object with three more cells).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
shared=${MX_WINE_DIR:?MX_WINE_DIR is not set}
tmp=${MX_TEST_TMP:?MX_TEST_TMP is not set}
WINE=/usr/lib/wine/wine64
SERVER=/usr/lib/wine/wineserver

[ -f "$shared/display" ] || "$root/tools/wine-env" start "$shared"
base=$(cd "$shared/.." && pwd)/wine-shell
mkdir -p "$base/env" "$base/home/Desktop" "$base/home/Documents" "$tmp"
cp "$shared/display" "$base/env/display"
export HOME=$base/home WINEPREFIX=$base/env/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
       LANG=en_US.UTF-8 LC_CTYPE=C.UTF-8 TZ=UTC DISPLAY=$(cat "$shared/display")
export MX_WINE_DIR=$base/env

if [ ! -f "$WINEPREFIX/.mx-ready" ]; then
  rm -rf "$WINEPREFIX"
  $WINE wineboot -i </dev/null >"$base/env/wineboot.log" 2>&1
  $SERVER -w
  # No window manager on the display; no "/" of the Unix file system on the desktop.
  $WINE reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  $WINE reg delete 'HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Desktop\Namespace\{9D20AAE8-0625-44B0-9CA7-71889C2254D9}' /f </dev/null >/dev/null 2>&1 || true
  $SERVER -w
  touch "$WINEPREFIX/.mx-ready"
fi

# The fixture: folders and files of known names and sizes, made by the Unix tools.
fixture=$tmp/fixture
rm -rf "$tmp"/*
mkdir -p "$fixture/a/b/c" "$fixture/b/c" "$fixture/sub" "$fixture/gone"
: >"$fixture/empty.bin"
printf x >"$fixture/one.bin"
head -c 2048 /dev/zero >"$fixture/big.bin"
for f in a.zip b.ARJ readme.txt readme.doc x.txt r1.tmp r2.tmp; do printf '%s\n' "$f" >"$fixture/$f"; done
export SHELL_FIXTURE=$fixture

# The drives: C: and D: only.
rm -f "$WINEPREFIX/dosdevices/z:" "$WINEPREFIX/dosdevices/d:"
ln -s "$fixture" "$WINEPREFIX/dosdevices/d:"
# HideFileExt as Wine starts: extensions shown (a test turns hiding on itself).
$WINE reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced' /v HideFileExt /t REG_DWORD /d 0 /f \
  </dev/null >/dev/null 2>&1

# What D:\ holds, from ls: the folders first, then the files, each group by name ignoring case.
listing=""
for kind in d f; do
  while IFS= read -r name; do
    listing+="$name\\t*\\t*\\t*\\n"
  done < <(cd "$fixture" && ls -A | while IFS= read -r n; do
             if [ "$kind" = d ] && [ -d "$n" ]; then echo "$n"; fi
             if [ "$kind" = f ] && [ -f "$n" ]; then echo "$n"; fi
           done | LC_ALL=C sort -f)
done
export SHELL_LISTING=${listing%\\n}
export SHELL_TMP_WIN="\\\\?\\unix$(printf '%s' "$tmp" | tr / '\\')"

cleanup() { $SERVER -k 2>/dev/null || true; }
trap cleanup EXIT
# The prefix's own server, with Wine's services started now and detached from our output.
$SERVER -p </dev/null >/dev/null 2>&1 || true
$WINE wineboot </dev/null >/dev/null 2>&1
"$@"
