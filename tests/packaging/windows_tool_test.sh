#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles edt-tool.exe and the record core's tests with MinGW-w64
# (scripts/build-windows.sh), checks that the tool needs no DLL beyond Windows' own,
# runs the tests under Wine, and runs the tool under Wine against the native edt-tool:
# same listing, same bytes after a write (into a folder with a non-ASCII name) and
# after a CSV, PO or XLSX import and a whole folder's, and refusals that name the
# reason in Windows' words.
# Usage: windows_tool_test.sh SOURCE_DIR CROSS_BUILD_DIR NATIVE_EDT_TOOL NATIVE_MAKE_SAMPLES
set -euo pipefail
source_dir=$(realpath "$1") cross_build=$(realpath -m "$2") tool=$(realpath "$3") make_samples=$(realpath "$4")

fail() { echo "FAIL: $*" >&2; exit 1; }

command -v wine >/dev/null || fail "wine is missing (scripts/packages.txt lists wine64)"
export WINEPREFIX=$cross_build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

bash "$source_dir/scripts/build-windows.sh" "$cross_build" --with-tests >"$cross_build.log" 2>&1 ||
    { cat "$cross_build.log"; fail "the cross build failed"; }
if grep -i "warning" "$cross_build.log"; then fail "the cross build printed warnings"; fi
exe=$cross_build/bin/edt-tool.exe
file "$exe" | grep -q "PE32+ executable (console) x86-64" || fail "$exe is not a 64-bit Windows program"

# Static linking: only DLLs that every Windows has.
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
for dll in $dlls; do
    case $dll in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | shell32.dll | ucrtbase.dll | api-ms-win-*) ;;
    *) fail "edt-tool.exe needs $dll, which Windows does not have" ;;
    esac
done
echo "imports: $(echo $dlls)"

# Windows' temporary folder, as the user's environment in the registry gives it.
set_temp() {
    local variable
    for variable in TEMP TMP; do
        wine reg add 'HKCU\Environment' /v $variable /t REG_EXPAND_SZ /d "$1" /f >/dev/null
    done
    wineserver -w
}
set_temp '%USERPROFILE%\Temp' # Wine's own, whatever a run before left

# The test suites of the record core and of the translations (CSV, PO, XLSX), built for
# Windows. Two record cases expect the POSIX wording of "file not found"; the refusals
# below check Windows' wording instead.
for suite in record:-WriterTest.MissingFileIsNotCreated:ReadFile.FailuresNameTheFileAndReason \
    translate:*; do
    name=${suite%%:*}
    wine "$cross_build/bin/edt_${name}_tests.exe" --gtest_brief=1 --gtest_filter="${suite#*:}" \
        </dev/null >"$work/$name.log" 2>&1 || { tr -d '\r' <"$work/$name.log"; fail "$name tests"; }
    echo "$name tests: $(tr -d '\r' <"$work/$name.log" | grep -E '^\[  PASSED  \]')"
done

win() { wine "$exe" "$@" </dev/null; }

out=$(win --version)
[[ $out == "$("$tool" --version)" ]] || fail "--version says '$out'"

folder="$work/Übersetzung älter"
mkdir -p "$folder" "$work/native"
"$make_samples" "$folder" 30
"$make_samples" "$work/native" 30
cd "$work"
rel="Übersetzung älter"

for name in email.edt aimbios.edt civilians.edt strings.edt; do
    win list "$rel/$name" >win.txt
    "$tool" list "native/$name" >native.txt
    cmp -s win.txt native.txt || { diff win.txt native.txt | head; fail "listing of $name differs"; }
done
echo "listings agree"

text='Grüße, 100 €\r\nzweite Zeile \\ \x7f'
win write "$rel/email.edt" 0000641 "$text" >win.txt
"$tool" write native/email.edt 641 "$text" >native.txt
cmp -s win.txt native.txt || { diff win.txt native.txt; fail "write printed a different line"; }
cmp "$rel/email.edt" native/email.edt || fail "the written file differs from the native write"
# A split kind's second field, and a key with leading zeros.
win write "$rel/mercbios.edt" 0000801 'Zweites Feld' >/dev/null
"$tool" write native/mercbios.edt 801 'Zweites Feld' >/dev/null
cmp "$rel/mercbios.edt" native/mercbios.edt || fail "the split-kind write differs"
echo "writes agree byte for byte"

