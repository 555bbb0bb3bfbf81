#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Qt window on desktops as people run it: under a window manager on a virtual X
# display (openbox, openbox at twice the scale, xfwm4 and its thicker frame) or on
# Wayland (weston's headless compositor, whose windows Qt decorates itself). The
# editor starts with a generated file on its command line; a screenshot of its window
# (kept in SCREENS_DIR/DESKTOP.png) must show it whole: see tests/support/whole_window.sh.
# Usage: desktop_test.sh openbox|openbox-2x|xfwm4|weston SOURCE_DIR EDT_EDITOR
#        EDT_MAKE_SAMPLES SCREENS_DIR VERSION
set -euo pipefail
desktop=$1
source_dir=$(realpath "$2") editor=$(realpath "$3") make_samples=$(realpath "$4") version=$6
screens=$(realpath -m "$5")
source "$source_dir/tests/support/whole_window.sh"
source "$source_dir/tests/support/virtual_display.sh"
work=$(mktemp -d)
pids=()
cleanup() {
    local pid i
    for pid in "${pids[@]}"; do kill -- "$pid" 2>/dev/null || true; done
    # Until every process of the groups has ended (xfconfd saves into $work as it goes).
    for pid in "${pids[@]}"; do
        for ((i = 0; i < 50; ++i)); do kill -0 -- "$pid" 2>/dev/null || break; sleep 0.1; done
    done
    virtual_display_end
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $desktop: $*" >&2; [[ -f $work/log ]] && tail -20 "$work/log" >&2; exit 1; }
# Waits (at most 20 s) until the command succeeds.
until_true() {
    local i
    for ((i = 0; i < 200; ++i)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
mkdir -p "$screens"
shot=$screens/$desktop.png
"$make_samples" "$work" 60 >/dev/null # enough entries for a scroll bar
export EDT_NO_BACKUP=1 XDG_CONFIG_HOME=$work/config

# Starts a program in a process group of its own, which cleanup ends whole (xfwm4's
# settings daemon, started on demand, lives on after the window manager).
start() {
    setsid "$@" >>"$work/log" 2>&1 &
    pids+=(-$!)
}

inside=$work/inside.png
if [[ $desktop == weston ]]; then
    # The compositor draws no decorations of its own on a plain background; a screenshot
    # is the whole output, taken through weston's screenshooter (allowed by --debug).
    export XDG_RUNTIME_DIR=$work/runtime WAYLAND_DISPLAY=edt-test QT_QPA_PLATFORM=wayland
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    printf '[core]\nidle-time=0\n[shell]\nbackground-color=0xff000000\npanel-position=none\n' \
        >"$work/weston.ini"
    start weston --backend=headless-backend.so --use-pixman --width=1280 --height=1024 \
        --socket="$WAYLAND_DISPLAY" --config="$work/weston.ini" --debug
    until_true test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || fail "weston did not start"
    start "$editor" "$work/email.edt"
    look() {
        rm -f "$work"/wayland-screenshot-*.png
        (cd "$work" && weston-screenshooter) || return 1
        # The window is what differs from the black desktop; Qt's own decoration on
        # Wayland has margins of 3 pixels, 30 at the top.
        convert "$work"/wayland-screenshot-*.png -trim +repage "$shot" || return 1
        local width height
        read -r width height < <(identify -format '%w %h\n' "$shot")
        ((width > 100 && height > 100)) || return 1
        convert "$shot" -crop "$((width - 6))x$((height - 33))+3+30" +repage "$inside"
    }
else
    # On a busy machine a display has been seen to go away under a starting window
    # manager: a second display then, before failing.
    for attempt in 1 2; do
        virtual_display 1280x1024x24 96 || fail "no virtual display"
        case $desktop in
        openbox | openbox-2x) start openbox --sm-disable ;;
        xfwm4) start dbus-run-session -- xfwm4 --compositor=off --sm-client-disable ;;
        *) fail "no such desktop" ;;
        esac
        until_true bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' && break
        ((attempt == 1)) || fail "the window manager did not start"
        echo "the window manager did not start on $DISPLAY; again on another display" >&2
        virtual_display_end
    done
    [[ $desktop == openbox-2x ]] && export QT_SCALE_FACTOR=2
    export QT_QPA_PLATFORM=xcb
    start "$editor" "$work/email.edt"
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zelvar Email Editor - ' | head -1) ||
        fail "the editor showed no window"
    # The window manager has framed the window once it states the frame's extents.
    until_true bash -c "xprop -id $window _NET_FRAME_EXTENTS | grep -q =" ||
        fail "the window got no frame"
    look() {
        local left right top bottom x y width height
        IFS=', ' read -r left right top bottom < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //')
        read -r x y width height < <(xwininfo -id "$window" |
            awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
                 /Width:/ { w = $2 } /Height:/ { print x, y, w, $2 }')
        import -window root "$work/root.png" || return 1
        # The window with its frame is kept; the checks look at its inside.
        convert "$work/root.png" -crop "$((width + left + right))x$((height + top + bottom))+$((x - left))+$((y - top))" \
            +repage "$shot"
        convert "$work/root.png" -crop "${width}x$height+$x+$y" +repage "$inside"
    }
fi

# The window may still be mapping, taking its frame or painting, later on a busy
# machine: look again, for at most 30 s.
for ((try = 0; try < 60; ++try)); do
    look 2>>"$work/log" && whole_window "$inside" "$version" 2>"$work/problems" && break
    sleep 0.5
done
((try < 60)) || { cat "$work/problems"; fail "the window is not whole (see $shot)"; }
echo "$desktop: $shot"
