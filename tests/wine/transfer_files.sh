#!/usr/bin/env bash
# The files a host receives, read by independent readers. twscan acquires the
# same frame in each mode by native, memory and file transfer (TIFF and BMP);
# libtiff's tiffinfo and tiffdump and ImageMagick's identify must read every
# file at the expected size, and compare must find the same pixels in all.
#
# usage: transfer_files.sh WINE_RUN TEMPLATE TWSCAN_EXE WORK_DIRECTORY
set -uo pipefail
wine_run=$1 template=$2 twscan=$3 work=$4
checks=$(cd "$(dirname "$0")/../lib" && pwd)/checks.sh
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

. "$checks"

# scan NAME ARGS...: one acquisition of the frame 1,1 - 5,4 inches at 100 dpi
# into NAME (relative: Wine runs in this directory).
scan() {
  local name=$1
  shift
  "$wine_run" --template "$template" "$twscan" --dpi 100 --area 1,1,5,4 --out "$name" "$@" >>twscan.log 2>&1
}

tiff_reads() {
  local info
  info=$(tiffinfo "$1" 2>&1) || return 1
  # libtiff reads the file without a warning and finds the expected layout.
  ! grep -qi -e warning -e error <<<"$info" && grep -q "Image Width: $2 Image Length: 300" <<<"$info" &&
    grep -q "Photometric Interpretation: $3" <<<"$info" && tiffdump "$1" >/dev/null
}

for entry in "lineart min-is-black" "gray min-is-black" "color RGB color"; do
  read -r mode photometric <<<"$entry"
  check "$mode native" scan "$mode-native.bmp" --mode "$mode" --xfer native
  check "$mode memory" scan "$mode-memory.bmp" --mode "$mode" --xfer memory
  check "$mode file tiff" scan "$mode-file.tif" --mode "$mode" --xfer file --format tiff
  check "$mode file bmp" scan "$mode-file.bmp" --mode "$mode" --xfer file --format bmp
  # Four inches at 100 dpi; line art is narrowed to a width the scanner takes.
  size=$(identify -format '%w %h' "$mode-native.bmp" 2>/dev/null)
  [ "$mode" = lineart ] || check "$mode-native.bmp is 400 x 300" [ "$size" = "400 300" ]
  for file in "$mode-memory.bmp" "$mode-file.tif" "$mode-file.bmp"; do
    check "$file is $size" size_is "$file" "$size"
    check "$file has the pixels of $mode-native.bmp" same_pixels "$mode-native.bmp" "$file"
  done
  check "$mode-file.tif read by libtiff" tiff_reads "$mode-file.tif" "${size% *}" "$photometric"
done

# --caps: one line per capability and query, each with its container.
caps_listed() {
  "$wine_run" --template "$template" "$twscan" --caps 2>>twscan.log | tr -d '\r' >caps.txt || return 1
  grep -qx "ICAP_XRESOLUTION MSG_GET TWON_ENUMERATION TWTY_UINT32 75 100 150 200 300 400 500 600 current 4 default 4" caps.txt &&
    grep -qx "ICAP_XNATIVERESOLUTION MSG_GETCURRENT TWON_ONEVALUE TWTY_FIX32 1200" caps.txt &&
    grep -qx "ICAP_BRIGHTNESS MSG_GET TWON_RANGE TWTY_FIX32 -1000..1000 step 80 default 0 current 0" caps.txt &&
    grep -qx "CAP_SUPPORTEDCAPS MSG_GETDEFAULT TWON_ARRAY TWTY_UINT16 [0-9 ]*" caps.txt &&
    # Three lines for every capability, none of them a failure.
    [ $(($(wc -l <caps.txt) % 3)) = 0 ] && ! grep -q TWRC_ caps.txt
}
check "twscan --caps" caps_listed

finish files
