# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that need an X display: virtual_display SCREEN DPI starts Xvfb
# on a display number the server picks itself (-displayfd), so that tests starting at
# once on a busy machine never race for one as xvfb-run -a does; it exports DISPLAY
# once the server answers (waiting up to 60 s). virtual_display_end ends it.

virtual_display() {
    local screen=$1 dpi=$2 number i
    number=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "$screen" -dpi "$dpi" -nolisten tcp 3>"$number" 2>/dev/null &
    virtual_display_pid=$!
    for ((i = 0; i < 600; ++i)); do
        [[ -s $number ]] && break
        kill -0 "$virtual_display_pid" 2>/dev/null || break
        sleep 0.1
    done
    [[ -s $number ]] || { rm -f "$number"; echo "FAIL: Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$(tr -d '\n' <"$number")
    rm -f "$number"
    for ((i = 0; i < 600; ++i)); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "FAIL: Xvfb on $DISPLAY does not answer" >&2
    return 1
}

virtual_display_end() {
    [[ -n ${virtual_display_pid:-} ]] || return 0
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
}
