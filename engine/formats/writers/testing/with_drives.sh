#!/usr/bin/env bash
# Runs a Windows test (tools/wine-exec PROGRAM ARGS...) with two more drives in the build tree's Wine
# prefix: MX_OTHER_DRIVE points at a folder of the test's own, away from the temporary folder on C:,
# and MX_SMALL_DRIVE at a small tmpfs, when one can be mounted here (as root). The letters are the
# first free ones from M on; both drives go when the test ends.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../../.." && pwd)
dir=${MX_WINE_DIR:?MX_WINE_DIR is not set}
tmp=${MX_TEST_TMP:?MX_TEST_TMP is not set}
[ -f "$dir/display" ] || "$root/tools/wine-env" start "$dir"
devices=$dir/prefix/dosdevices
other=$tmp/drive-other
small=$tmp/drive-small
mkdir -p "$other" "$small"
rm -rf "${other:?}"/*

links=()
cleanup() {
  for l in "${links[@]}"; do rm -f "$l"; done
  mountpoint -q "$small" && umount "$small" || true
}
trap cleanup EXIT

# Letters are taken under a lock: other tests of the tree may map drives of their own.
exec 9>"$dir/drives.lock"
flock 9
# Maps the first free letter to folder $1 and names it in $taken.
take() {
  local l
  for l in m n o p q r s t u v w x y; do
    if [ ! -e "$devices/$l:" ] && [ ! -L "$devices/$l:" ]; then
      ln -s "$1" "$devices/$l:"
      links+=("$devices/$l:")
      taken="${l^^}:"
      return
    fi
  done
  echo "with_drives: no free drive letter" >&2
  exit 1
}
take "$other"
export MX_OTHER_DRIVE=$taken
if mountpoint -q "$small" || mount -t tmpfs -o size=256k mx-small "$small" 2>/dev/null; then
  take "$small"
  export MX_SMALL_DRIVE=$taken
fi
exec 9>&-
"$@"