# The translators' round trip through CSV: the same export, to standard output and
# to a file (twice: the second, with --force, replaces the first), and the same import.
win export "$rel/files.edt" --format csv >win.csv
"$tool" export native/files.edt --format csv >native.csv
cmp win.csv native.csv || fail "the CSV export differs"
win export "$rel/files.edt" -o "$rel/files.csv"
win export "$rel/files.edt" -o "$rel/files.csv" --force
cmp "$rel/files.csv" native.csv || fail "the CSV export to a file differs"
[[ $(ls "$rel" | grep -c '^files\.csv') == 1 ]] || fail "the export left temporary files"
# Both tools import TRANSLATION into FILE (of the Windows and the native folder): the
# same report (paths aside), the same bytes.
imported_alike() { # WHAT FILE TRANSLATION
    win import "$rel/$2" "$3" >win.txt
    "$tool" import "native/$2" "$3" >native.txt
    [[ $(sed 's/"[^"]*"//g' win.txt) == $(sed 's/"[^"]*"//g' native.txt) ]] ||
        { cat win.txt native.txt; fail "$1: the reports differ"; }
    cmp "$rel/$2" "native/$2" || fail "$1: the files differ"
}
printf 'key,text\r\n0000801,"Übersetzt, mit ""Anführung""\r\nund Zeile"\r\n' >translation.csv
imported_alike "CSV import" files.edt translation.csv
echo "CSV export and import agree byte for byte"

# The same through PO, with libgettextpo's scratch files in a temporary folder whose
# name is outside the ANSI code page (Windows-1252 here).
temp="$work/Temp Jürgen Жуков"
mkdir "$temp"
set_temp "Z:${temp//\//\\}"
touch -r "$rel/strings.edt" native/strings.edt # the PO header's dates are the file's
win export "$rel/strings.edt" --format po >win.po
"$tool" export native/strings.edt --format po >native.po
cmp win.po native.po || fail "the PO export differs"
# Both tools refuse to import TRANSLATION into FILE (of the Windows and the native
# folder): status 1, the same words (paths aside), naming PART; the file stays as it was.
refused_alike() { # WHAT PART FILE TRANSLATION
    local rc=0
    win import "$rel/$3" "$4" >/dev/null 2>win.txt || rc=$?
    "$tool" import "native/$3" "$4" >/dev/null 2>native.txt || true
    [[ $rc == 1 ]] && grep -q "$2" win.txt || { cat win.txt; fail "$1: status $rc"; }
    [[ $(tr -d '\r' <win.txt | sed 's/"[^"]*"//g') == $(sed 's/"[^"]*"//g' native.txt) ]] ||
        { cat win.txt native.txt; fail "$1: the refusals differ"; }
    cmp "$rel/$3" "native/$3" || fail "$1: a refused import changed the file"
    echo "$1: $(tr -d '\r' <win.txt | head -n 1)"
}
# A refusal first (a text made too long for its entry), then the translation.
msgen native.po | sed 's/^\(msgstr ".*\)"$/\1 übersetzt"/' >over.po
refused_alike "over-long PO text" 'holds at most' strings.edt over.po
msgen native.po | msgfilter --keep-header sed 's/e/é/g' >translated.po
imported_alike "PO import" strings.edt translated.po
echo "PO export and import agree byte for byte; sha256 after the import, Windows and Linux:"
sha256sum "$rel/strings.edt" native/strings.edt

# A whole folder (its name outside ASCII): a PO per EDT file, the same as the native
# tool's; translations named in capitals match on the way back, into the same bytes.
win export "$rel" --language de -o po-win >win.txt
"$tool" export native --language de -o po-native >native.txt
[[ $(sed 's/"[^"]*"//g' win.txt) == $(sed 's/"[^"]*"//g' native.txt) ]] ||
    { cat win.txt native.txt; fail "the folder exports' reports differ"; }
[[ $(ls po-win) == $(ls po-native) ]] || fail "the folder exports' names differ"
mkdir po-de
for po in po-win/*.po; do
    msgfmt --check -o /dev/null "$po" || fail "msgfmt --check $po"
    name=$(basename "$po")
    msgen "$po" | msgfilter --keep-header sed 's/e/é/g' >"po-de/${name^^}"
done
for command in import stats; do
    win $command "$rel" po-de >win.txt
    "$tool" $command native po-de >native.txt
    [[ $(sed 's/"[^"]*"//g' win.txt) == $(sed 's/"[^"]*"//g' native.txt) ]] ||
        { cat win.txt native.txt; fail "folder $command: the reports differ"; }
done
for edt in native/*.edt; do cmp "$rel/${edt#native/}" "$edt" || fail "folder import: $edt differs"; done
echo "folder export and import agree byte for byte: $(tail -n 1 win.txt)"

# The same through XLSX. A workbook records when it was made: its other parts must
# agree, and so must what comes back in once LibreOffice Calc has typed into each export
# (imported by both tools into copies of one file), and the refusal of a number typed
# into a cell made General.
win export "$rel/email.edt" -o win.xlsx
"$tool" export native/email.edt -o native.xlsx
unzip -q win.xlsx -d win.parts && unzip -q native.xlsx -d native.parts
diff -r -x core.xml win.parts native.parts || fail "the XLSX exports differ"
calc() { /usr/bin/python3 "$source_dir/tests/cli/calc_type.py" "$@" >>calc.log 2>&1 ||
    { cat calc.log; fail "Calc could not type into $*"; }; }
for made in win native; do
    calc "$work/profile" $made.xlsx $made-typed.xlsx 'Grüße' '1.10' '007' '10%' '=A1'
    mkdir $made-by-win $made-by-linux
    cp native/email.edt $made-by-win/ && cp native/email.edt $made-by-linux/
    win import $made-by-win/email.edt $made-typed.xlsx >/dev/null
    "$tool" import $made-by-linux/email.edt $made-typed.xlsx >/dev/null
done
sha256sum ./*-by-*/email.edt
sums=$(sha256sum ./*-by-*/email.edt | cut -d' ' -f1 | sort -u)
[[ $sums != *$'\n'* ]] || fail "the XLSX imports differ"
[[ $sums != $(sha256sum <native/email.edt | cut -d' ' -f1) ]] ||
    fail "the XLSX import changed nothing"
