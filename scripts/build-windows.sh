#!/usr/bin/env bash
# Cross-compiles edt-tool.exe for 64-bit Windows with MinGW-w64 into build-windows/
# (or $1): the record core and the command-line tool only, warnings as errors, linked
# statically so the .exe runs alone.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build-windows}

if [[ ! -f $build/build.ninja ]]; then
    cmake -S "$root" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS="-Werror" \
        -DEDT_BUILD_WINDOW=OFF -DEDT_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target edt-tool
echo "$build/bin/edt-tool.exe"
