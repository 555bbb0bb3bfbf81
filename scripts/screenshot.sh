#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Remakes the README's screenshot (docs/screenshot.png, or the file given): starts the
# editor from build/ on a virtual X display (Xvfb), opens a generated email.edt through
# File > Open ... as a user would (keys typed with xdotool), selects the third line and
# saves the window as a PNG. Build first: bash scripts/run-editor.sh.
# Usage: scripts/screenshot.sh [OUT.png]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${EDT_BUILD_DIR:-$root/build}

if [[ ${1:-} != --on-display ]]; then
    out=$(realpath -m "${1:-$root/docs/screenshot.png}")
    for program in edt-editor edt-make-samples; do
        [[ -x $build/bin/$program ]] || { echo "No $build/bin/$program: build first." >&2; exit 1; }
    done
    for command in xvfb-run xdotool import; do
        command -v "$command" >/dev/null ||
            { echo "$command is missing: bash scripts/setup.sh installs it." >&2; exit 1; }
    done
    mkdir -p "$(dirname "$out")"
    exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash "$root/scripts/screenshot.sh" --on-display "$out"
fi

# From here on, inside the X session that xvfb-run made.
out=$2
work=$(mktemp -d)
editor_pid=
cleanup() {
    [[ -n $editor_pid ]] && kill "$editor_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "screenshot: $*" >&2; exit 1; }
# Waits (at most 20 s) for a visible window whose title matches, and prints its id.
window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -1; }

"$build/bin/edt-make-samples" "$work" 40
cd "$work"
"$build/bin/edt-editor" >"$work/editor.log" 2>&1 &
editor_pid=$!

main=$(window '^Zelvar EDT File Editor$') || { cat "$work/editor.log"; fail "the editor did not show its window"; }
# No window manager runs here: give the window the keyboard directly.
xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key o
window '^Open File' >/dev/null || fail "File > Open ... showed no dialog"
sleep 0.5
# The dialog's file name field has the focus; a full path goes straight to the file.
xdotool type --delay 10 "$work/email.edt"
xdotool key Return
main=$(window '^Zelvar Email Editor - ') || fail "the file was not opened"
xdotool windowfocus --sync "$main"
# The list has the focus again: Home selects the first line, two Downs the third
# (the generated file's second entry is empty).
xdotool key Home
sleep 0.2
xdotool key Down Down
sleep 1
import -window "$main" "$out"
echo "$out"
