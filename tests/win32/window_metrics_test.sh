#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows editor shows its whole window under Wine's default metrics and under
# Windows 10's (whose frame counts invisible resize borders) at 96, 144 and 192 dpi:
# for each, a short run with a generated file on the command line, a screenshot of
# the window (kept in SCREENS_DIR), the checks of tests/support/whole_window.sh on it,
# and File > Exit.
# Usage: window_metrics_test.sh SOURCE_DIR EDT_EDITOR_EXE NATIVE_MAKE_SAMPLES SCREENS_DIR VERSION
set -euo pipefail
source_dir=$(realpath "$1") exe=$(realpath "$2") make_samples=$(realpath "$3") version=$5
screens=$(realpath -m "$4")
source "$source_dir/tests/support/virtual_display.sh"
virtual_display 1600x1200x24 96
work=$(mktemp -d)
source "$source_dir/scripts/wine-session.sh"
source "$source_dir/tests/support/whole_window.sh"
trap 'wine_end; virtual_display_end; rm -rf "$work"' EXIT
mkdir -p "$screens"
"$make_samples" "$work" 60 >/dev/null # enough entries for a scroll bar
cd "$work"

for setting in default windows10-96 windows10-144 windows10-192; do
    [[ $setting == windows10-* ]] && windows10_metrics "${setting#windows10-}"
    wine "$exe" email.edt >>"$work/editor.log" 2>&1 &
    editor=$!
    main=$(window '^Zelvar Email Editor - ') || fail "$setting: the editor showed no window"
    # The window has drawn once its title is set and the list filled; a tooltip under
    # the pointer would cover part of it.
    xdotool mousemove 0 0
    shot=$screens/$setting.png
    for ((try = 0; try < 60; ++try)); do
        import -window "$main" "$shot"
        whole_window "$shot" "$version" 2>"$work/problems" && break
        sleep 0.5 # the window may still be painting, later on a busy machine: look again
    done
    ((try < 60)) || { cat "$work/problems"; fail "$setting: the window is not whole (see $shot)"; }
    file_menu "$main" x
    wait "$editor" || fail "$setting: the editor ended with status $?"
done
echo "the whole window under Wine's default metrics and Windows 10's at 96, 144 and 192 dpi"
