# Sourced by the system tests: a Wine prefix of the test's own, copied from a template that is made once
# per build tree, so that rebooting it or running it inside another network never touches the prefix
# the other Windows tests share.
#   scratch_prefix TREE DIR    makes DIR/prefix and exports WINEPREFIX and friends
#   winpath UNIX_PATH          the path as Windows programs see it (Z:\...)
WINE=/usr/lib/wine/wine64
SERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=en_US.UTF-8 LC_CTYPE=C.UTF-8 TZ=UTC
unset DISPLAY

scratch_prefix() {
  local tree=$1 dir=$2 template=$1/inst-wine-template
  (
    flock 9
    if [ ! -f "$template/.ready" ]; then
      rm -rf "$template"
      mkdir -p "$template"
      WINEPREFIX=$template/prefix $WINE wineboot -i </dev/null >"$template/wineboot.log" 2>&1
      WINEPREFIX=$template/prefix $SERVER -w
      touch "$template/.ready"
    fi
  ) 9>"$tree/.inst-wine-template.lock"
  rm -rf "$dir/prefix"
  cp -a "$template/prefix" "$dir/prefix"
  export WINEPREFIX=$dir/prefix
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
