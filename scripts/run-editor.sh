#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds, writes sample files of every kind into samples/ (once;
# delete the folder for fresh ones) and starts the editor there, so that File > Open
# lists them. Without a display it says so; EDT_XVFB=1 runs it on a virtual one.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
bin=${EDT_BUILD_DIR:-$root/build}/bin
samples=$root/samples
if [[ ! -f $samples/email.edt ]]; then
    mkdir -p "$samples"
    "$bin/edt-make-samples" "$samples"
fi
cd "$samples"

# The folder Qt would pick itself, made here so that it does not warn about it.
if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
    export XDG_RUNTIME_DIR=/tmp/runtime-$(id -un)
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    if [[ ${EDT_XVFB:-} == 1 ]]; then
        exec xvfb-run -a -s "-screen 0 1280x800x24" "$bin/edt-editor"
    fi
    echo "run-editor: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the" >&2
    echo "editor's window cannot open. Run this from a desktop session, or set EDT_XVFB=1" >&2
    echo "to start it on a virtual display. The sample files are in $samples." >&2
    exit 1
fi
exec "$bin/edt-editor"
