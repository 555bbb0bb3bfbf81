#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one libFuzzer target for a given time:  scripts/fuzz.sh TARGET SECONDS
# TARGET is reader, entry_line, writer, write_undo, charset, escape, listing, csv,
# po_import or xlsx
# (fuzz_ prefix optional).
# Builds build-fuzz/ with clang, ASan and UBSan first. New inputs go to
# build-fuzz/corpus/TARGET; an input that finds a fault is saved in
# build-fuzz/artifacts/TARGET/ - copy it into fuzz/corpus/fuzz_TARGET/ as a
# regression case, so that every test run replays it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if (($# != 2)); then
    echo "Usage: $0 TARGET SECONDS" >&2
    exit 2
fi
target=fuzz_${1#fuzz_}
seconds=$2
build=$root/build-fuzz
starting=$root/fuzz/corpus/$target
[[ -d $starting ]] || { echo "No corpus for $target in fuzz/corpus/" >&2; exit 2; }

if [[ ! -f $build/build.ninja ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DEDT_FUZZ=ON -DEDT_SANITIZE=ON -DEDT_BUILD_WINDOW=OFF -DEDT_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target "$target" >/dev/null

mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
# Scratch files of the targets, in memory when possible; gone when this script ends.
shm=/dev/shm
[[ -d $shm && -w $shm ]] || shm=${TMPDIR:-/tmp}
EDT_FUZZ_SCRATCH=$(mktemp -d "$shm/edt-fuzz-run.XXXXXX")
export EDT_FUZZ_SCRATCH
trap 'rm -rf "$EDT_FUZZ_SCRATCH"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
# Leaks of system libraries (libgettextpo keeps what its PO parser allocated) would
# stop a target at its first input.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp}
"$build/bin/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
    "$build/corpus/$target" "$starting"
