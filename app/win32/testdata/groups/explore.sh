# The explorer bar, the address bar, history and favorites: three archives opened from the address bar
# are the history in the registry; favorites added and organised survive a restart; the history page
# deletes and clears (the File menu's list too); a quick search on C: finds the planted file and "Add
# all" adds it; a quick search cancelled midway leaves the program running.
scenario() {
  mkdir -p "$FX/h" "$drive/fixt/big"
  (
    cd "$FX/h"
    for n in a b c; do
      printf '%s\n' "$n" >"$n.txt"
      zip -q "$n.zip" "$n.txt"
      rm "$n.txt"
    done
    printf 'keep\n' >keep.txt
    zip -q base.zip keep.txt
    rm keep.txt
    printf 'planted\n' >"$drive/fixt/a.fixt"
    cd "$drive/fixt/big"
    for d in $(seq 1 300); do
      mkdir -p "d$d"
      for f in 1 2 3; do printf 'x\n' >"d$d/f$f.txt"; done
    done
  )
  local h='C:\\\\fx\\\\h\\\\'
  printf "${h}%s\\n" c.zip b.zip a.zip >"$tmp/history3.rows"
  printf "${h}%s\\n" b.zip a.zip >"$tmp/favorites2.rows"
  printf "${h}%s\\n" b.zip a.zip c.zip >"$tmp/favorites3.rows"
  printf "${h}%s\\n" a.zip c.zip >"$tmp/favorites_kept.rows"
  printf "${h}%s\\n" base.zip b.zip a.zip >"$tmp/history_deleted.rows"
  printf 'C:\\\\fixt\\\\a.fixt\n' >"$tmp/found.rows"
  seed </dev/null
  drive explore_history.txt
  local key='HKCU\Software\Morvix Tools\Zip\History'
  [ "$(reg_value "$key" H0)" = 'C:\fx\h\c.zip' ] || fail "History H0 is $(reg_value "$key" H0)"
  [ "$(reg_value "$key" H1)" = 'C:\fx\h\b.zip' ] || fail "History H1 is $(reg_value "$key" H1)"
  [ "$(reg_value "$key" H2)" = 'C:\fx\h\a.zip' ] || fail "History H2 is $(reg_value "$key" H2)"
  drive explore_favorites.txt
  drive explore_search.txt
  key='HKCU\Software\Morvix Tools\Zip\Favorites'
  [ "$(reg_value "$key" H0)" = 'C:\fx\h\a.zip' ] || fail "Favorites H0 is $(reg_value "$key" H0)"
  [ "$(reg_value "$key" H1)" = 'C:\fx\h\c.zip' ] || fail "Favorites H1 is $(reg_value "$key" H1)"
  # Cleared, then the archive the search results went into was opened again.
  key='HKCU\Software\Morvix Tools\Zip\History'
  [ "$(reg_value "$key" H0)" = 'C:\fx\h\base.zip' ] || fail "History H0 is $(reg_value "$key" H0)"
  [ -z "$(reg_value "$key" H1)" ] || fail "the history was not cleared: H1 is $(reg_value "$key" H1)"
  zip_names "$FX/h/base.zip" keep.txt /fixt/a.fixt
  unzip -tq "$FX/h/base.zip" >/dev/null || fail "unzip -t fails on base.zip"
  # The File menu's recent list was cleared with it.
  key='HKCU\Software\Morvix Tools\Zip\Preferences\Main\TfrmZipMain.mrumHistory'
  [ "$(reg_value "$key" Item_0)" = 'C:\fx\h\base.zip' ] || fail "the recent list holds $(reg_value "$key" Item_0)"
  [ -z "$(reg_value "$key" Item_1)" ] || fail "the recent list was not cleared: $(reg_value "$key" Item_1)"
}
