#!/usr/bin/env bash
# tools/run as users start it: on a desktop (DISPLAY set; here the test run's private Xvfb display)
# and without any display (tools/run starts an Xvfb display of its own), with what is built in this
# tree and a Wine prefix of its own. Each time the program's window must appear; the test then closes
# it the way a user would and expects tools/run to end.
#   run_flow_test.sh SOURCE_DIR BUILD_TREE
set -euo pipefail
src=${1:?source folder}
tree=${2:?win64 build tree}
dir=${MX_WINE_DIR:?MX_WINE_DIR is not set}
[ -f "$dir/display" ] || "$src/tools/wine-env" start "$dir"
desktop=$(cat "$dir/display")
out=${MX_TEST_TMP:-$(mktemp -d)}
mkdir -p "$out"
# The prefix is kept in the tree: only the first run pays for making it.
state=$tree/run-wine
# tools/run starts the first program built of MorvixZip, MorvixSFX and MxInstall, else a demo
# self-extractor: the window looked for is that program's.
program=demo.exe
title="Morvix demo self-extractor"
if [ -n "$(find "$tree" -iname MorvixSFX.exe -not -path '*/CMakeFiles/*' -not -path '*/testtmp/*' | head -n 1)" ]; then
  program=MorvixSFX.exe
  title="Morvix Self Extracting Archive Builder"
fi

# run_once MODE: starts tools/run with the desktop display (MODE desktop) or with none (MODE headless)
# and checks that its window comes up on the display it uses, then closes it.
run_once() {
  local mode=$1 log=$out/run-$1.log pid window= shown
  if [ "$mode" = desktop ]; then
    shown=$desktop
    DISPLAY=$desktop MX_RUN_NO_BUILD=1 MX_RUN_TREE=$tree MX_RUN_WINE=$state setsid "$src/tools/run" >"$log" 2>&1 &
  else
    rm -f "$state/display"
    env -u DISPLAY MX_RUN_NO_BUILD=1 MX_RUN_TREE=$tree MX_RUN_WINE=$state setsid "$src/tools/run" >"$log" 2>&1 &
  fi
  pid=$!
  trap "kill -- -$pid 2>/dev/null || true; WINEPREFIX=$state/prefix /usr/lib/wine/wineserver -k 2>/dev/null || true" EXIT
  for _ in $(seq 1800); do  # 180 s at most: the first run makes the prefix
    if [ "$mode" = headless ]; then
      shown=$(cat "$state/display" 2>/dev/null || true)
    fi
    if [ -n "$shown" ]; then
      window=$(DISPLAY=$shown xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n 1 || true)
      [ -n "$window" ] && break
    fi
    kill -0 "$pid" 2>/dev/null || { echo "$mode: tools/run ended before a window appeared:"; cat "$log"; exit 1; }
    sleep 0.1
  done
  [ -n "$window" ] || { echo "$mode: no window \"$title\" appeared:"; cat "$log"; exit 1; }
  echo "$mode: window $window \"$title\" is up on $shown"
  DISPLAY=$shown import -window root "$out/run-window-$mode.png" 2>/dev/null || true

  # Close it: taskkill without /f posts WM_CLOSE to the program's windows.
  WINEPREFIX=$state/prefix WINEDEBUG=-all DISPLAY=$shown /usr/lib/wine/wine64 taskkill /im "$program" >/dev/null 2>&1 || true
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "$mode: tools/run did not end after its window was closed:"; cat "$log"; exit 1
  fi
  wait "$pid" || true
  grep -q "run: starting .*$program" "$log" || { echo "$mode: tools/run did not start $program:"; cat "$log"; exit 1; }
  if DISPLAY=$shown xwininfo -root -tree 2>/dev/null | grep -qF "\"$title\""; then
    echo "$mode: the window is still there"; exit 1
  fi
  echo "$mode: tools/run started the program on $shown and ended when its window closed"
}

run_once desktop
run_once headless
grep -q "run: no display; started on Xvfb" "$out/run-headless.log" ||
  { echo "headless: tools/run did not start a display of its own:"; cat "$out/run-headless.log"; exit 1; }
"$src/tools/wine-env" stop "$state" >/dev/null 2>&1 || true
