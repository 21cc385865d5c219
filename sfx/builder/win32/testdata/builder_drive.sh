#!/usr/bin/env bash
# MorvixSFX driven by fwdrive under Wine, one program start per group of scenarios, and what it wrote
# checked with tools of their own: `unzip -t`, `cmp` against the extractor program, a Python reader of
# the option block (sfx_block.py), and `sfxrun`, which extracts each self-extractor through its dialog
# for `diff` against the files that went into the archive.
#   builder_drive.sh SOURCE_DIR FWDRIVE MORVIXSFX SFXSTUB SFXRUN SFXMARKER GROUP...
# Groups: start, create, config, nostub. Needs MX_WINE_DIR and MX_TEST_TMP (set by ctest).
set -euo pipefail
src=${1:?source folder}
fwdrive=${2:?fwdrive.exe}
builder=${3:?MorvixSFX.exe}
stub=${4:?sfxstub.exe}
sfxrun=${5:?sfxrun.exe}
marker=${6:?sfxmarker.exe}
shift 6
here=$(cd "$(dirname "$0")" && pwd)
wine_dir=${MX_WINE_DIR:?MX_WINE_DIR is not set}
[ -f "$wine_dir/display" ] || "$src/tools/wine-env" start "$wine_dir"
for tool in zip unzip python3 cmp diff; do
  command -v $tool >/dev/null || { echo "builder_drive: $tool is missing (tools/deps installs it)"; exit 1; }
done

T=${MX_TEST_TMP:?MX_TEST_TMP is not set}
rm -rf "$T"
mkdir -p "$T"
T=$(cd "$T" && pwd)
# The archive the archive manager would pass: on drive C:, in a folder whose name holds a blank.
myfiles="$wine_dir/prefix/drive_c/My Files"
trap 'rm -rf "$myfiles"' EXIT

win() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
W=$(win "$T")
# A script unescapes its arguments once, and its expected texts are escaped payload cells.
WA=${W//\\/\\\\}
WE=${WA//\\/\\\\}
TITLE="Morvix Zip Self Extracting Archive Builder"
status=0
fail() { echo "builder_drive: FAILED: $*"; status=1; }

# The files every archive holds: text, an empty file, and two files over the 32 KB copy block.
mkdir -p "$T/src/docs/deep"
printf 'Read me first.\r\n' >"$T/src/readme.txt"
: >"$T/src/empty.dat"
seq 1 9000 | sed 's/^/line of the big file /' >"$T/src/docs/big.txt"
python3 -c "import random,sys; random.seed(7); sys.stdout.buffer.write(bytes(random.getrandbits(8) for _ in range(70000)))" \
  >"$T/src/docs/deep/random.bin"
(cd "$T/src" && zip -q -r ../a.zip . && zip -q -r -0 ../stored.zip . && zip -q -r -P secret ../secret.zip . &&
  echo "A comment on the whole archive" | zip -q -r -z ../comment.zip .)
cp "$T/stored.zip" "$T/stored.zip.before"
printf 'These are notes, not an archive.\n' >"$T/notes.txt"
cp "$marker" "$T/sfxmarker.exe"
mkdir -p "$T/out" "$T/conf" "$myfiles"
cp "$T/a.zip" "$myfiles/a.zip"
printf 'an older configuration' >"$T/conf/keep.qlv"
cp "$T/conf/keep.qlv" "$T/conf/keep.qlv.before"
printf 'replaced by the builder' >"$T/conf/opts.qlv"

# drive GROUP SCRIPT [PROGRAM]: one start of the builder, in its own current folder $T/GROUP.
drive() {
  local group=$1 script=$2 program=${3:-$builder}
  mkdir -p "$T/$group"
  echo "builder_drive: group $group ($script)"
  if ! (cd "$T/$group" && MX_TEST_TMP=$T/$group "$src/tools/fwdrive-run" "$fwdrive" "$here/$script" \
        -D APP="$program" -D W="$WA" -D WE="$WE" -D TITLE="$TITLE" -D BROWSER="Browse for Folder"); then
    fail "the $group scenarios"
  fi
}

# check_sfx EXE CAPTION PASSWORD EXPECTED: the self-extractor against the independent readers.
check_sfx() {
  local exe=$1 caption=$2 password=$3 expected=$4 name
  name=$(basename "$exe" .exe)
  [ -f "$exe" ] || { fail "$exe was not written"; return; }
  unzip -tq ${password:+-P "$password"} "$exe" >"$T/$name.unzip.log" 2>&1 ||
    { fail "unzip -t $exe: $(cat "$T/$name.unzip.log")"; }
  cmp -n 35840 "$exe" "$stub" || fail "$exe does not start with sfxstub.exe"
  if ! diff <(printf '%s\n' "$expected") <(python3 "$here/sfx_block.py" exe "$exe"); then
    fail "the option block of $exe"
  fi
  rm -rf "$T/extract/$name"
  mkdir -p "$T/extract/$name"
  if ! "$src/tools/wine-exec" "$sfxrun" "$(win "$exe")" "$caption" "$(win "$T/extract/$name")" ${password:+"$password"}; then
    fail "$exe did not extract"
  fi
  diff -r "$T/src" "$T/extract/$name" || fail "$exe extracted other files than went into the archive"
}

for group in "$@"; do
  case $group in
  start)
    drive start drive_start.txt
    check_sfx "$T/start/a.exe" "Deflated archive" "" \
      "$(printf 'display=0x03\nrun=0x04\ncaption=Deflated archive\nroot=\nprogram=\nparams=')"
    ;;
  create)
    drive create drive_create.txt
    check_sfx "$T/out/stored.exe" "Stored archive" "" \
      "$(printf 'display=0x03\nrun=0x06\ncaption=Stored archive\nroot=\nprogram=\nparams=')"
    rm -f "$T/marker.out"
    check_sfx "$T/out/secret.exe" "Encrypted archive" secret \
      "$(printf 'display=0x16\nrun=0x00\ncaption=Encrypted archive\nroot=C:\\Extract here\nprogram=%s\nparams=readme.txt' "$W\\sfxmarker.exe")"
    # The hidden run box still runs the program, with the extracted readme.
    for _ in $(seq 100); do [ -f "$T/marker.out" ] && break; sleep 0.1; done
    grep -qF "$W\\extract\\secret\\readme.txt" "$T/marker.out" 2>/dev/null ||
      fail "the program to run was not started with the extracted readme ($(cat "$T/marker.out" 2>/dev/null))"
    check_sfx "$T/out/comment.exe" "Commented archive" "" \
      "$(printf 'display=0x0b\nrun=0x04\ncaption=Commented archive\nroot=\nprogram=\nparams=')"
    unzip -z "$T/out/comment.exe" | grep -q "A comment on the whole archive" || fail "the archive comment was lost"
    [ ! -e "$T/out/notes.exe" ] || fail "a self-extractor was written from a text file"
    [ ! -e "$T/missing" ] || fail "the missing output folder was made"
    cmp "$T/stored.zip" "$T/stored.zip.before" || fail "the archive named as its own output changed"
    ;;
  config)
    drive config drive_config.txt
    cmp "$T/conf/keep.qlv" "$T/conf/keep.qlv.before" || fail "keep.qlv was overwritten after No"
    if ! diff <(printf 'zip=%s\noutput=%s\ndisplay=0x02\nrun=0x01\ncaption=Changed caption\nroot=\nprogram=\nparams=readme.txt\n' \
                "$W\\stored.zip" "$W\\out\\cfg.exe") <(python3 "$here/sfx_block.py" qlv "$T/conf/opts.qlv"); then
      fail "the fields saved in opts.qlv"
    fi
    [ ! -e "$T/conf/fresh.qlv" ] || fail "New wrote a file"
    ;;
  nostub)
    # The builder cut just before its extractor.
    mkdir -p "$T/nostub"
    head -c -35840 "$builder" >"$T/nostub/MorvixSFX.exe"
    drive nostub drive_nostub.txt "$T/nostub/MorvixSFX.exe"
    ;;
  *)
    echo "builder_drive: unknown group $group"
    exit 2
    ;;
  esac
done
[ $status = 0 ] && echo "builder_drive: all groups passed"
exit $status
