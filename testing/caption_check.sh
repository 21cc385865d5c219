#!/usr/bin/env bash
# Starts a program for its own caption check (FW_CAPTION_CHECK, framework/win32/caption_check.h): it
# loads every form compiled into it without showing one, writes a report and ends. Passes when the
# program checked at least one form and found no caption that does not fit.
#   caption_check.sh SOURCE_DIR PROGRAM.EXE
set -euo pipefail
src=${1:?source folder}
exe=${2:?program}
out=${MX_TEST_TMP:?MX_TEST_TMP is not set}
mkdir -p "$out"
report=$out/captions.txt
rm -f "$report"
rc=0
FW_CAPTION_CHECK="Z:${report//\//\\}" "$src/tools/wine-exec" "$exe" </dev/null || rc=$?
if [ ! -f "$report" ]; then
  echo "$(basename "$exe") wrote no caption report (exit code $rc): it loaded no form and did not end through the framework"
  exit 1
fi
cat "$report"
grep -q '^checked ' "$report" || { echo "$(basename "$exe") holds no form that could be checked"; exit 1; }
if [ "$rc" -ne 0 ] || grep -q '^\(clipped\|error\) ' "$report"; then
  echo "$(basename "$exe"): captions that do not fit or forms that cannot be loaded (exit code $rc)"
  exit 1
fi
