#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds, and runs the whole test suite through CTest; then
# builds it again into build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs it there too.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"

# Configured here as well, so that a build-asan/ made without the option gets it.
cmake -S "$root" -B "$root/build-asan" -G Ninja -DEDT_SANITIZE=ON >/dev/null
EDT_BUILD_DIR=$root/build-asan bash "$root/scripts/setup.sh"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The packaging tests build and unpack the .deb, the Windows tests run cross-built
# programs under Wine, and the desktop and accessibility tests show the window under
# real window managers, which is about files, programs and screens, not this build's
# memory: they run in build/ only. (Under a window manager Qt's X11 plugin starts through
# libxkbcommon-x11, whose keymap reading trips the strict string checks.)
ctest --test-dir "$root/build-asan" --output-on-failure -j"$(nproc)" \
    -E '^(packaging\.|win32\.|window\.desktop\.|window\.accessibility$)'

