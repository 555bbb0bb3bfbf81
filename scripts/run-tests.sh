#!/usr/bin/env bash
# Sets up the machine, builds, and runs the whole test suite through CTest.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
