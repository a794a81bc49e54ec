#!/usr/bin/env bash
# scripts/check-layers passes on the product code as it is and fails, naming
# the file and the include, when an include against the layering is added.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fresh_copy() {
    rm -rf "$work/tree" && mkdir "$work/tree"
    for folder in "$repo"/*/; do
        [ "$(basename "$folder")" = build ] || cp -r "$folder" "$work/tree/"
    done
}

# expect_failure FILE INCLUDE: the check fails on FILE including INCLUDE.
expect_failure() {
    fresh_copy
    printf '#include "%s"\n' "$2" >> "$work/tree/$1"
    if "$repo/scripts/check-layers" "$work/tree" 2> "$work/out"; then
        echo "check-layers accepted $1 including $2"; exit 1
    fi
    grep -qF "$1:" "$work/out" && grep -qF "\"$2\"" "$work/out" || { cat "$work/out"; exit 1; }
}

fresh_copy
"$repo/scripts/check-layers" "$work/tree"

expect_failure imaging/histogram.cpp engine/job_state.h
expect_failure imaging/tone_map.h device/device.h
expect_failure device/inquiry.cpp settings/scan_settings.h
expect_failure device/messages.cpp twain/twain.h
expect_failure profile/texts.cpp session/session.h
expect_failure device/device.h ui/main_dialog.h
expect_failure engine/shading.cpp ui/main_dialog.h
expect_failure profile/profile.cpp device/device.h
expect_failure source/capability.cpp ui/main_dialog.h
expect_failure session/notify.cpp engine/transfer.h
expect_failure imaging/histogram.cpp device/tone_download.h
expect_failure hostkit/twscan.cpp twain/session.h
expect_failure sim/sensor.cpp device/device.h
expect_failure tools/make_lid_patterns.cpp engine/scan_command.h
echo "check-layers: every forbidden include was named"
