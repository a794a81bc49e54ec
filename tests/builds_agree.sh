#!/usr/bin/env bash
# The 32-bit and the 64-bit data source give the same image. Each build's
# twscan lists the source and scans the frame 1,1 - 5,4 inches in colour at
# 100 dpi by memory, native and file transfer, every run in a fresh copy of
# its build's template prefix; all six pictures must be 400 x 300 with the
# same pixels.
#
# usage: builds_agree.sh WORK_DIRECTORY (run where both builds run)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$1
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1

. "$root/tests/lib/checks.sh"

twscan() {
  local build=$1
  shift
  "$root/scripts/wine-run" --template "$root/build/$build/wine/template" "$root/build/$build/bin/twscan.exe" "$@"
}

lists_source() { twscan "$1" --list | grep -q 'A3 Flatbed Scanner'; }

for build in win32 win64; do
  check "$build lists the source" lists_source "$build"
  for xfer in memory native file; do
    twscan "$build" --mode color --dpi 100 --area 1,1,5,4 --xfer "$xfer" --out "$build-$xfer.bmp" >>twscan.log 2>&1
    check "$build $xfer: 400 x 300" size_is "$build-$xfer.bmp" "400 300"
    check "$build $xfer: the pixels of the 32-bit memory transfer" same_pixels win32-memory.bmp "$build-$xfer.bmp"
  done
done

finish builds_agree
