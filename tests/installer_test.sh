#!/usr/bin/env bash
# The Windows installer under Wine, as an administrator runs it silently: in a
# 64-bit prefix without the source, "setup /S" places both builds' files
# where their managers look, writes the installation values into WIN.INI and
# registers its uninstaller; each build's twscan then lists the source and
# scans with it. A second installation keeps the WIN.INI values the first
# left (and fills in a missing one); the silent uninstall leaves nothing of
# it but the user's settings and batch files, in the folders and in WIN.INI.
#
# usage: installer_test.sh SETUP_EXE BUILD_DIRECTORY WORK_DIRECTORY
# (BUILD_DIRECTORY holds the win32 and win64 builds)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/prefix.sh"
setup=$(realpath "$1") builds=$(realpath "$2") work=$3
if ! win32_runs; then
  echo "installer: not run: the installer is a 32-bit program and this kernel cannot run 32-bit programs"
  exit 0
fi
rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
cd "$work" || exit 1
. "$root/tests/lib/checks.sh"

prefix=$work/prefix
trap 'WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1; rm -rf "$prefix"' EXIT
copy_prefix "$builds/win64/wine/template" "$prefix"
windows=$prefix/drive_c/windows
folder32=$windows/twain_32/KVSC_A3 folder64=$windows/twain_64/KVSC_A3
rm -rf "$folder32" "$folder64" "$windows/twain"
wine_env "$prefix"

# ini_value SECTION KEY: the value in WIN.INI; fails when the key is missing.
ini_value() {
  tr -d '\r' <"$windows/win.ini" | awk -v section="[$1]" -v key="$2" '
    /^\[/ { inside = ($0 == section) }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2); found = 1 }
    END { exit !found }'
}
value_is() { [ "$(ini_value "$1" "$2")" = "$3" ]; }
section_missing() { ! tr -d '\r' <"$windows/win.ini" | grep -qxF "[$1]"; }
uninstall_registered() { grep -q 'CurrentVersion\\\\Uninstall\\\\KVSC_A3\]' "$prefix/system.reg"; }
holds_only() {
  local listing
  listing=$(cd "$1" && ls | sort | tr '\n' ' ')
  echo "$1 holds: $listing"
  [ "$listing" = "$2" ]
}

twscan() {
  local build=$1
  shift
  run_wine "$builds/$build/bin/twscan.exe" "$@"
}
lists_source() { twscan "$1" --list 2>>twscan.log | grep -q 'A3 Flatbed Scanner'; }
scans() {
  twscan "$1" --mode gray --dpi 100 --area 1,1,3,2 --xfer memory --out "$1.bmp" >>twscan.log 2>&1 &&
    size_is "$1.bmp" "200 100"
}

check "silent install succeeds" run_wine "$setup" /S
for build in win32 win64; do
  folder=$folder32
  [ "$build" = win64 ] && folder=$folder64
  for file in bin/kvsc_a3.ds bin/PRESCAN.DLL bin/KVASPI_SP.DLL data/cmyk.tab data/cmykpp60.tab; do
    check "$build: ${file#*/} installed" cmp "$builds/$build/$file" "$folder/${file#*/}"
  done
  check "$build: twscan --list finds the source" lists_source "$build"
  check "$build: a scan with the installed source" scans "$build"
done
# The pictures of the empty lid, in C:\Windows\TWAIN\KVSC_A3 (whatever case Wine gave the folder).
patterns=$(find "$windows" -maxdepth 2 -ipath "$windows/twain/kvsc_a3")
for file in pat_l.BMP pat_h.BMP; do
  check "$file installed" cmp "$builds/win32/data/$file" "$patterns/$file"
done
check "the uninstaller is in the 32-bit folder" test -f "$folder32/uninstall.exe"
check "the uninstaller is registered" uninstall_registered
check "WIN.INI: the driver library" value_is KVSINFO_A3 DRIVER KVASPI_SP.DLL
check "WIN.INI: the model text" value_is KVSINFO_A3 1200 "A3 Flatbed Scanner"
check "WIN.INI: the language" value_is KVSINFO_A3 LANGUAGE English
check "WIN.INI: the lamp time-out" value_is "A3 SCANNER" SAVER 20

# What the user did since: another language, the lamp switched off, a key
# lost; settings and batch files saved, a preview and the driver's log left
# in the folders.
sed -i -e 's/^LANGUAGE=English/LANGUAGE=Deutsch/' -e 's/^SAVER=20/SAVER=255/' -e '/^DSLANGUAGE=/d' "$windows/win.ini"
for folder in "$folder32" "$folder64"; do
  echo saved >"$folder/MINE.PAR"
  echo saved >"$folder/JOBS.SET"
  echo preview >"$folder/ORVC0000.BMP"
  echo log >>"$folder/KVASPI_SP.LOG"
done
check "silent reinstall succeeds" run_wine "$setup" /S
check "reinstall keeps the language" value_is KVSINFO_A3 LANGUAGE Deutsch
check "reinstall keeps the lamp time-out" value_is "A3 SCANNER" SAVER 255
check "reinstall writes a missing key" value_is KVSINFO_A3 DSLANGUAGE None

check "silent uninstall succeeds" run_wine 'C:\windows\twain_32\KVSC_A3\uninstall.exe' /S
check "uninstall keeps only the 32-bit settings files" holds_only "$folder32" "JOBS.SET MINE.PAR "
check "uninstall keeps only the 64-bit settings files" holds_only "$folder64" "JOBS.SET MINE.PAR "
check "uninstall removes the pictures of the empty lid" test ! -e "$patterns"
check "uninstall removes the installation section" section_missing KVSINFO_A3
check "uninstall removes the lamp section it emptied" section_missing "A3 SCANNER"
check "uninstall removes the registration" eval '! uninstall_registered'

# The lamp keys share their section with the simulated scanner's settings:
# a setting the source saved there stays.
run_wine "$setup" /S
sed -i 's/^\[A3 SCANNER\]\r$/&\nScanRes=200\r/' "$windows/win.ini"
run_wine 'C:\windows\twain_32\KVSC_A3\uninstall.exe' /S
check "uninstall keeps the scanner's settings" value_is "A3 SCANNER" ScanRes 200
check "uninstall removes the lamp keys beside them" eval '! ini_value "A3 SCANNER" SAVER'

finish installer
