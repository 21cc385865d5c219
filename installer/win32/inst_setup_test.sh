#!/usr/bin/env bash
# The setup program end to end, in a prefix of its own on the build tree's display, in one sequence:
#   build      -b writes files.1, setup.1 and a self-extracting setup.exe (read back by setup_check.py and
#              container_reader.py, every entry cmp-equal to its source); the web build's filelist.lst;
#              -b without BUILD.INF answered through its message box (fwdrive)
#   install    setup.exe through the stand-in loader, its wizard driven by fwdrive with a screenshot of
#              every page: the destination typed, the Start-menu folder renamed; files, registry, links
#              (lnkinfo), the programs started, the loader's folder gone; the stand-in uninstaller leaves
#              files and registry as they were
#   browse     the destination page in French, and Browse in the system's folder browser: opened on a
#              destination that does not exist yet, the folders it made gone again; a folder made with
#              its added button
#   cancel     Cancel on the copy page (user abort: record removed, clean-up run); a missing archive
#              (record kept)
#   reboot     a newer program over the running one: the reboot page's Yes restarts the prefix, whose
#              restart replaces the file and runs the after-reboot start (fwdrive attaches to it); No
#              leaves the work for the next start; the same through the batch file when the delayed
#              rename is refused; the restart refused (fwdrive answers the message)
#   floppies   "setup.exe *TODISK" with a: linked to a folder, on disks too small for the archive (the
#              next one asked for); the install from them, whose change-disk page waits for disk 2
#   progman    Program Manager links: the item is made, the one with arguments refused (fwdrive)
#   inst_setup_test.sh SOURCE_DIR BUILD_TREE
set -euo pipefail
src=${1:?source folder}
tree=${2:?win64 build tree}
out=${MX_TEST_TMP:?}
rm -rf "$out"
mkdir -p "$out/markers"
. "$src/installer/win32/wine_scratch.sh"
scratch_prefix "$tree" "$out"
trap drop_prefix EXIT
export DISPLAY
DISPLAY=$(cat "${MX_WINE_DIR:?}/display")

W=$tree/installer/win32
C=$WINEPREFIX/drive_c
B=$C/Build/Morvix
F=$B/Files
PF="$C/Program Files/Morvix Tools/Zip"
winPF='C:\Program Files\Morvix Tools\Zip'
MENU="$C/users/root/AppData/Roaming/Microsoft/Windows/Start Menu"
reader=$src/installer/testkit/container_reader.py
check=$src/installer/testkit/setup_check.py
export MX_STANDIN_DIR
MX_STANDIN_DIR=$(winpath "$out/markers")

