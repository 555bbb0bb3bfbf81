#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader reads of the real Qt window: its AT-SPI tree and events, read
# with pyatspi on a session bus of its own, under Xvfb and openbox (see
# accessibility_test.py). Usage: accessibility_test.sh SOURCE_DIR EDT_EDITOR EDT_MAKE_SAMPLES
set -euo pipefail
if [[ ${4:-} != --on-display ]]; then
    source "$(realpath "$1")/tests/support/virtual_display.sh"
    on_virtual_display 1280x1024x24 96 dbus-run-session -- bash "$0" "$@" --on-display
    exit
fi
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT
"$3" "$work" 20 >/dev/null
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 EDT_NO_BACKUP=1 XDG_CONFIG_HOME=$work/config
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
# The editor's window takes the focus once openbox runs (at most 20 s).
for ((i = 0; i < 200; ++i)); do
    xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id" && break
    sleep 0.1
done
# Debian's Python, which has the AT-SPI bindings; it starts the editor.
/usr/bin/python3 "$1/tests/window/accessibility_test.py" "$2" "$work/strings.edt"
