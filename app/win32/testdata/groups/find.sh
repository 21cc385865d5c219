# Find Files picks exactly the planted files by mask, size, date and content, its count equal to
# the hits; Stop in the middle of a search says "Cancelled"; "Add all" in the middle of a search
# adds what was found so far without a crash. The explorer bar's tree and list drag onto the
# archive list. Files are planted under C:, never searched for on Z: (the whole Linux root).
scenario() {
  mkdir -p "$FX/tree/sub" "$FX/big"
  (
    cd "$FX/tree"
    head -c 100 /dev/zero >m1.txt
    { printf 'a needle here\n'; head -c 4986 /dev/zero; } >m2.txt
    head -c 100 /dev/zero >m3.log
    { printf 'needle\n'; head -c 293 /dev/zero; } >sub/m4.txt
    touch -d '2001-01-01 12:00' m1.txt
    touch -d '2015-06-01 12:00' m2.txt m3.log sub/m4.txt
    cd ../big
    for d in $(seq 1 300); do
      mkdir -p "d$d"
      for f in 1 2 3; do printf 'x\n' >"d$d/f$f.txt"; done
    done
    cd ..
    printf 'keep\n' >keep.txt
    zip -q base.zip keep.txt
    rm keep.txt
  )
  local t='C:\\\\fx\\\\tree\\\\'
  printf "${t}%s\\t\\n" m1.txt m2.txt 'sub\\m4.txt' >"$tmp/by_mask.rows"
  printf "${t}%s\\t\\n" 'sub\\m4.txt' >"$tmp/by_size.rows"
  printf "${t}%s\\t\\n" m2.txt m3.log 'sub\\m4.txt' >"$tmp/by_date.rows"
  printf "${t}%s\\t\\n" m2.txt 'sub\\m4.txt' >"$tmp/by_content.rows"
  seed </dev/null
  drive find_files.txt
  drive find_ebar.txt
  zip_names "$FX/base.zip" keep.txt /fx/tree/m3.log /fx/tree/sub/m4.txt
  unzip -tq "$FX/base.zip" >/dev/null || fail "unzip -t fails on base.zip"
}