wine_run() { timeout 180 "$WINE" "$@" </dev/null; }
query() { wine_run reg query "$@" 2>/dev/null | tr -d '\r' || true; }
key_exists() { wine_run reg query "$1" >/dev/null 2>&1; }
# Waits up to 60 s for a command to succeed.
wait_until() {
  local _
  for _ in $(seq 300); do "$@" && return 0; sleep 0.2; done
  return 1
}
starts() { grep -c "^started $2 " "$out/markers/$1.log" 2>/dev/null || true; }
# started NAME PATCH COUNT: the stand-in NAME of that build has started COUNT times.
started() { [ "$(starts "$1" "$2")" = "$3" ]; }
# Ends the stand-ins; then no program of the prefix may be left (its server goes with the last one).
stop_standins() {
  touch "$out/markers/MorvixZip.stop" "$out/markers/viewer.stop"
  timeout 60 $SERVER -w || fail "programs of the prefix still run"
  rm -f "$out/markers"/*.stop
}
temp_empty() { [ -z "$(ls -A "$C/users/root/Temp")" ]; }
# Runs a driver script against a program of this prefix; its screenshots stay in the test's folder and
# its log in $out/drive.log.
drive() {
  local rc=0
  MX_WINE_PREFIX=$WINEPREFIX MX_DLL_OVERRIDES=winemenubuilder.exe=d MX_TEST_TMP=$out/drive \
    "$src/tools/fwdrive-run" "$tree/framework/tools/fwdrive/fwdrive.exe" "$src/installer/win32/testdata/$1" "${@:2}" \
    >"$out/drive.log" 2>&1 || rc=$?
  cat "$out/drive.log"
  return $rc
}
winB='C:\Build\Morvix'
# Builds the installation of what Files holds now, with the setup program of the Setup folder.
build() { wine_run "$winB\\Setup\\MxInstall.exe" -b || fail "-b ended with $?"; }
# Inflates an archive at an offset and compares every entry with its source.
entries_equal() {
  local archive=$1 offset=$2 sources=$3 listing
  rm -rf "$out/inflated"
  listing=$(/usr/bin/python3 "$reader" "$archive" "$out/inflated" "$offset") || fail "container_reader: $archive"
  echo "$listing"
  local name
  for name in $(ls "$out/inflated"); do cmp "$out/inflated/$name" "$sources/$name" || fail "$name differs"; done
  echo "$(ls "$out/inflated" | wc -l) entries equal their sources"
}
record_of() { /usr/bin/python3 "$check" record "$@"; }

# ---- The build machine -----------------------------------------------------------------------------------
mkdir -p "$F" "$B/Lib" "$B/Setup" "$C/Build/Tools"
cp "$W/standin_old.exe" "$F/MorvixZip.exe"
cp "$W/standin_new.exe" "$F/MorvixSFX.exe"
cp "$W/uninstall.exe" "$F/uninstall.exe"
cp "$C/windows/system32/cabinet.dll" "$F/CABINET.DLL"
cp "$W/inst_selfreg.dll" "$F/UNRAR.dll"
printf 'Morvix Zip: read me first.\r\n' >"$F/Readme.txt"
printf 'Morvix Zip licence.\r\n' >"$F/License.txt"
# Large enough to keep a slowed copy going while the driver looks at it.
head -c 3000000 /dev/urandom >"$F/MXZP.HLP"
printf ':Base MXZP.HLP\r\n1 Contents\r\n' >"$F/MXZP.cnt"
(cd "$F" && zip -q MxExample.zip Readme.txt License.txt)
touch "$B/Lib/Q32V40.TXT"
cp "$W/QuenfordLoadProgram.exe" "$B/Lib/"
cp "$tree/installer/setup/MxInstall.exe" "$B/Setup/"
printf 'C:\\Build\\Morvix\\Out\r\n' >"$B/Setup/BUILD.INF"
cp "$W/standin_old.exe" "$C/Build/Tools/viewer.exe"
wine_run reg add 'HKLM\Software\Vantrell\Q32V40' /v 'Library Path' /d 'C:\Build\Morvix\Lib' /f >/dev/null
# A fresh prefix opens nothing for .txt: the viewer stand-in does.
wine_run reg add 'HKCR\.txt' /ve /d mxtextfile /f >/dev/null
wine_run reg add 'HKCR\mxtextfile\shell\open\command' /ve /d '"C:\Build\Tools\viewer.exe" "%1"' /f >/dev/null

# ---- Build mode ----------------------------------------------------------------------------------------------
wine_run 'C:\Build\Morvix\Setup\MxInstall.exe' -b || fail "-b ended with $?"
read -r _ setup_start _ _ files_start _ < <(record_of "$B/Out/setup.exe" "$B/Lib/QuenfordLoadProgram.exe" "$B/Out/setup.1" "$B/Out/files.1") \
  || fail "the extraction record"
entries_equal "$B/Out/setup.exe" "$files_start" "$F"
mkdir -p "$out/program" && cp "$B/Setup/MxInstall.exe" "$out/program/"
entries_equal "$B/Out/setup.exe" "$setup_start" "$out/program"

mkdir -p "$C/Build/Web"
cp "$W/mxinstall_variants.exe" "$C/Build/Web/MxInstall.exe"
printf 'C:\\Build\\Web\\Out\r\n' >"$C/Build/Web/BUILD.INF"
MXI_VARIANT=web wine_run 'C:\Build\Web\MxInstall.exe' -b || fail "web -b ended with $?"
[ ! -e "$C/Build/Web/Out/files.1" ] || fail "a web build with no local files wrote files.1"
record_of "$C/Build/Web/Out/setup.exe" "$B/Lib/QuenfordLoadProgram.exe" "$C/Build/Web/Out/setup.1" || fail "web record"
list=$(/usr/bin/python3 "$check" filelist "$C/Build/Web/Out/www.morvixtools.example/-products-zip-download/filelist.lst") \
  || fail "filelist.lst"
echo "$list"
[ "$(wc -l <<<"$list")" = 10 ] || fail "filelist.lst should list the 10 files"
while read -r component size _; do
  name=$(grep -A12 "object $component:" "$src/installer/setup/mxinstall.form" | sed -n "s/^ *FileName = '\(.*\)'/\1/p" | head -n 1)
  [ "$size" = "$(stat -c %s "$F/$name")" ] || fail "filelist.lst: $component ($name) has size $size"
done <<<"$list"

mkdir -p "$C/Build/NoInf" && cp "$tree/installer/setup/MxInstall.exe" "$C/Build/NoInf/"
drive drive_build_without_inf.txt -D 'SETUP=C:\Build\NoInf\MxInstall.exe' || fail "-b without BUILD.INF"
[ ! -e "$C/Build/NoInf/Out" ] || fail "-b without BUILD.INF wrote something"

# ---- Install through the loader, page by page, then uninstall ---------------------------------------------------
# The installations from here on are made with the test build of the setup program (the same program and
# definition; MXI_... variables switch its seams on).
cp "$W/mxinstall_variants.exe" "$B/Setup/MxInstall.exe"
build

# What the comparison after the uninstall leaves out: the build machine, temporary files, the install
# order log (kept on purpose) and what Wine itself keeps changing.
snapshot() {
  (cd "$C" && find . \( -path ./Build -o -path './users/*/Temp' -o -path ./windows/temp -o -name 'Qnfd*Order.txt' \) \
    -prune -o -print | sort) \
    >"$out/$1.files"
  local root
  for root in HKLM HKCU; do
    wine_run reg export "$root" "$out/$1.$root.utf16" /y >/dev/null
    # Wine's console keeps its settings once a batch file has run.
    iconv -f UTF-16 -t UTF-8 "$out/$1.$root.utf16" | tr -d '\r' | grep -v -E '^"(DriverDateData)"=|^#time=' |
      awk '/^\[/ { skip = index($0, "[HKEY_CURRENT_USER\\Console") == 1 } !skip' >"$out/$1.$root.reg"
    rm "$out/$1.$root.utf16"
  done
}
$SERVER -w
snapshot before

