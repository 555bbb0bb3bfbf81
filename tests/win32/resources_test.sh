#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks how both Windows programs are made: 64-bit, the editor a GUI program and the
# tool a console one, no DLL beyond Windows' own, the version record's numbers and
# texts, the icon's images (sizes, colour depths, masks), and the editor's manifest.
# windres turns each program's resources back into a resource script to read.
# Usage: resources_test.sh BIN_DIR PROJECT_VERSION
set -euo pipefail
bin=$1
IFS=. read -r major minor patch <<<"$2"
numbers="$major, $minor, 0, $patch"                      # 1.0.1: 1, 0, 0, 1
text=$(printf '%d.%02d.%04d' "$major" "$minor" "$patch") # 1.0.1: 1.00.0001
fail() { echo "FAIL: $*" >&2; exit 1; }

# The first words of each icon image: a bitmap's header (40 bytes, width, twice the
# height for colours and mask, planes and bits per pixel, bytes of colours and mask),
# or the signature and size of a PNG.
icon_images=(
    "1 0x28L,0x10L,0x20L,0x200001L,0x0L,0x440L"   # 16 x 16, 32-bit
    "2 0x28L,0x20L,0x40L,0x180001L,0x0L,0xc80L"   # 32 x 32, 24-bit and mask
    "3 0x28L,0x30L,0x60L,0x200001L,0x0L,0x2580L"  # 48 x 48, 32-bit
    "4 0x474e5089L,0xa1a0a0dL,0xd000000L,0x52444849L,0x10000L,0x10000L" # 256 x 256 PNG
)

for program in edt-editor edt-tool; do
    exe=$bin/$program.exe
    kind=console
    [[ $program == edt-editor ]] && kind=GUI
    file "$exe" | grep -q "PE32+ executable ($kind) x86-64" ||
        fail "$program.exe is not a 64-bit $kind program: $(file -b "$exe")"
    for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z'); do
        case $dll in
        kernel32.dll | msvcrt.dll | user32.dll | gdi32.dll | comctl32.dll | comdlg32.dll | advapi32.dll | shell32.dll | ole32.dll | oleacc.dll | oleaut32.dll) ;;
        *) fail "$program.exe needs $dll, which Windows does not have" ;;
        esac
    done

    rc=$(x86_64-w64-mingw32-windres -i "$exe" -O rc)
    for line in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" \
        "VALUE \"FileVersion\", \"$text\"" "VALUE \"ProductVersion\", \"$text\"" \
        'VALUE "ProductName", "Zelvar EDT File Editor"' \
        "VALUE \"OriginalFilename\", \"$program.exe\"" 'VALUE "FileDescription", "[A-Z]' \
        'VALUE "CompanyName", "[A-Z]' 'VALUE "LegalCopyright", "Copyright'; do
        grep -q "^ *$line" <<<"$rc" || fail "$program.exe: its version record has no $line"
    done
    for image in "${icon_images[@]}"; do
        id=${image%% *}
        words=$(sed -n "/^$id 3 \/\* RT_ICON \*\//{n;n;p;q}" <<<"$rc" | tr -d ' ')
        [[ $words == "${image#* }"* ]] || fail "$program.exe: icon image $id starts $words"
    done
    grep -q '^1 14 /\* RT_GROUP_ICON \*/' <<<"$rc" || fail "$program.exe: no icon 1"
    echo "ok: $program.exe ($kind; version $text; icon 16, 32 at 24 bits, 48, 256)"
done

manifest=$(x86_64-w64-mingw32-windres -i "$bin/edt-editor.exe" -O rc | sed -n '/^1 24 \/\* RT_MANIFEST/,/^END/p')
for part in 'PerMonitorV2' 'true/pm' 'Microsoft.Windows.Common-Controls' 'version=""6.0.0.0""' 'asInvoker'; do
    grep -qF "$part" <<<"$manifest" || fail "the editor's manifest lacks $part"
done
echo "ok: edt-editor.exe's manifest (per-monitor DPI, common controls 6)"
