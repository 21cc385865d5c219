#!/usr/bin/env bash
# Downloads through the system's internet library from real servers (python http.server on port 80,
# pyftpdlib on port 21), inside a private network namespace where the default ports are ours: a
# missing file is told by the status code and nothing is saved, a file that begins with "404" is
# saved, an empty file fails, an abort stops after the current block, and without the library the
# download fails with its own error.
#   inst_net_test.sh SOURCE_DIR BUILD_TREE
set -euo pipefail
src=${1:?source folder}
tree=${2:?win64 build tree}
out=${MX_TEST_TMP:?}
if [ "${3:-}" != "--inside" ]; then
  rm -rf "$out"
  mkdir -p "$out"
  unshare -n true 2>/dev/null || { echo "FAIL: unshare -n is not permitted here" >&2; exit 1; }
  exec unshare -n bash "$0" "$src" "$tree" --inside
fi

. "$src/installer/win32/wine_scratch.sh"
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY ftp_proxy FTP_PROXY no_proxy
ip link set lo up
scratch_prefix "$tree" "$out"
servers=()
trap 'for p in "${servers[@]}"; do kill "$p" 2>/dev/null || true; done; drop_prefix' EXIT

www=$out/www
mkdir -p "$www/products/files"
head -c 30000 /dev/urandom >"$www/products/files/archive.1"
head -c 100000 /dev/urandom >"$www/products/files/big.1"
: >"$www/products/files/empty.1"
printf '404 errors explained: a page of notes\n' >"$www/products/files/notes.txt"
/usr/bin/python3 -m http.server 80 --bind 127.0.0.1 -d "$www" >"$out/http.log" 2>&1 &
servers+=($!)
/usr/bin/python3 -m pyftpdlib -p 21 -i 127.0.0.1 -d "$www" >"$out/ftp.log" 2>&1 &
servers+=($!)
for port in 80 21; do
  for _ in $(seq 100); do
    /usr/bin/python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" 2>/dev/null && break
    sleep 0.1
  done
done

harness=$tree/installer/win32/instharness.exe
local_dir=$out/local
mkdir -p "$local_dir"
# download NAME PROTO DIR FILE [--abort]: runs the harness, leaves its output in $result and its code in $code.
download() {
  local name=$1 proto=$2 dir=$3 file=$4
  shift 4
  rm -f "$local_dir/$name"
  set +e
  result=$($WINE "$harness" download "$proto" 127.0.0.1 "$dir" "$file" "$(winpath "$local_dir/$name")" "$@" | tr -d '\r')
  code=$?
  set -e
  echo "$name: ($code) $result"
}

download http-ok http '/products\files' archive.1
[ $code -eq 0 ] || fail "HTTP download"
cmp "$www/products/files/archive.1" "$local_dir/http-ok" || fail "HTTP bytes differ"

download http-missing http '/products\files' missing.1
[ $code -eq 3 ] && grep -q ENIL_FileNotFound <<<"$result" || fail "a missing file over HTTP: $result"
grep -q 'Could not find the file missing.1 on the server' <<<"$result" || fail "message: $result"
[ ! -e "$local_dir/http-missing" ] || fail "the server's error page was saved"

download http-404 http '/products\files' notes.txt
[ $code -eq 0 ] || fail "a file beginning with 404 was refused: $result"
cmp "$www/products/files/notes.txt" "$local_dir/http-404" || fail "the 404 notes differ"

download http-empty http '/products\files' empty.1
[ $code -eq 3 ] && grep -q ENIL_FileNotFound <<<"$result" || fail "an empty file: $result"
[ -e "$local_dir/http-empty" ] && [ ! -s "$local_dir/http-empty" ] || fail "the empty local file is not there"

download http-abort http '/products\files' big.1 --abort
[ $code -eq 0 ] && grep -q 'blocks=1 aborted=1' <<<"$result" || fail "abort: $result"
[ "$(stat -c %s "$local_dir/http-abort")" -lt 100000 ] || fail "the whole file came after the abort"

download ftp-ok ftp 'products\files' archive.1
[ $code -eq 0 ] || fail "FTP download: $result"
cmp "$www/products/files/archive.1" "$local_dir/ftp-ok" || fail "FTP bytes differ"

download ftp-missing ftp 'products\files' missing.1
[ $code -eq 3 ] && grep -q ENIL_FTPOpenFile <<<"$result" || fail "a missing file over FTP: $result"

$SERVER -k 2>/dev/null || true
$SERVER -w 2>/dev/null || true
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;wininet=d"
download no-library http '/products\files' archive.1
[ $code -eq 3 ] && grep -q ENIL_FailLoadWININET <<<"$result" || fail "without the library: $result"
echo "net: all cases behave"
