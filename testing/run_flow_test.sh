#!/usr/bin/env bash
# tools/run as users start it, each time closing the program's window with the Close button on its
# title bar (clicked with real mouse input) and expecting a clean end:
#   desktop   DISPLAY set (the test run's private Xvfb display, which has no window manager);
#   headless  no display: tools/run starts an Xvfb display of its own.
# Both times with what is built in this tree; tools/run says nothing of failure, ends with code 0 and
# leaves no Xvfb display and no Wine server of its own behind. The screenshots show the window with
# its title bar. Then, in a fresh build folder as in a fresh clone, the steps tools/run would build
# (its dry run) make the programs and what they need and no test program.
#   run_flow_test.sh SOURCE_DIR BUILD_TREE CLOSE_BUTTON_CLICK.EXE
set -euo pipefail
src=${1:?source folder}
tree=${2:?win64 build tree}
click=${3:?close_button_click.exe}
dir=${MX_WINE_DIR:?MX_WINE_DIR is not set}
[ -f "$dir/display" ] || "$src/tools/wine-env" start "$dir"
desktop=$(cat "$dir/display")
out=${MX_TEST_TMP:-$(mktemp -d)}
mkdir -p "$out"
# The prefix is kept in the tree: only the first run pays for making it.
state=$tree/run-wine
fresh=$out/fresh-build
# tools/run starts the first program built of MorvixZip, MorvixSFX and MxInstall, else a demo
# self-extractor: the window looked for is that program's. A window is named by its title, or by its
# window class where its caption is empty (the archive manager's, with no archive open); on the X side
# it is found by its title or by the program's name in the window's class hint.
built() {
  [ -n "$(find "$tree" -iname "$1" -not -path '*/CMakeFiles/*' -not -path "$tree/testtmp/*" | head -n 1)" ]
}
program=demo.exe
title="Morvix demo self-extractor"
if built MorvixZip.exe; then
  program=MorvixZip.exe
  title="class=TfrmZipMain"
elif built MorvixSFX.exe; then
  program=MorvixSFX.exe
  title="Morvix Self Extracting Archive Builder"
fi
if [ "${title#class=}" != "$title" ]; then
  xmatch="(\"${program,,}\" "
else
  xmatch="\"$title\""
fi
export WINEPREFIX=$state/prefix WINEDEBUG=-all

# The Wine server of tools/run's prefix, found by the folder it works in (as tools/run finds it).
server_pids() {
  [ -d "$WINEPREFIX" ] || return 0
  local sdir p
  sdir=$(printf '/tmp/.wine-%s/server-%x-%x' "$(id -u)" "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
  for p in $(pgrep wineserver || true); do
    [ "$(readlink "/proc/$p/cwd" 2>/dev/null)" = "$sdir" ] && echo "$p"
  done
  return 0
}

pid=
cleanup() {
  [ -n "$pid" ] && kill -- "-$pid" 2>/dev/null || true
  "$src/tools/wine-env" stop "$state" >/dev/null 2>&1 || true
  rm -rf "$fresh"
}
trap cleanup EXIT
mode=setup
fail() { echo "$mode: $*"; [ -f "${log:-}" ] && cat "$log"; exit 1; }

# run_once MODE: starts tools/run, waits for its window, closes it with its Close button and checks
# how tools/run ended.
run_once() {
  mode=$1 log=$out/run-$1.log
  local window= shown= xvfb= started=$SECONDS
  "$src/tools/wine-env" stop "$state" >/dev/null 2>&1 || true  # nothing of an earlier run
  [ -z "$(server_pids)" ] || fail "a Wine server of the prefix runs before tools/run starts"
  if [ "$mode" = desktop ]; then
    shown=$desktop
    DISPLAY=$desktop MX_RUN_NO_BUILD=1 MX_RUN_TREE=$tree MX_RUN_WINE=$state setsid "$src/tools/run" >"$log" 2>&1 &
  else
    env -u DISPLAY MX_RUN_NO_BUILD=1 MX_RUN_TREE=$tree MX_RUN_WINE=$state setsid "$src/tools/run" >"$log" 2>&1 &
  fi
  pid=$!
  for _ in $(seq 1800); do  # 180 s at most: the first run makes the prefix
    if [ "$mode" = headless ]; then
      shown=$(cat "$state/display" 2>/dev/null || true)
    fi
    if [ -n "$shown" ]; then
      window=$(DISPLAY=$shown xwininfo -root -tree 2>/dev/null | grep -iF "$xmatch" | awk '{print $1}' | head -n 1 || true)
      [ -n "$window" ] && break
    fi
    kill -0 "$pid" 2>/dev/null || fail "tools/run ended before a window appeared"
    sleep 0.1
  done
  [ -n "$window" ] || fail "no window \"$title\" appeared"
  [ "$mode" = desktop ] || xvfb=$(cat "$state/xvfb.pid")
  # The archive manager first asks whether it may become the default viewer (the prefix has no
  # viewer and the question was never turned off): the user closes the question, which answers No.
  if [ "$program" = MorvixZip.exe ]; then
    DISPLAY=$shown /usr/lib/wine/wine64 "$click" "Morvix Zip Preference" ||
      fail "the default-viewer question did not show"
  fi
  # The program's first window may be a splash: wait for the window itself before the screenshot.
  DISPLAY=$shown /usr/lib/wine/wine64 "$click" --find "$title" || fail "the window \"$title\" did not show"
  echo "$mode: window $window \"$title\" is up on $shown after $((SECONDS - started)) s"
  DISPLAY=$shown import -window root "$out/run-window-$mode.png" 2>/dev/null &&
    echo "$mode: screenshot $out/run-window-$mode.png"

  DISPLAY=$shown /usr/lib/wine/wine64 "$click" "$title" || fail "the window could not be closed with its Close button"
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "tools/run did not end after its window was closed"
  local rc=0
  wait "$pid" || rc=$?
  pid=
  grep -q "run: starting .*$program" "$log" || fail "tools/run did not start $program"
  [ "$rc" -eq 0 ] || fail "tools/run ended with code $rc after the window was closed"
  # tools/run's own lines: only these, nothing of a failure.
  ! grep "^run: " "$log" | grep -vqE "^run: (starting |no display; started on Xvfb |making the Wine prefix )" ||
    fail "tools/run reported a failure for a window the user closed"
  [ -z "$(server_pids)" ] || fail "tools/run left its Wine server running (pid $(server_pids))"
  if [ -n "$xvfb" ]; then
    ! kill -0 "$xvfb" 2>/dev/null || fail "tools/run left its Xvfb display $shown running (pid $xvfb)"
    [ ! -f "$state/xvfb.pid" ] || fail "tools/run left the pid file of its display"
  else
    DISPLAY=$shown xwininfo -root -tree 2>/dev/null | grep -qiF "$xmatch" && fail "the window is still there"
  fi
  echo "$mode: the window closed with its Close button; tools/run ended cleanly and left nothing running"
}

run_once desktop
run_once headless
grep -q "run: no display; started on Xvfb" "$out/run-headless.log" || fail "tools/run did not start a display of its own"

# A fresh build folder, as in a fresh clone: the commands tools/run would build with (its dry run)
# make the programs and what they need, no other program and no test code.
mode=fresh-build
log=$out/run-dry.log
MX_BUILD_ROOT=$fresh MX_RUN_DRY_BUILD=1 "$src/tools/run" >"$log" 2>&1 || fail "tools/run's dry run failed"
linked=$(grep -oE ' -o [^ ]+\.exe( |$)' "$log" | awk '{print $2}' | sort -u || true)
grep -qE '(^|/)sfxstub\.exe$' <<<"$linked" || fail "tools/run would not build sfxstub"
if [ "$program" != demo.exe ]; then
  grep -qE "(^|/)$program\$" <<<"$linked" || fail "tools/run would not build $program"
fi
others=$(grep -vE '(^|/)(sfxstub|MorvixZip|MorvixSFX|MxInstall)\.exe$' <<<"$linked" || true)
[ -z "$others" ] || fail "tools/run would build other programs: $others"
! grep -qiE 'gtest|gmock|googletest|_test\.cpp|/testing/' "$log" ||
  fail "tools/run would build test code: $(grep -oiE '[^ ]*(gtest|gmock|googletest|_test\.cpp|/testing/)[^ ]*' "$log" | sort -u | head -n 5)"
echo "$mode: tools/run would run $(grep -vc '^\[' "$log") build commands of the tree's $(ninja -C "$fresh/win64" -t commands | wc -l), linking" $linked