calc --general "$work/profile" win.xlsx general.xlsx '1.10'
refused_alike "number in an XLSX text cell" 'D2 holds the number 1.1, not text' \
    email.edt general.xlsx
echo "XLSX exports and imports agree byte for byte"
[[ -z $(ls -A "$temp") ]] || fail "PO or XLSX left scratch files in $temp"
set_temp '%USERPROFILE%\Temp'

expect_refusal() { # WHAT EXPECTED-MESSAGE-PART ARGS...
    local what=$1 part=$2 rc=0
    shift 2
    win "$@" >/dev/null 2>err.txt || rc=$?
    [[ $rc -eq 1 ]] || fail "$what: exit status $rc, not 1"
    grep -q -- "$part" err.txt || { cat err.txt; fail "$what: no '$part' in the message"; }
    echo "$what: $(cat err.txt)"
}
before=$(sha256sum "$rel/email.edt")
# The reason is the system's sentence (FormatMessage), not a bare error number.
expect_refusal "missing file" 'Cannot open "missing.edt": [A-Z][a-z]' list missing.edt
expect_refusal "write to a missing file" 'Cannot open "missing.edt": [A-Z][a-z]' write missing.edt 1 x
[[ ! -e missing.edt ]] || fail "a write created missing.edt"
expect_refusal "folder" 'is a folder' list "$rel"

expect_refusal "device" 'is a device' write NUL 1 x
expect_refusal "text too long" 'holds at most 318' write "$rel/email.edt" 1 "$(printf 'x%.0s' {1..319})"
expect_refusal "not an entry" 'not the start of an entry' write "$rel/email.edt" 2 x
[[ $(sha256sum "$rel/email.edt") == "$before" ]] || fail "a refused write changed the file"

# A path beyond the classic 260-character limit, which the tool opens in its \\?\ form
# (Wine has no such limit itself: this checks that the form is built right).
deep=$(printf 'Ordner-mit-langem-Namen-%02d/' {1..12})
mkdir -p "$deep"
cp native/quests.edt "$deep/quests.edt"
((${#deep} > 300)) || fail "the deep path is too short to test"
win write "$deep/quests.edt" 161 'tief' >/dev/null || fail "write to a ${#deep}-character path failed"
"$tool" write native/quests.edt 161 'tief' >/dev/null
cmp "$deep/quests.edt" native/quests.edt || fail "the write through a long path differs"
echo "long path (${#deep} characters): written"

# The file layer's identity and far offsets, through a small program of its own.
cxx=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$cross_build/CMakeCache.txt")
"$cxx" -std=c++17 -Wall -Wextra -Werror -O1 -static -I"$cross_build/include/edt_platform" \
    "$source_dir/tests/packaging/windows_file_check.cpp" "$cross_build/platform/libedt_platform.a" \
    -o "$cross_build/windows_file_check.exe" || fail "windows_file_check does not build"
mkdir files
head -c 4096 /dev/urandom >files/a.bin
cp files/a.bin files/b.bin
ln files/a.bin files/link.bin
truncate -s 5G files/big.bin
wine "$cross_build/windows_file_check.exe" files "$(stat -c %Y files/a.bin)" </dev/null ||
    fail "the file layer checks failed"
[[ $(dd if=files/a.bin bs=1 skip=100 count=3 2>/dev/null) == xyz ]] || fail "xyz is not at 100"
[[ $(stat -c %s files/b.bin) == 1000 ]] || fail "b.bin was not cut to 1000 bytes"
[[ $(dd if=files/big.bin bs=1 skip=$(((1 << 32) + 12345)) count=3 2>/dev/null) == FAR ]] ||
    fail "FAR is not at 4 GiB + 12345"
echo "edt-tool.exe under Wine: all checks passed"
