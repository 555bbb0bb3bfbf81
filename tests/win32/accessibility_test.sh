#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader reads of edt-editor.exe under Wine through MSAA, read by a small
# program of its own (accessible_names.cpp, built with the cross build's compiler):
# the names of List1, EditWindow and the find field, a row read with "line break", the
# text box described by the label row; then "Not found" alerted for each of two finds,
# and the over-limit note in the text box's description as its text grows too long.
# Usage: accessibility_test.sh SOURCE_DIR CROSS_BUILD_DIR NATIVE_MAKE_SAMPLES
set -euo pipefail
if [[ ${1:-} != --on-display ]]; then
    source "$(realpath "$1")/tests/support/virtual_display.sh"
    on_virtual_display 1024x768x24 96 bash "$0" --on-display "$@"
    exit
fi
source_dir=$(realpath "$2") cross=$(realpath "$3") make_samples=$(realpath "$4")
work=$(mktemp -d)
source "$source_dir/scripts/wine-session.sh"
trap 'wine_end; rm -rf "$work"' EXIT
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$cross/CMakeCache.txt")
"$cxx" -std=c++17 -Wall -Wextra -Werror -O1 -static "$source_dir/tests/win32/accessible_names.cpp" \
    -loleacc -lole32 -loleaut32 -o "$work/names.exe" || fail "accessible_names does not build"
"$make_samples" "$work" 20 >/dev/null
cd "$work"
wine "$cross/bin/edt-editor.exe" strings.edt >editor.log 2>&1 &
main=$(window '^Zelvar Email Editor') || fail "the editor showed no window"
wine names.exe watch 120 >heard &
# Runs the command (a keystroke, a reading) until the file $1 has $2 lines that match
# $3, for at most 30 s.
until_lines() {
    local file=$1 count=$2 pattern=$3 i
    shift 3
    for ((i = 0; i < 150; ++i)); do
        [[ -f $file ]] && (($(grep -c -- "$pattern" "$file") >= count)) && return 0
        "$@"
        sleep 0.2
    done
    cat "$file"
    fail "no $count lines '$pattern' in $file"
}
until_lines heard 1 '^watching' true
focus "$main"
xdotool key Down
until_lines names 1 "^Edit: name='Record text' description='Record: 0000001. Record Length (Max 235): 136. Texts in Windows-1252'" \
    eval 'wine names.exe 3 >names'
grep -q "^SysListView32: name='Entries'" names && grep -q "^Edit (hidden): name='Find key or text'" names &&
    grep -q "^  row: name='\[0000481\] contract line break the vu" names && ! grep -q '[↵◄]' names ||
    { cat names; fail "names or rows read wrong"; }
xdotool key ctrl+f
xdotool type zzqq
xdotool key Return Return
until_lines heard 2 "^alert: name='Not found'" true
xdotool key Escape Tab
until_lines heard 1 "^description: name='Record text' .*holds at most" xdotool type --delay 5 xxxxxxxxxxxxxxxxxxxx
echo "ok: MSAA names, rows, descriptions and alerts"
