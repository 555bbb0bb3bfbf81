#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` into a scratch prefix: exactly the expected files, the installed
# edt-tool runs, its man page reads with man -l, and, where the editor is built, its
# desktop entry, metainfo and icons are installed and valid.
# Usage: install_test.sh BUILD_DIR VERSION WITH_EDITOR(0|1)
set -euo pipefail
build=$1 version=$2 with_editor=$3

fail() { echo "FAIL: $*" >&2; exit 1; }
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(bin/edt-tool share/man/man1/edt-tool.1.gz share/doc/edt-editor/copyright
    share/doc/edt-editor/changelog.gz)
if ((with_editor)); then
    expected+=(bin/edt-editor share/applications/edt-editor.desktop
        share/mime/packages/edt-editor.xml share/man/man1/edt-editor.1.gz)
    metainfo=$(cd "$prefix" && ls share/metainfo/*.metainfo.xml) || fail "no metainfo installed"
    expected+=("$metainfo")
    expected+=($(cd "$prefix" && find share/icons -type f 2>/dev/null))
fi
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[[ $actual == "$wanted" ]] || { diff <(echo "$wanted") <(echo "$actual"); fail "installed files differ"; }

[[ -x $prefix/bin/edt-tool ]] || fail "edt-tool is not executable"
grep -q '^License: GPL-3+$' "$prefix/share/doc/edt-editor/copyright" || fail "copyright names no licence"
[[ $("$prefix/bin/edt-tool" --version) == "edt-tool $version" ]] || fail "installed edt-tool's version"
page=$(MANWIDTH=80 man -l "$prefix/share/man/man1/edt-tool.1.gz" 2>&1 | col -bx)
grep -q "edt-tool - list and edit the texts" <<<"$page" || fail "man -l does not show the page"

if ((with_editor)); then
    desktop-file-validate "$prefix/share/applications/edt-editor.desktop" ||
        fail "installed desktop entry is invalid"
    appstreamcli validate --no-net "$prefix/$metainfo" || fail "installed metainfo is invalid"
    # The menu's command and icon resolve in the installed tree.
    exec_name=$(sed -n 's/^Exec=//p' "$prefix/share/applications/edt-editor.desktop")
    [[ -x $prefix/bin/${exec_name%% *} ]] || fail "Exec names no installed program"
    [[ -f $prefix/share/icons/hicolor/32x32/apps/edt-editor.png ||
        -f $prefix/share/icons/hicolor/scalable/apps/edt-editor.svg ]] ||
        fail "no 32x32 or scalable edt-editor icon in the hicolor theme"
    for png in $(find "$prefix/share/icons" -name '*.png'); do
        size=$(basename "$(dirname "$(dirname "$png")")")
        file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not $size"
    done
    echo "editor: desktop entry, metainfo and $(find "$prefix/share/icons" -type f | wc -l) icons installed"
fi
echo "install: $(wc -l <<<"$actual") files as expected"
