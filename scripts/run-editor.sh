#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds, writes sample files of every kind into samples/ (once;
# delete the folder for fresh ones) and starts the editor there, so that File > Open
# lists them. Says what it does as it goes, and how to run edt-tool as the README
# prints it. Without a display it says so; EDT_XVFB=1 runs it on a virtual one and
# keeps a screenshot of it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
bin=${EDT_BUILD_DIR:-$root/build}/bin
samples=$root/samples
if [[ ! -f $samples/email.edt ]]; then
    echo "Writing sample files of every kind into $samples ..."
    mkdir -p "$samples"
    "$bin/edt-make-samples" "$samples" >/dev/null
fi
cd "$samples"
echo "Built: edt-editor and edt-tool are in $bin. To type edt-tool as the README"
echo "prints it, put them on your PATH in your shell first:"
echo "    export PATH=\"$bin:\$PATH\""

# The folder Qt would pick itself, made here so that it does not warn about it.
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=/tmp/runtime-$(id -un)
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    if [[ ${EDT_XVFB:-} == 1 ]]; then
        shot=${EDT_BUILD_DIR:-$root/build}/editor-screenshot.png
        echo "EDT_XVFB=1: starting edt-editor on a virtual display (Xvfb) that no screen"
        echo "shows, for a machine without a desktop (a container, a server over ssh):"
        echo "it cannot be used there, only seen. Its screenshot goes to $shot"
        echo "once the window is up; Ctrl+C ends it."
        exec xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
            "$1" &
            for ((i = 0; i < 300; ++i)); do
                xdotool search --onlyvisible --name "Zelvar" >/dev/null 2>&1 && break
                sleep 0.1
            done
            sleep 1 # painted
            import -window root "$2" && echo "Screenshot: $2"
            wait' run-editor "$bin/edt-editor" "$shot"
    fi
    echo "run-editor: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the" >&2
    echo "editor's window cannot open. Run this from a desktop session, or set EDT_XVFB=1" >&2
    echo "to start it on a virtual display. The sample files are in $samples." >&2
    exit 1
fi
echo "Starting edt-editor in $samples (File > Open ... lists the samples) ..."
exec "$bin/edt-editor"
