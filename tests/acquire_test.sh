#!/usr/bin/env bash
# twscan acquires through the source manager and the data source, as a person
# runs it: every run gets a fresh copy of the template prefix (never the
# project's own prefix). The frame 1,1 - 5,4 inches at 100 dpi is scanned in
# each mode by native, memory and file transfer; the files twscan writes
# itself (BMP and TIFF from memory blocks, BMP from the native bitmap) must
# be read by ImageMagick and libtiff and hold the same pixels as the others.
# The dialog's own scan (--ui --press-scan --set ...) and failures are run too,
# and the memory transfer's progress line into a file and on a terminal.
#
# usage: acquire_test.sh BUILD_DIRECTORY
set -uo pipefail
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
wine_run=$root/scripts/wine-run
template=$build/wine/template
twscan_exe=$build/bin/twscan.exe
work=$build/tests/acquire
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

. "$root/tests/lib/checks.sh"

# twscan NAME ARGS...: one run; its exit status, standard output and error
# are kept as NAME.status, NAME.out, NAME.err.
twscan() {
  local name=$1
  shift
  "$wine_run" --template "$template" "$twscan_exe" "$@" >"$name.out" 2>"$name.err"
  echo $? >"$name.status"
}
# scan NAME ARGS...: the frame at 100 dpi into NAME (relative: Wine runs here).
scan() {
  local name=$1
  shift
  twscan "$name" --dpi 100 --area 1,1,5,4 --out "$name" "$@"
}

status_is() { [ "$(cat "$1.status")" = "$2" ]; }
err_has() { grep -qF -- "$2" "$1.err"; }
err_lacks() { ! err_has "$@"; }
tiff_reads() {
  local info
  info=$(tiffinfo "$1" 2>&1) || return 1
  ! grep -qi -e warning -e error <<<"$info" && grep -q "Photometric Interpretation: $2" <<<"$info"
}

for entry in "color RGB color" "gray min-is-black" "lineart min-is-black"; do
  read -r mode photometric <<<"$entry"
  scan "$mode-native.bmp" --mode "$mode" --xfer native
  scan "$mode-memory.bmp" --mode "$mode" --xfer memory
  scan "$mode-memory.tif" --mode "$mode" --xfer memory
  scan "$mode-file.tif" --mode "$mode" --xfer file --format tiff
  for file in "$mode-native.bmp" "$mode-memory.bmp" "$mode-memory.tif" "$mode-file.tif"; do
    check "$file: twscan succeeds" status_is "$file" 0
    check "$file: says where the image went" err_has "$file" "twscan: wrote $file"
  done
  for file in "$mode-memory.bmp" "$mode-memory.tif" "$mode-file.tif"; do
    check "$file has the pixels of $mode-native.bmp" same_pixels "$mode-native.bmp" "$file"
  done
  check "$mode-memory.tif read by libtiff as $photometric" tiff_reads "$mode-memory.tif" "$photometric"
  check "$mode-file.tif read by libtiff as $photometric" tiff_reads "$mode-file.tif" "$photometric"
done
check "colour is 400 x 300" size_is color-memory.bmp "400 300"
check "grey is 400 x 300" size_is gray-memory.bmp "400 300"
check "memory progress reaches every row" err_has color-memory.bmp "received 300 of 300 rows (100%)"
check "memory progress into a file: one line" [ "$(grep -c 'twscan: received' color-memory.bmp.err)" = 1 ]
# On a terminal the progress line is rewritten in place until every row is in.
script -qec "'$wine_run' --template '$template' '$twscan_exe' --mode color --dpi 100 --area 1,1,5,4 \
  --xfer memory --out terminal.bmp" terminal.typescript >/dev/null 2>&1
# Wine's console draws some blanks as cursor movements: compared without
# escape sequences and blanks.
in_place() {
  sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' terminal.typescript | tr -d ' ' |
    grep -qa "received[0-9]*of300rows([0-9]*%)"$'\r'"twscan:received300of300rows(100%)"$'\r*$'
}
check "memory progress on a terminal: rewritten in place" in_place
# Line art: a set bit is white, in the bitmap's palette and in the TIFF (min-is-black).
check "line art is bilevel" [ "$(identify -format '%[type]' lineart-memory.tif)" = Bilevel ]

