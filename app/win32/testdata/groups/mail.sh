# Mail through a stand-in Simple MAPI library (mapi32.dll beside the program, loaded as native): it
# records each call. "a;;b" in To and "c" in Cc give the recipients To, To, Cc; the archive goes with
# its path, its short name and the receipt flag; a failed send and a second one attach the archive
# once; a missing attachment returns 11 with nothing sent; "Check Names" drops an unknown name between
# two known ones; a closed mail dialog logs off. "MAPI"="0" makes the component refuse; a library
# without one of its entry points leaves the program starting, with mail refused.
scenario() {
  local dlls
  dlls=$(dirname "$standin")
  [ -f "$dlls/app_mapi_standin.dll" ] && [ -f "$dlls/app_mapi_partial.dll" ] || fail "the mapi32 stand-ins are not built"
  cp "$dlls/app_mapi_standin.dll" "$appdir/mapi32.dll"
  printf 'fail-send-once\n' >"$appdir/mapi32.cfg"
  # The harness adds these to the overrides it sets: the stand-in beside the program, not the builtin.
  export MX_DLL_OVERRIDES="mapi32=n"
  mkdir -p "$FX/mail"
  (cd "$FX/mail" && printf 'mail me\n' >m.txt && zip -q "a long archive name.zip" m.txt)
  seed </dev/null
  wine_run reg add 'HKLM\SOFTWARE\Microsoft\Windows Messaging Subsystem' /v MAPI /t REG_SZ /d 1 /f >/dev/null
  drive mail_send.txt
  local log=$appdir/mapi32.log
  [ -f "$log" ] || fail "the stand-in mapi32.dll was not loaded"
  tr -d '\r' <"$log" >"$tmp/mapi.log"
  local archive='C:\fx\mail\a long archive name.zip'
  [ "$(grep -c '^MAPISendMail' "$tmp/mapi.log")" = 2 ] || fail "MAPISendMail ran $(grep -c '^MAPISendMail' "$tmp/mapi.log") times"
  # Both sends: three recipients in the order To, To, Cc, the archive once with its short name, the
  # receipt asked for.
  grep '^MAPISendMail\|^ ' "$tmp/mapi.log" >"$tmp/sends.log"
  {
    for i in 1 2; do
      echo "MAPISendMail flags=0 msgflags=2 subject=the subject note=(null) recipients=3 files=1"
      echo " recipient class=1 name=a (resolved) address=SMTP:a"
      echo " recipient class=1 name=b (resolved) address=SMTP:b"
      echo " recipient class=2 name=c (resolved) address=SMTP:c"
      echo " file path=$archive name=a long a.zip position=-1"
    done
  } >"$tmp/sends.want"
  diff "$tmp/sends.want" "$tmp/sends.log" >&2 || fail "the messages sent differ"
  # Check Names: the unknown name asked twice (the second time with the dialog), then dropped.
  grep -qx 'MAPIResolveName name=unknown flags=8' "$tmp/mapi.log" || fail "no second resolve of the unknown name"
  # Each dialog logged on once and off once: the first after its send, the second when closed.
  [ "$(grep -c '^MAPILogon' "$tmp/mapi.log")" = 2 ] || fail "$(grep -c '^MAPILogon' "$tmp/mapi.log") logons"
  [ "$(grep -c '^MAPILogoff' "$tmp/mapi.log")" = 2 ] || fail "$(grep -c '^MAPILogoff' "$tmp/mapi.log") logoffs"
  # "MAPI"="0": the library is not loaded and the component refuses.
  rm -f "$log"
  wine_run reg add 'HKLM\SOFTWARE\Microsoft\Windows Messaging Subsystem' /v MAPI /t REG_SZ /d 0 /f >/dev/null
  drive mail_refused.txt
  [ ! -f "$log" ] || fail "mail was tried with \"MAPI\"=\"0\""
  # A library without MAPIFindNext: the program starts; mail is refused.
  wine_run reg add 'HKLM\SOFTWARE\Microsoft\Windows Messaging Subsystem' /v MAPI /t REG_SZ /d 1 /f >/dev/null
  cp "$dlls/app_mapi_partial.dll" "$appdir/mapi32.dll"
  drive mail_refused.txt
  [ ! -f "$log" ] || fail "mail was tried through a library lacking an entry point"
}
