#!/usr/bin/env bash
# Sets up the machine, builds, writes sample files of every kind into samples/ and
# shows the program's main job on one of them.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bash "$root/scripts/setup.sh"
mkdir -p "$root/samples"
"$root/build/bin/edt-make-samples" "$root/samples"
"$root/build/bin/edt-tool" list "$root/samples/email.edt"
