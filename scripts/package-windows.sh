#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packages the Windows programs for their users: cross-builds them
# (scripts/build-windows.sh), then makes in OUT_DIR (default: BUILD_DIR/package) a zip
# of edt-editor.exe, edt-tool.exe, README.md, LICENSE and the licences of the libraries
# linked into them, and an installer of the same files made with NSIS from
# data/windows/edt-editor.nsi.
# Usage: scripts/package-windows.sh [BUILD_DIR [OUT_DIR]]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$root/build-windows}")
out=$(realpath -m "${2:-$build/package}")

bash "$root/scripts/build-windows.sh" "$build" >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
IFS=. read -r major minor patch <<<"$version"
name=edt-editor-$version-windows-x64

stage=$out/$name
rm -rf "$stage"
mkdir -p "$stage"
cp "$build/bin/edt-editor.exe" "$build/bin/edt-tool.exe" "$root/README.md" "$stage/"
# The project's licence text; the GPL's own text where the tree has none yet.
if [[ -f $root/LICENSE ]]; then
    cp "$root/LICENSE" "$stage/LICENSE"
else
    cp /usr/share/common-licenses/GPL-3 "$stage/LICENSE"
fi

# The programs carry the libraries linked into them: each one's copyright and licence,
# as Debian's source package states them.
deps=$(<"$build/deps-folder")
mkdir -p "$stage/licences"
for package in gettext libunistring libxlsxwriter minizip expat; do
    cp "$deps/src/$package/debian/copyright" "$stage/licences/$package.txt"
done
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$stage/licences/zlib.txt"

rm -f "$out/$name.zip"
(cd "$out" && zip -q -X -r "$name.zip" "$name")
makensis -V2 -NOCD \
    -DVERSION="$version" -DVERSION4="$major.$minor.0.$patch" \
    -DVERSIONTEXT="$(printf '%d.%02d.%04d' "$major" "$minor" "$patch")" \
    -DSTAGE="$stage" -DICON="$root/data/icons/edt-editor.ico" \
    -DOUTFILE="$out/$name-setup.exe" "$root/data/windows/edt-editor.nsi"
echo "$out/$name.zip"
echo "$out/$name-setup.exe"
