# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts that run the Windows programs under Wine on a virtual X
# display (xvfb-run). The caller sets $work, a temporary folder it removes; here a
# fresh, quiet Wine prefix is made in it, ended with the caller (wine_end), and
# windows are found by title and driven with xdotool. No window manager runs.

export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
wineboot -i >/dev/null 2>&1

# Ends every program of the prefix (for an EXIT trap).
wine_end() { wineserver -k 2>/dev/null || true; }

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits (at most 30 s) for a visible window whose title matches the regular
# expression, and prints its id.
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -1; }

# Waits (at most 30 s) until no visible window's title matches.
window_gone() {
    local i
    for ((i = 0; i < 300; ++i)); do
        xdotool search --onlyvisible --name "$1" >/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# Gives a window the keyboard, as a window manager would on a click. A window just
# mapped may refuse it for a moment (X's BadMatch): try again, for at most 10 s.
focus() {
    local i
    for ((i = 0; i < 100; ++i)); do
        xdotool windowfocus --sync "$1" 2>/dev/null &&
            [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]] && return 0
        sleep 0.1
    done
    fail "window $1 does not take the keyboard"
}

# Chooses an item of the File menu of the editor's window $1 by its access key $2,
# with Alt+F first.
file_menu() {
    focus "$1"
    xdotool key --clearmodifiers alt+f
    sleep 0.3 # the menu opens
    xdotool key "$2"
}

# Opens File > Open ... of the editor's window $1 and chooses the file $2 by typing
# its path into the system's dialog.
open_with_dialog() {
    file_menu "$1" o
    local dialog
    dialog=$(window '^Open File \.\.\.$') || fail "File > Open ... showed no dialog"
    focus "$dialog"
    xdotool type --delay 5 "$(windows_path "$2")"
    xdotool key Return
}

# The path Windows programs see for a file under Wine: Z: is the root folder.
windows_path() { local path=${1//\//\\}; echo "Z:$path"; }

# Gives the programs started from now on Windows 10's window metrics (a frame that
# counts its invisible resize borders) at $1 dots per inch (96, 144 = 150 %, 192).
windows10_metrics() {
    cat >"$work/metrics.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Control Panel\\Desktop\\WindowMetrics]
"CaptionHeight"="-330"
"PaddedBorderWidth"="-60"
"BorderWidth"="-15"
"MenuHeight"="-285"

[HKEY_CURRENT_USER\\Control Panel\\Desktop]
"LogPixels"=dword:$(printf '%08x' "$1")
REG
    wine regedit /S "$work/metrics.reg"
}