# The Start-menu page lists the Programs menu's folders; the host stands where the placement table puts
# a 478 x 395 window on this screen (centred, the halves' whole parts).
ls -1 "$MENU/Programs" | sort -f >"$out/programs.tsv"
read -r screen_w screen_h < <(xdpyinfo -display "$DISPLAY" | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
host_left=$(awk -v w="$screen_w" 'BEGIN { printf "%d", w / 2 - 478 / 2 }')
host_top=$(awk -v h="$screen_h" 'BEGIN { printf "%d", h / 2 - 395 / 2 }')
MXI_SLOW_COPY=20 drive drive_install_pages.txt -D "BUILD=$winB\\Out" -D "PROGRAMS=$out/programs.tsv" \
  -D "HOST_LEFT=$host_left" -D "HOST_TOP=$host_top" || fail "the install through the pages"
copying=$(grep -A2 'get CopyFileForm_1.lblCopyingFile.Caption' "$out/drive.log" | tr -d '\r' | sed -n 's/^    //p' | head -n 1)
case " MXZP.cnt MXZP.HLP MorvixZip.exe MorvixSFX.exe MxExample.zip Readme.txt License.txt UNRAR.dll uninstall.exe CABINET.DLL " in
  *" $copying "*) echo "the copy page showed $copying" ;;
  *) fail "the copy page showed \"$copying\", not a file of the installation" ;;
esac

OP="$C/Other Place/Zip"
winOP='C:\Other Place\Zip'
for name in MXZP.cnt MXZP.HLP MorvixZip.exe MorvixSFX.exe MxExample.zip Readme.txt License.txt UNRAR.dll; do
  cmp "$F/$name" "$OP/$name" || fail "$name"
done
cmp "$F/uninstall.exe" "$OP/Uninstall/uninstall.exe" || fail "uninstall.exe"
cmp "$F/CABINET.DLL" "$C/windows/system32/System files/CABINET.DLL" || fail "CABINET.DLL"
[ ! -e "$PF" ] || fail "files went to the proposed destination as well: $(ls "$PF")"

query 'HKLM\Software\Morvix Tools\Toolbox\General' /v InstallDir | grep -qF 'C:\Program Files\Common Files\Morvix Tools' \
  || fail "InstallDir"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvix Zip'
query "$key" /v UninstallString | grep -qF "\"$winOP\\Uninstall\\uninstall.exe\" Morvix Zip" || fail "UninstallString"
query "$key" /v DisplayName | grep -q 'REG_SZ *Morvix Zip$' || fail "DisplayName"
# The file tree in the order it is installed (system files, program files from the last made), then
# the links in the order they were made.
desktop='C:\users\root\Desktop'
menu='C:\users\root\AppData\Roaming\Microsoft\Windows\Start Menu'
expected=("C:\\windows\\system32\\System files\\CABINET.DLL")
for name in License.txt Readme.txt MxExample.zip MorvixSFX.exe MorvixZip.exe UNRAR.dll MXZP.HLP MXZP.cnt; do
  expected+=("$winOP\\$name")
