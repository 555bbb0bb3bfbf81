#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles edt-editor.exe (the Win32 window) and edt-tool.exe for 64-bit Windows
# with MinGW-w64 into build-windows/bin/ (or the folder given), warnings as errors,
# linked statically so that each .exe runs alone. With --with-tests it also builds the
# record core's test suite, edt_record_tests.exe, which runs under Wine.
# Usage: scripts/build-windows.sh [BUILD_DIR] [--with-tests]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-windows
tests=OFF
for arg in "$@"; do
    case $arg in
    --with-tests) tests=ON ;;
    *) build=$arg ;;
    esac
done

targets=(edt-editor edt-tool)
options=()
if [[ $tests == ON ]]; then
    targets+=(edt_record_tests)
    # GoogleTest lists the tests by running the .exe after the build.
    options+=(-DCMAKE_CROSSCOMPILING_EMULATOR=wine)
fi
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="-Werror" \
    -DEDT_BUILD_WINDOW=ON -DEDT_BUILD_BENCH=OFF -DEDT_BUILD_TESTS=$tests "${options[@]}" >/dev/null
cmake --build "$build" --target "${targets[@]}"
echo "$build/bin/edt-editor.exe"
echo "$build/bin/edt-tool.exe"
