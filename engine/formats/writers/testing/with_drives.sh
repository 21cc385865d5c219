#!/usr/bin/env bash
# Runs a Windows test (tools/wine-exec PROGRAM ARGS...) with two more drives: MX_OTHER_DRIVE points
# at a folder of the test's own, away from the temporary folder on C:, and MX_SMALL_DRIVE at a small
# tmpfs, when one can be mounted here (as root).
#
# Wine learns its drives when its server starts, and a drive it does not know answers no volume
# query. The build tree's prefix keeps its server running for every test, so this test runs in a
# prefix of its own: a copy of the tree's prefix made of hard links (Wine replaces the files it
# changes), with the two drives, its own server for the run, on the tree's display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
shared=${MX_WINE_DIR:?MX_WINE_DIR is not set}
tmp=${MX_TEST_TMP:?MX_TEST_TMP is not set}
[ -f "$shared/display" ] || "$root/tools/wine-env" start "$shared"
base=$(cd "$shared/.." && pwd)/wine-drives
other=$tmp/drive-other
small=$tmp/drive-small

export WINEPREFIX=$base/prefix
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  mountpoint -q "$small" && umount "$small" || true
  rm -rf "$base"
}
trap cleanup EXIT
trap 'exit 143' TERM INT
cleanup

mkdir -p "$base" "$other" "$small"
rm -rf "${other:?}"/*
cp -al "$shared/prefix" "$WINEPREFIX"
# Only the drive links differ from the tree's prefix; they are made anew, not linked.
rm -rf "$WINEPREFIX/dosdevices"
mkdir "$WINEPREFIX/dosdevices"
ln -s ../drive_c "$WINEPREFIX/dosdevices/c:"
ln -s / "$WINEPREFIX/dosdevices/z:"
ln -s "$other" "$WINEPREFIX/dosdevices/m:"
export MX_OTHER_DRIVE=M:
if mountpoint -q "$small" || mount -t tmpfs -o size=256k mx-small "$small" 2>/dev/null; then
  ln -s "$small" "$WINEPREFIX/dosdevices/n:"
  export MX_SMALL_DRIVE=N:
fi
cp "$shared/display" "$base/display"
export MX_WINE_DIR=$base
# The prefix's own server, with Wine's services started now and detached from our output.
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
DISPLAY=$(cat "$base/display") WINEDEBUG=-all /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
"$@"