done
expected+=("$menu\\Programs\\Morvix Test\\Morvix Zip.LNK" "$desktop\\Morvix Zip.LNK" "$menu\\Morvix Zip.LNK"
           "$menu\\Programs\\Morvix Test\\Morvix Zip Self Extracting (.LNK")
query "$key\\Files" /v Entries | grep -q "REG_SZ *${#expected[@]}$" || fail "Files: Entries"
for i in "${!expected[@]}"; do
  query "$key\\Files" /v "File$((i + 1))" | grep -qF "REG_SZ    ${expected[$i]}" || fail "Files: File$((i + 1)) is not ${expected[$i]}"
done
query "$key\\RegistryKeys\\RegistryKey1" /v Key | grep -qF '\Software\Morvix Tools\Toolbox\General' || fail "RegistryKey1"
query "$key\\RegistryKeys\\RegistryKey1\\Entries" /v InstallDir | grep -qF 'Common Files\Morvix Tools' || fail "RegistryKey1 entries"
for help in MXZP.CNT MXZP.HLP; do
  query 'HKLM\SOFTWARE\Microsoft\Windows\Help' /v $help | grep -qF "$winOP" || fail "help value $help"
done
key_exists 'HKLM\SOFTWARE\Quenford' && fail "the install record is left"

[ ! -e "$MENU/Programs/Morvix Tools" ] || fail "the Start-menu folder was not renamed"
links=("$MENU/Programs/Morvix Test/Morvix Zip.LNK" "$C/users/root/Desktop/Morvix Zip.LNK" "$MENU/Morvix Zip.LNK")
for link in "${links[@]}"; do
  info=$(lnkinfo "$link") || fail "lnkinfo $link"
  grep -qF "Local path			: $winOP\\MorvixZip.exe" <<<"$info" || fail "$link: $info"
  grep -qF "Working directory		: $winOP" <<<"$info" || fail "$link: working directory"
done
info=$(lnkinfo "$MENU/Programs/Morvix Test/Morvix Zip Self Extracting (.LNK") || fail "lnkinfo of the SFX link"
grep -qF "Local path			: $winOP\\MorvixSFX.exe" <<<"$info" || fail "SFX link: $info"

wait_until grep -qF "\"$winOP\\MorvixZip.exe\"" "$out/markers/MorvixZip.log" || fail "MorvixZip was not started"
wait_until grep -qF "\"$winOP\\Readme.txt\"" "$out/markers/viewer.log" || fail "Readme.txt was not opened"
wait_until temp_empty || fail "the loader's folder is left: $(ls "$C/users/root/Temp")"
echo "install: files, registry, links and the started programs as the pages chose them"