# The dialog's scan with the settings of the grey scan above: the same image.
twscan ui.bmp --ui --press-scan --set ScanMode=1013 --set ScanRes=100 --set "Frame=30  30  150 120 " \
  --xfer memory --out ui.bmp
check "dialog scan: twscan succeeds" status_is ui.bmp 0
check "dialog scan: the Scan button was pressed" err_has ui.bmp "pressed the dialog's Scan button"
check "dialog scan has the pixels of the unattended grey scan" same_pixels gray-native.bmp ui.bmp

# The Invert filter: the exact negative of the same scan without a filter.
twscan invert.bmp --ui --press-scan --set ScanMode=1013 --set ScanRes=100 --set "Frame=30  30  150 120 " \
  --set FilterMode=1 --xfer memory --out invert.bmp
check "inverted scan: twscan succeeds" status_is invert.bmp 0
convert ui.bmp -negate negated.bmp >>checks.log 2>&1
check "inverted scan is the negative of the plain one" same_pixels negated.bmp invert.bmp

# CMYK and 36-bit colour for the host that takes them, by memory transfer into TIFF.
photoshop() {
  local name=$1 mode=$2
  shift 2
  twscan "$name" --app-name Photoshop --ui --press-scan --set ScanMode="$mode" --set ScanRes=100 \
    --set "Frame=30  30  150 120 " --xfer memory --out "$name" "$@"
}
photoshop cmyk.tif 1015
check "CMYK: twscan succeeds" status_is cmyk.tif 0
check "CMYK read by libtiff as separated" tiff_reads cmyk.tif separated
check "CMYK is 400 x 300" size_is cmyk.tif "400 300"
check "CMYK has four channels" [ "$(identify -format '%[colorspace]' cmyk.tif 2>/dev/null)" = CMYK ]
photoshop deep.tif 1016
check "36-bit: twscan succeeds" status_is deep.tif 0
check "36-bit read by libtiff as RGB" tiff_reads deep.tif "RGB color"
check "36-bit has 16 bits a sample" grep -q "Bits/Sample: 16" <(tiffinfo deep.tif 2>&1)
check "36-bit is 400 x 300" size_is deep.tif "400 300"
photoshop cmyk.bmp 1015
check "CMYK as BMP: exit status 1" status_is cmyk.bmp 1
check "CMYK as BMP: the reason" err_has cmyk.bmp "a CMYK image has no BMP layout; write it as TIFF (--format tiff)"

# A resolution the source does not offer: the failed triplet with both codes, no file.
scan dpi250.bmp --dpi 250
check "refused resolution: exit status 1" status_is dpi250.bmp 1
check "refused resolution: the failed call is named" \
  err_has dpi250.bmp "DG_CONTROL/DAT_CAPABILITY/MSG_SET (ICAP_XRESOLUTION 250) failed: return code 1 (TWRC_FAILURE), condition code 10 (TWCC_BADVALUE)"
check "refused resolution: no file" [ ! -e dpi250.bmp ]

# The application's name reaches the source: it keeps this host to memory transfers.
scan iphoto.bmp --app-name "iPhoto Plus 4" --mode gray --xfer native
check "host rule by name: exit status 1" status_is iphoto.bmp 1
check "host rule by name: native refused" \
  err_has iphoto.bmp "(ICAP_XFERMECH TWSX_NATIVE) failed: return code 1 (TWRC_FAILURE), condition code 10 (TWCC_BADVALUE)"

# An output directory that does not exist: the image is refused, the source
# ends it unseen and is closed in order.
twscan missing --mode gray --dpi 100 --area 1,1,5,4 --out missing/x.bmp
check "missing directory: exit status 1" status_is missing 1
check "missing directory: the reason" err_has missing "cannot create missing/x.bmp"
check "missing directory: no complaint about ending the image" err_lacks missing DAT_PENDINGXFERS

# A bad command line: the reason and the usage, exit status 2.
twscan badarea --area 5,1,1,4 --out x.bmp
check "bad area: exit status 2" status_is badarea 2
check "bad area: the reason" err_has badarea "--area 5,1,1,4 is empty"

finish acquire
