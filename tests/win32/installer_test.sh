#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packages the Windows programs (scripts/package-windows.sh) and checks what Windows
# users get: the zip's files, and the installer run silently under Wine: the programs,
# README and licence in Program Files, a Start-menu entry, an entry in Add/Remove
# Programs, .edt files left alone unless /ASSOCIATE asks (and then opened in the
# editor as the shell opens them); the installed editor starts and ends with File >
# Exit; the uninstaller takes everything away again.
# Usage: installer_test.sh SOURCE_DIR CROSS_BUILD_DIR
set -euo pipefail
if [[ ${1:-} != --on-display ]]; then
    source "$(realpath "$1")/tests/support/virtual_display.sh"
    on_virtual_display 1024x768x24 96 bash "$0" --on-display "$@"
    exit
fi
source_dir=$(realpath "$2") cross=$(realpath -m "$3")
work=$(mktemp -d)
source "$source_dir/scripts/wine-session.sh"
trap 'wine_end; rm -rf "$work"' EXIT

mapfile -t made < <(bash "$source_dir/scripts/package-windows.sh" "$cross" "$work/out")
zip=${made[0]} setup=${made[1]}
name=$(basename "$zip" .zip)
files=(LICENSE README.md edt-editor.exe edt-tool.exe
    licences/{gettext,libunistring,libxlsxwriter,minizip,expat,zlib}.txt)
expected=$(printf '%s\n' "$name/" "$name/licences/" "${files[@]/#/$name/}" | sort | tr '\n' ' ')
[[ $(unzip -Z1 "$zip" | sort | tr '\n' ' ') == "$expected" ]] ||
    fail "the zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
for exe in edt-editor.exe edt-tool.exe; do # edt-tool.exe: the one that does PO
    unzip -p "$zip" "$name/$exe" | cmp -s - "$cross/bin/$exe" || fail "the zip's $exe is not the one built"
done
unzip -p "$zip" "$name/LICENSE" | grep -q "GNU GENERAL PUBLIC LICENSE" || fail "LICENSE is no GPL"
echo "ok: $name.zip holds ${files[*]}"

dir="$WINEPREFIX/drive_c/Program Files/EDT Editor"
link="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Zelvar EDT File Editor.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\EDT Editor'
# A registry value ("" for a key's default), empty when there is none.
value() {
    local which=(/v "$2")
    [[ -z $2 ]] && which=(/ve)
    { wine reg query "$1" "${which[@]}" 2>/dev/null || true; } | tr -d '\r' |
        sed -n 's/^ *[^ ]* *REG_[A-Z_]* *//p'
}
install() {
    wine "$setup" /S "$@" </dev/null || fail "the installer failed"
    for file in "${files[@]}" uninstall.exe; do
        [[ -f $dir/$file ]] || fail "the installer left out $file"
    done
    for exe in edt-editor.exe edt-tool.exe; do
        cmp -s "$dir/$exe" "$cross/bin/$exe" || fail "another $exe installed"
    done
    grep -qaF 'C:\Program Files\EDT Editor\edt-editor.exe' "$link" 2>/dev/null ||
        fail "no Start-menu entry for the editor"
    [[ $(value "$uninstall_key" DisplayName) == "Zelvar EDT File Editor" &&
        $(value "$uninstall_key" QuietUninstallString) == '"C:\Program Files\EDT Editor\uninstall.exe" /S' ]] ||
        fail "no entry in Add/Remove Programs"
    echo "ok: installed${*:+ with $*} (files, Start menu, Add/Remove Programs)"
}
uninstall() {
    # The uninstaller runs on from a copy of itself and returns at once.
    wine "$dir/uninstall.exe" /S </dev/null || fail "the uninstaller failed"
    # Wine may start the copy late on a busy machine: up to two minutes.
    local until=$((SECONDS + 120))
    while ((SECONDS < until)); do
        [[ -e $dir || -e $link || -n $(value "$uninstall_key" DisplayName) ]] || break
        sleep 0.1
    done
    [[ ! -e $dir && ! -e $link ]] || fail "the uninstaller left $(ls "$dir" "$link" 2>&1)"
    [[ -z $(value "$uninstall_key" DisplayName) ]] || fail "the uninstaller left its registry entry"
    [[ -z $(value 'HKLM\Software\Classes\.edt' '') ]] || fail "the uninstaller left the association"
    echo "ok: uninstalled"
}

install
[[ -z $(value 'HKLM\Software\Classes\.edt' '') ]] || fail ".edt files were associated unasked"
cd "$work"
wine "$dir/edt-editor.exe" >/dev/null 2>&1 &
editor=$!
main=$(window '^Zelvar EDT File Editor$') || fail "the installed editor did not start"
file_menu "$main" x
timeout 10 tail --pid="$editor" -f /dev/null || fail "the installed editor did not end"
echo "ok: the installed editor starts and ends with File > Exit"
uninstall

install /ASSOCIATE
[[ $(value 'HKLM\Software\Classes\.edt' '') == EdtEditor.edt &&
    $(value 'HKLM\Software\Classes\EdtEditor.edt\shell\open\command' '') == '"C:\Program Files\EDT Editor\edt-editor.exe" "%1"' ]] ||
    fail "/ASSOCIATE did not associate .edt files with the editor"
: >"$work/my texts.edt"
wine start /unix "$work/my texts.edt"
main=$(window '^Zelvar Email Editor - ') || fail "the shell did not open a .edt file in the editor"
[[ $(xdotool getwindowname "$main") == "Zelvar Email Editor - $(windows_path "$work/my texts.edt")" ]] ||
    fail "the shell opened '$(xdotool getwindowname "$main")'"
file_menu "$main" x
window_gone '^Zelvar Email Editor' || fail "the editor did not end"
echo "ok: .edt files associated on request, and opened in the editor"
uninstall
