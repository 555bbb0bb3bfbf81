# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that need an X display: virtual_display SCREEN DPI starts Xvfb
# on a display number the server picks itself (-displayfd), so that tests starting at
# once on a busy machine never race for one as xvfb-run -a does, and exports DISPLAY
# once the server answers. virtual_display_end ends it.

virtual_display() {
    local number n i try
    for ((try = 0; try < 3; ++try)); do
        number=$(mktemp)
        Xvfb -displayfd 3 -screen 0 "$1" -dpi "$2" -nolisten tcp 3>"$number" 2>/dev/null &
        virtual_display_pid=$!
        for ((i = 0; i < 600; ++i)); do # 60 s at most
            [[ -s $number ]] && DISPLAY=:$(<"$number") xdpyinfo >/dev/null 2>&1 && break
            kill -0 "$virtual_display_pid" 2>/dev/null || break
            sleep 0.1
        done
        n=$(<"$number")
        rm -f "$number"
        export DISPLAY=:$n
        # The display answers, and this server still runs.
        if [[ -n $n ]] && kill -0 "$virtual_display_pid" 2>/dev/null &&
            xdpyinfo >/dev/null 2>&1; then
            return 0
        fi
        virtual_display_end
    done
    echo "FAIL: Xvfb did not start" >&2
    return 1
}

virtual_display_end() { kill "${virtual_display_pid:-}" 2>/dev/null || true; }

# Runs a command on a display of its own (SCREEN DPI COMMAND...), then ends the display;
# the command's exit status.
on_virtual_display() {
    local screen=$1 dpi=$2 status=0
    shift 2
    virtual_display "$screen" "$dpi" || return 1
    "$@" || status=$?
    virtual_display_end
    return "$status"
}
