#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Remakes the README's screenshot of the Windows editor (docs/screenshot-windows.png,
# or the file given): runs edt-editor.exe from build-windows/ under Wine on a virtual X
# display, opens a generated email.edt through File > Open ... and the system's dialog
# as a user would, selects the third line and saves the window as a PNG. Without a
# window manager Wine draws no title bar: the picture shows the menu bar and the
# window's client area. With --windows10-150 the editor runs with Windows 10's window
# metrics at 150 % (144 dpi), for docs/screenshot-windows-150.png. Build first:
# bash scripts/build-windows.sh, and the native build (for edt-make-samples):
# bash scripts/run-editor.sh.
# Usage: scripts/screenshot-windows.sh [--windows10-150] [OUT.png]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
exe=$(realpath -m "${EDT_WINDOWS_BUILD_DIR:-$root/build-windows}/bin/edt-editor.exe")
make_samples=$(realpath -m "${EDT_BUILD_DIR:-$root/build}/bin/edt-make-samples")

if [[ ${1:-} != --on-display ]]; then
    dpi=96 out=$root/docs/screenshot-windows.png
    if [[ ${1:-} == --windows10-150 ]]; then
        dpi=144 out=$root/docs/screenshot-windows-150.png
        shift
    fi
    out=$(realpath -m "${1:-$out}")
    for program in "$exe" "$make_samples"; do
        [[ -x $program ]] || { echo "No $program: build first." >&2; exit 1; }
    done
    mkdir -p "$(dirname "$out")"
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" bash "$0" --on-display "$out" "$dpi"
fi

exec 2>&1 # xvfb-run drops the error stream
out=$2 dpi=$3
work=$(mktemp -d)
source "$root/scripts/wine-session.sh"
trap 'wine_end; rm -rf "$work"' EXIT
((dpi == 96)) || windows10_metrics "$dpi"
"$make_samples" "$work" 40 >/dev/null
cd "$work"
xdotool mousemove 0 0 # off the window: a tooltip would show as a black box
wine "$exe" >"$work/editor.log" 2>&1 &
main=$(window "^Zelvar EDT File Editor$") || { cat "$work/editor.log"; fail "the editor showed no window"; }
open_with_dialog "$main" "$work/email.edt"
main=$(window '^Zelvar Email Editor - ') || fail "the file was not opened"
focus "$main"
# The list has the focus again: Home selects the first line, two Downs the third.
xdotool key Home Down Down
sleep 1 # the window repaints
import -window "$main" "$out"
echo "$out"
