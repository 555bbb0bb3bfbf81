#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders data/icons/edt-editor.svg into the PNG sizes of the hicolor icon theme
# (data/icons/hicolor/NxN/apps/edt-editor.png). Run it after changing the SVG and
# commit the PNGs and data/icons/edt-editor.ico, made from them. Needs rsvg-convert
# (librsvg2-bin) and ImageMagick.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
svg=$root/data/icons/edt-editor.svg
for n in 16 32 48 64 128 256; do
    out=$root/data/icons/hicolor/${n}x${n}/apps/edt-editor.png
    mkdir -p "$(dirname "$out")"
    rsvg-convert --width "$n" --height "$n" --format png --output "$out" "$svg"
done
# The Windows programs' icon, from the PNGs just made.
bash "$root/scripts/make-windows-icon.sh" >/dev/null
