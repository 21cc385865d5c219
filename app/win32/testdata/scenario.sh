#!/usr/bin/env bash
# Runs one group of the archive manager's scenarios under Wine, as a user would meet the program:
#   scenario.sh GROUP FWDRIVE.EXE MORVIXZIP.EXE STANDIN.EXE
# (MX_WINE_DIR: the build tree's Wine environment; MX_TEST_TMP: this test's folder.)
#
# The group gets a Wine prefix of its own, made from the build tree's prefix as a template: the
# files are hard links (Wine replaces its registry files whole, never in place), the registry files,
# the user folders and C:\ are the group's own. The program is installed in C:\Program Files\Morvix Zip
# with a stand-in explorer.exe beside it; the registry is seeded with `reg import`; fixtures are made
# now by the real archivers in C:\fx. The group file (groups/GROUP.sh) then drives the program with
# fwdrive scripts and checks what it did against independent tools. The prefix's Wine server is
# stopped at the end, so no Wine process of the group outlives it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
group=${1:?group}
driver=${2:?fwdrive.exe}
program=${3:?MorvixZip.exe}
standin=${4:?stand-in program}
shared=${MX_WINE_DIR:?MX_WINE_DIR is not set}
tmp=${MX_TEST_TMP:?MX_TEST_TMP is not set}
WINE=/usr/lib/wine/wine64
SERVER=/usr/lib/wine/wineserver

[ -f "$shared/display" ] || "$root/tools/wine-env" start "$shared"
rm -rf "$tmp"
env=$tmp/env
mkdir -p "$env"
cp "$shared/display" "$env/display"
prefix=$env/prefix
if [ "${MX_WINE_ARCH:-win64}" = win32 ]; then
  export MX_WINE_ARCH
fi
cp -al "$shared/prefix" "$prefix"
for f in system.reg user.reg userdef.reg; do
  [ -f "$shared/prefix/$f" ] && cp --remove-destination "$shared/prefix/$f" "$prefix/$f"
done
# What the program may write stays in the group's prefix: the user folders and the drive's root.
rm -rf "$prefix/drive_c/users" "$prefix/drive_c/ProgramData"
cp -a "$shared/prefix/drive_c/users" "$shared/prefix/drive_c/ProgramData" "$prefix/drive_c/"
find "$prefix/drive_c" -maxdepth 1 -type f -exec sh -c 'cp --remove-destination "$1" "$1.copy" && mv "$1.copy" "$1"' _ {} \;
find "$prefix/drive_c/windows" -maxdepth 1 -name '*.ini' -exec sh -c 'cp "$1" "$1.copy" && mv "$1.copy" "$1"' _ {} \;

export MX_WINE_DIR=$env WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=en_US.UTF-8 \
       LC_CTYPE=C.UTF-8 TZ=UTC DISPLAY=$(cat "$env/display")
if [ "${MX_WINE_ARCH:-win64}" = win32 ]; then
  . "$root/tools/wine-i386" env
fi
cleanup() { $SERVER -k 2>/dev/null || true; }
trap cleanup EXIT
$SERVER -p </dev/null >/dev/null 2>&1 || true

# C:\ as the scenarios see it.
drive=$prefix/drive_c
appdir="$drive/Program Files/Morvix Zip"
mkdir -p "$appdir" "$drive/fx" "$drive/out"
cp "$program" "$appdir/MorvixZip.exe"
[ -f "$(dirname "$program")/unrar.dll" ] && cp "$(dirname "$program")/unrar.dll" "$appdir/"
cp "$standin" "$appdir/explorer.exe"
APP='C:\Program Files\Morvix Zip\MorvixZip.exe'
FX=$drive/fx
OUT=$drive/out

fail() {
  echo "scenario $group: $*" >&2
  exit 1
}

# Runs a Windows program of the prefix (reg, cmd) with its output.
wine_run() { $WINE "$@" </dev/null 2>/dev/null | tr -d '\r'; }

# Imports the program's settings for the scenarios, no start-up question and extraction into C:\out,
# and the registry lines given on stdin (REGEDIT4 format without the header), over no settings of the
# program: the template's registry may hold some from a program started in it (tools/bench).
seed() {
  $WINE reg delete 'HKCU\Software\Morvix Tools' /f </dev/null >/dev/null 2>&1 || true
  local file=$tmp/seed-$RANDOM.reg
  {
    printf 'REGEDIT4\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Morvix Tools\\Zip\\Zip]\n"Ask Default"="0"\n\n'
    printf '[HKEY_CURRENT_USER\\Software\\Morvix Tools\\Zip\\Preferences\\Folders]\n'
    printf '"rbExtractFolderFolder_Checked"="True"\n"deditExtractFolder_Text"="C:\\\\out\\\\"\n\n'
    cat
  } >"$file"
  $WINE reg import "$(winpath "$file")" </dev/null >/dev/null 2>&1 || fail "reg import of $file failed"
}

# The Windows path of a Unix path inside the prefix's C: drive, else through Z:.
winpath() {
  local p=$1
  case $p in
    "$drive"/*) p="C:${p#"$drive"}" ;;
    *) p="Z:$p" ;;
  esac
  printf '%s' "$p" | tr / '\\'
}

# Runs one fwdrive script: it is copied into the test folder, where the expected files made for it
# lie, and gets the program and C:\fx by name: FX as a command line takes it, FXQ escaped once, as
# request arguments take it.
drive() {
  local script=$1
  shift
  cp "$here/$script" "$tmp/$script"
  # Under 32-bit Wine in emulation every wait takes many times as long.
  [ "${MX_WINE_ARCH:-win64}" = win32 ] && set -- --slow 8 "$@"
  MX_TEST_TMP=$tmp "$root/tools/fwdrive-run" --program MorvixZip.exe "$driver" "$tmp/$script" \
    -D APP="$APP" -D FX='C:\fx' -D FXQ='C:\\fx' -D OUT='C:\out' "$@" || fail "$script failed"
}

# The value of a registry value, as reg query prints it.
reg_value() {
  wine_run reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# Changes one byte in the middle of an entry's data in a ZIP archive: its CRC no longer holds.
damage_entry() {
  python3 - "$1" "$2" <<'PY'
import struct, sys, zipfile
path, name = sys.argv[1], sys.argv[2]
info = zipfile.ZipFile(path).getinfo(name)
data = bytearray(open(path, "rb").read())
name_len, extra_len = struct.unpack_from("<HH", data, info.header_offset + 26)
data[info.header_offset + 30 + name_len + extra_len + info.compress_size // 2] ^= 0x55
open(path, "wb").write(bytes(data))
PY
}

same_file() { cmp -s "$1" "$2" || fail "$2 differs from $1"; }

# Rows that name the entries in this order, every other cell any.
names_rows() {
  local name
  for name in "$@"; do
    printf '%s' "$name"
    printf '\t*%.0s' $(seq 13)
    printf '\n'
  done
}

# The ZIP archive's stored names, sorted, are exactly these. (The writers' "Absolute No Drive" drops
# the drive and keeps the leading "\", stored as "/".)
zip_names() {
  local zip=$1
  shift
  local have want
  have=$(zipinfo -1 "$zip" | sort)
  want=$(printf '%s\n' "$@" | sort)
  [ "$have" = "$want" ] || fail "$zip holds [$(echo $have)], not [$(echo $want)]"
}

. "$here/groups/$group.sh"
scenario
echo "scenario $group: passed"
