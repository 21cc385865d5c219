#!/usr/bin/env bash
# tools/run as a user on a desktop starts it: DISPLAY set (here the test run's private Xvfb display),
# what is built in this tree, a Wine prefix of its own. The program's window must appear; the test
# then closes it the way a user would and expects tools/run to end.
#   run_flow_test.sh SOURCE_DIR BUILD_TREE
set -euo pipefail
src=${1:?source folder}
tree=${2:?win64 build tree}
dir=${MX_WINE_DIR:?MX_WINE_DIR is not set}
[ -f "$dir/display" ] || "$src/tools/wine-env" start "$dir"
export DISPLAY=$(cat "$dir/display")
out=${MX_TEST_TMP:-$(mktemp -d)}
mkdir -p "$out"
# The prefix is kept in the tree: only the first run pays for making it.
state=$tree/run-wine
title="Morvix demo self-extractor"
log=$out/run.log

MX_RUN_NO_BUILD=1 MX_RUN_TREE=$tree MX_RUN_WINE=$state setsid "$src/tools/run" >"$log" 2>&1 &
pid=$!
cleanup() {
  kill -0 "$pid" 2>/dev/null && kill -- -"$pid" 2>/dev/null || true
  WINEPREFIX=$state/prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

window=
for _ in $(seq 1800); do  # 180 s at most: the first run makes the prefix
  window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "tools/run ended before a window appeared:"; cat "$log"; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "no window \"$title\" appeared:"; cat "$log"; exit 1; }
echo "window $window \"$title\" is up"
import -window root "$out/run-window.png" 2>/dev/null || true

# Close it: taskkill without /f posts WM_CLOSE to the program's windows.
WINEPREFIX=$state/prefix WINEDEBUG=-all /usr/lib/wine/wine64 taskkill /im demo.exe >/dev/null 2>&1 || true
for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "tools/run did not end after its window was closed:"; cat "$log"; exit 1
fi
wait "$pid" || true
grep -q "run: starting .*demo.exe" "$log" || { echo "tools/run did not start the demo:"; cat "$log"; exit 1; }
if xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then
  echo "the window is still there"; exit 1
fi
echo "tools/run started the program on $DISPLAY and ended when its window closed"
