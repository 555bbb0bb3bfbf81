#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that are missing, then configures and builds the
# project into build/, showing the build's progress. Quiet when everything is already
# there.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${EDT_BUILD_DIR:-$root/build}

missing=()
while read -r pkg; do
    [[ -z $pkg || $pkg == \#* ]] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$pkg")
done <"$root/scripts/packages.txt"

if ((${#missing[@]})); then
    sudo=()
    [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq "${missing[@]}" >/dev/null
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if [[ ! -f $build/build.ninja ]]; then
    echo "Configuring the build in $build ..."
    cmake -S "$root" -B "$build" -G Ninja "$@" >"$log" 2>&1 || { cat "$log"; exit 1; }
fi
# Ninja's progress, a line a step, once there is something to build (the first build
# takes minutes); a failure shows with the compiler's words.
cmake --build "$build" 2>&1 | awk -v build="$build" '
    /^ninja: no work to do/ { next }
    !said { print "Building in " build " (the first time takes some minutes) ..."; said = 1 }
    { print; fflush() }'
