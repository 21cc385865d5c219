# Sourced by the system tests: a Wine prefix of the test's own, copied from a template that is made once
# per build tree, so that rebooting it or running it inside another network never touches the prefix
# the other Windows tests share.
#   scratch_prefix TREE DIR    makes DIR/prefix and exports WINEPREFIX and friends
#   winpath UNIX_PATH          the path as Windows programs see it (Z:\...)
WINE=/usr/lib/wine/wine64
SERVER=/usr/lib/wine/wineserver
# No menu entries or desktop files on the host for the links a test makes.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" LANG=en_US.UTF-8 LC_CTYPE=C.UTF-8 TZ=UTC
unset DISPLAY

scratch_prefix() {
  local tree=$1 dir=$2 template=$1/inst-wine-template
  (
    flock 9
    # A copy of the build folder's template prefix (tools/wine-prefix), made again when that changes.
    "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-prefix" "$template/prefix"
  ) 9>"$tree/.inst-wine-template.lock"
  rm -rf "$dir/prefix"
  # The prefix's 1.3 GB of system libraries are shared with the template as hard links: nothing here
  # writes them. The files a run may rewrite in place (the registry, the ini files of the Windows
  # folder) are real copies.
  cp -al "$template/prefix" "$dir/prefix"
  local f
  for f in "$dir"/prefix/*.reg "$dir"/prefix/drive_c/windows/*.ini; do
    [ -f "$f" ] && cp --remove-destination "$template/prefix/${f#"$dir/prefix/"}" "$f"
  done
  export WINEPREFIX=$dir/prefix
}

# Ends the prefix's server and removes the prefix (the test's logs stay).
drop_prefix() {
  $SERVER -k 2>/dev/null || true
  [ -n "${WINEPREFIX:-}" ] && rm -rf "$WINEPREFIX"
}

winpath() {
  local p=${1//\//\\}
  echo "Z:$p"
}

# Fails the test with a message.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