stop_standins
rm -f "$out/markers"/*
wine_run "$winOP\\Uninstall\\uninstall.exe" Morvix Zip || fail "the uninstaller ended with $?"
$SERVER -w
snapshot after
diff "$out/before.files" "$out/after.files" || fail "files differ after the uninstall"
for root in HKLM HKCU; do diff "$out/before.$root.reg" "$out/after.$root.reg" || fail "$root differs after the uninstall"; done
echo "uninstall: files and registry as before"

# ---- Browse, and the destination page in French ----------------------------------------------------------------
setup="$winB\\Setup\\MxInstall.exe"
MXI_VARIANT=french drive drive_browse_french.txt -D "SETUP=$setup" -D "BUILD=$winB\\Out" || fail "Browse (French)"
[ ! -e "$C/Browse Place" ] || fail "Browse left the folders it made: $(find "$C/Browse Place")"
drive drive_browse_made.txt -D "SETUP=$setup" -D "BUILD=$winB\\Out" || fail "Browse's new folder"
[ -d "$C/Browse Place/Zip/New Folder" ] || fail "the new folder was not made"
rm -rf "$C/Browse Place"
key_exists 'HKLM\SOFTWARE\Quenford' && fail "a cancelled install left its record"
echo "browse: opened on the destination, its folders gone again, a new folder made"

# ---- Cancelled and failed installs -----------------------------------------------------------------------------
MXI_SLOW_COPY=40 drive drive_cancel_copy.txt -D "BUILD=$winB\\Out" || fail "Cancel on the copy page"
key_exists 'HKLM\SOFTWARE\Quenford' && fail "the cancelled install left its record"
wait_until temp_empty || fail "the cancelled install's clean-up left: $(ls "$C/users/root/Temp")"
mkdir -p "$C/Build/Empty"
drive drive_missing_archive.txt -D "SETUP=$setup" -D 'EMPTY=C:\Build\Empty' || fail "the missing archive"
key_exists 'HKLM\SOFTWARE\Quenford\Install' || fail "the failed install removed its record"
wine_run reg delete 'HKLM\SOFTWARE\Quenford' /f >/dev/null
echo "cancel: the record removed after Cancel, kept after a failure"

# ---- A file in use across a reboot ----------------------------------------------------------------------------
rm -f "$out/markers"/*
drive drive_install.txt -D "BUILD=$winB\\Out" || fail "the install for the reboots"
wait_until started MorvixZip 0 1 || fail "the installed program does not run"
pending() { query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations; }
after_reboot() {
  cmp "$F/MorvixZip.exe" "$PF/MorvixZip.exe" || fail "$1: the new program is not in place"
  [ ! -e "$PF/MorvixZip.1" ] || fail "$1: MorvixZip.1 is left"
  query 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' | grep -q REG_SZ && fail "$1: RunOnce holds a value"
  key_exists 'HKLM\SOFTWARE\Quenford' && fail "$1: the install record is left"
  temp_empty || fail "$1: temporary files are left: $(ls "$C/users/root/Temp")"
  echo "$1: replaced at the reboot"
}
# A newer program while the old one runs; the reboot page's Yes restarts the prefix.
newer() {
  cp "$W/standin_$1.exe" "$F/MorvixZip.exe"
  build
}
newer new
drive drive_reboot_yes.txt -D "BUILD=$winB\\Out" || fail "the reboot page's Yes"
wait_until started MorvixZip 5 1 || fail "the after-reboot start did not start the new program"
grep -q "session ended" "$out/markers/MorvixZip.log" || fail "the old program did not see the session end"
stop_standins
after_reboot "Yes"

# No: the work waits for the next start of Windows, which then finishes it.
rm -f "$out/markers"/*
"$WINE" "$winPF\\MorvixZip.exe" </dev/null &
wait_until started MorvixZip 5 1 || fail "the program does not run again"
newer old
drive drive_reboot_no.txt -D "BUILD=$winB\\Out" || fail "the reboot page's No"
cmp "$F/MorvixZip.exe" "$PF/MorvixZip.1" || fail "No: MorvixZip.1 does not hold the new program"
grep -qF "!\\??\\$winPF\\MorvixZip.exe" <<<"$(pending)" || fail "No: no replacing rename"
query 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v QuenfordUnfinished | grep -qF " -r " \
  || fail "No: the after-reboot command is not registered"
record=$(query 'HKLM\SOFTWARE\Quenford\Install' | grep -o 'Install\\Install[0-9]*$' | head -n 1)
query "HKLM\\SOFTWARE\\Quenford\\$record\\Unfinished" /v InstallFile7 | grep -q 'REG_SZ *0$' || fail "No: Unfinished InstallFile7"
drive drive_after_restart.txt -D "HARNESS=$W/instharness.exe" || fail "the restart after No"
wait_until started MorvixZip 0 1 || fail "the restart did not start the program"
stop_standins
after_reboot "No, then restarted"

# The delayed rename refused: a batch file replaces the program; the after-reboot start runs it first.
rm -f "$out/markers"/*
"$WINE" "$winPF\\MorvixZip.exe" </dev/null &
wait_until started MorvixZip 0 1 || fail "the program does not run again"
newer new
MXI_NO_DELAYED_MOVE=1 drive drive_reboot_yes.txt -D "BUILD=$winB\\Out" || fail "the batch install"
wait_until started MorvixZip 5 1 || fail "the batch did not put the program in place"
stop_standins
after_reboot "batch"

# The system refuses the restart: the setup program says so and leaves the work for the next start.
rm -f "$out/markers"/*
"$WINE" "$winPF\\MorvixZip.exe" </dev/null &
wait_until started MorvixZip 5 1 || fail "the program does not run again"
newer old
MXI_NO_RESTART=1 drive drive_reboot_refused.txt -D "SETUP=$setup" -D "BUILD=$winB\\Out" || fail "the refused restart"
cmp "$F/MorvixZip.exe" "$PF/MorvixZip.1" || fail "MorvixZip.1 does not hold the new program"
cmp "$W/standin_new.exe" "$PF/MorvixZip.exe" || fail "the running program changed"
runonce=$(query 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' /v QuenfordUnfinished)
echo "$runonce"
grep -qF "REG_SZ    \"$setup\" -r \"-esetup.exe\" \"-s$winB\\Out\"" <<<"$runonce" || fail "the after-reboot command"
drive drive_after_restart.txt -D "HARNESS=$W/instharness.exe" || fail "the restart after the refusal"
wait_until started MorvixZip 0 1 || fail "the restart did not start the program"
stop_standins
after_reboot "refused, then restarted"

# ---- Floppies ------------------------------------------------------------------------------------------------------
# "setup.exe *TODISK" with a: linked to a folder, on disks of 2,000,000 bytes: the archive goes on in
# files.2 once the first disk is full, the next disk asked for in a message box.
mkdir -p "$out/floppy"
ln -sfn "$out/floppy" "$WINEPREFIX/dosdevices/a:"
MXI_DISK_BYTES=2000000 drive drive_floppies.txt -D "BUILD=$winB\\Out" || fail "the floppy transfer"
cmp <(head -c "$setup_start" "$B/Out/setup.exe") "$out/floppy/setup.exe" || fail "a:\\setup.exe is not the loader"
cmp "$B/Out/setup.1" "$out/floppy/setup.1" || fail "a:\\setup.1"
[ "$(stat -c %s "$out/floppy/files.1")" -le 2000000 ] && [ -s "$out/floppy/files.2" ] || fail "the archive does not span two disks"
entries_equal "$out/floppy/files.1" 0 "$F"
temp_empty || fail "the loader left its folder"

# Installing from the disks: the change-disk page asks for the second one, which the user then puts in.
mv "$out/floppy/files.2" "$out/disk2"
( wait_until [ -e "$out/drive/page-change-disk.png" ] && mv "$out/disk2" "$out/floppy/files.2" ) &
disk2=$!
rm -f "$out/markers"/*
drive drive_change_disk.txt -D "SETUP=$setup" || fail "the install from the disks"
wait $disk2
for name in MXZP.cnt MXZP.HLP MorvixZip.exe MorvixSFX.exe MxExample.zip Readme.txt License.txt UNRAR.dll; do
  cmp "$F/$name" "$PF/$name" || fail "from the disks: $name"
done
wait_until started MorvixZip 0 1 || fail "the install from the disks did not start the program"
stop_standins
echo "floppies: two disks written, the second asked for on the change-disk page when installing"

# ---- Program Manager -----------------------------------------------------------------------------------------------
wine_run "$winPF\\Uninstall\\uninstall.exe" Morvix Zip || fail "the uninstaller ended with $?"
$SERVER -w
[ ! -e "$MENU/Programs/Morvix Tools" ] || fail "the main folder was left by the uninstaller"
mkdir -p "$C/Build/Progman"
cp "$W/mxinstall_variants.exe" "$C/Build/Progman/MxInstall.exe"
printf 'C:\\Build\\Progman\\Out\r\n' >"$C/Build/Progman/BUILD.INF"
MXI_VARIANT=progman wine_run 'C:\Build\Progman\MxInstall.exe' -b || fail "-b of the Program Manager definition"
MXI_VARIANT=progman drive drive_progman.txt -D 'SETUP=C:\Build\Progman\MxInstall.exe' -D 'BUILD=C:\Build\Progman\Out' \
  || fail "the Program Manager install"
item=$(find "$MENU/Programs/Morvix Tools" -iname 'Morvix Zip.lnk')
[ -n "$item" ] || fail "no Program Manager item: $(ls -R "$MENU/Programs")"
info=$(lnkinfo "$item") || fail "lnkinfo of the item"
grep -qF "Local path			: $winPF\\MorvixZip.exe" <<<"$info" || fail "the item's target: $info"
[ "$(ls "$MENU/Programs/Morvix Tools")" = "$(basename "$item")" ] || fail "the group holds: $(ls "$MENU/Programs/Morvix Tools")"
echo "Program Manager: the group and its item, the item with arguments refused"
# The system showed the group in folder windows of its own; they are closed as a user closes a window.
wine_run taskkill /im explorer.exe >/dev/null || fail "the group's windows were not closed"

# No program of the prefix is left once the stand-ins the last install started have ended.
stop_standins
