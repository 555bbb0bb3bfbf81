#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives the real edt-editor.exe under Wine on a virtual X display as a person would,
# with xdotool: File > Open ... through the system's dialog and a typed path, lines
# selected by a click and by arrow keys, texts edited (Tab into the text box, Enter
# for a line break) and written with the Write Record button, a text one character too
# long and a file changed by another program refused with a message box, File > Exit.
# Then a second run with the file and a code page on the command line: find (Ctrl+F,
# Enter, F3, Shift+F3, Escape), the question before find or a click drops an unwritten
# change, Ctrl+S and Ctrl+Enter, and the code page preset for a name typed into the
# open dialog; a Hebrew text shown from the right; and --version's message box. After each step the file's bytes must equal those of the
# same writes by the native edt-tool.
# Usage: editor_drive_test.sh SOURCE_DIR EDT_EDITOR_EXE NATIVE_EDT_TOOL NATIVE_MAKE_SAMPLES
set -euo pipefail
if [[ ${1:-} != --on-display ]]; then
    source "$(realpath "$1")/tests/support/virtual_display.sh"
    on_virtual_display 1024x768x24 96 bash "$0" --on-display "$@"
    exit
fi
source_dir=$(realpath "$2") exe=$(realpath "$3") tool=$(realpath "$4") make_samples=$(realpath "$5")
work=$(mktemp -d)
source "$source_dir/scripts/wine-session.sh"
trap 'wine_end; rm -rf "$work"' EXIT

mkdir "$work/files"
"$make_samples" "$work/files" 20 >/dev/null
file=$work/files/email.edt
# An entry with a lone CR, a lone LF and a CR LF, which must survive the text box.
"$tool" write "$file" 1921 'lone\rCR lone\nLF pair\r\nend' >/dev/null
# The kind follows from the name: the expected bytes are an email.edt too.
mkdir "$work/expected"
expected=$work/expected/email.edt
cp "$file" "$expected"

# The same write by the native tool, into the expected bytes.
expect() { "$tool" write "$expected" "$1" "$2" >/dev/null; }
# Waits (at most 10 s) for the file to hold the expected bytes.
same_bytes() {
    local i
    for ((i = 0; i < 100; ++i)); do
        cmp -s "$file" "$expected" && { echo "ok: $1"; return; }
        sleep 0.1
    done
    cmp -l "$file" "$expected" | head -5 || true
    fail "$1: the file's bytes differ from the expected ones"
}
# Write Record is refused with a message box, which OK closes; the file is unchanged.
refused() {
    local box
    box=$(window '^Zelvar EDT File Editor$') || fail "$1: no message box"
    focus "$box"
    xdotool key Return
    window_gone '^Zelvar EDT File Editor$' || fail "$1: the message box stays"
    same_bytes "$1: refused, file unchanged"
    focus "$main"
}

cd "$work/files"
wine "$exe" >"$work/editor.log" 2>&1 &
editor=$!
main=$(window '^Zelvar EDT File Editor$') || fail "the editor showed no window"
# Cancel in the open dialog changes nothing.
file_menu "$main" o
focus "$(window '^Open File \.\.\.$')" && xdotool key Escape
window_gone '^Open File' && [[ $(xdotool getwindowname "$main") == "Zelvar EDT File Editor" ]] ||
    fail "a cancelled Open changed the window"
echo "ok: Open cancelled"
open_with_dialog "$main" "$file"
main=$(window '^Zelvar Email Editor - ') || fail "the file was not opened"
caption=$(xdotool getwindowname "$main")
[[ $caption == "Zelvar Email Editor - $(windows_path "$file")" ]] || fail "caption '$caption'"
focus "$main"

# Without a window manager the X window is the menu bar and the client area, 461
# pixels high at 96 dpi; the first row lies 3 pixels into the list, itself 3 pixels in.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" 60 $((HEIGHT - 461 + 3 + 8)) click 1
# Tab moves to the text box, selecting its text; typing replaces it.
xdotool key Tab
xdotool type --delay 5 'Hello'
xdotool key Return
xdotool type --delay 5 'World'
xdotool key Tab space # to Write Record, and press it
expect 1 'Hello\r\nWorld'
same_bytes "a line clicked, edited and written"

# From the button, Tab wraps round to the list; Down twice selects the third line.
xdotool key Tab Down Down Tab
xdotool type --delay 5 'Second'
xdotool key Tab space
expect 1281 'Second'
same_bytes "a line chosen with arrow keys, edited and written"

# The fourth line's lone CR and LF show as marks and come back as they were.
xdotool key Tab Down Tab ctrl+End
xdotool type --delay 5 '!'
xdotool key Tab space
expect 1921 'lone\rCR lone\nLF pair\r\nend!'
same_bytes "lone CR and LF kept"

# An entry of email.edt holds 318 characters: 319 are refused, 318 written.
xdotool key Tab Tab
xdotool type --delay 2 "$(printf 'x%.0s' {1..319})"
xdotool key Tab space
refused "a text one character too long"
xdotool key shift+Tab ctrl+End BackSpace Tab space
expect 1921 "$(printf 'x%.0s' {1..318})"
same_bytes "318 characters written"

# Another program changes the file: the next Write Record is refused. The change comes
# a second after the editor's own write, as a person's would: one in the same clock
# tick, or before the editor has read back its file's time, cannot be told from it.
sleep 1
"$tool" write "$file" 641 'changed elsewhere' >/dev/null
expect 641 'changed elsewhere'
xdotool key space
refused "a file changed by another program"

file_menu "$main" x
timeout 10 tail --pid="$editor" -f /dev/null || fail "File > Exit did not end the editor"
wait "$editor" || fail "the editor ended with status $?"
same_bytes "after File > Exit"

# Three texts to find, one of them in capitals.
for entry in "3201 marker one" "5761 the MARKER two" "8321 marker three"; do
    "$tool" write "$file" "${entry%% *}" "${entry#* }" >/dev/null
    expect "${entry%% *}" "${entry#* }"
done
wine "$exe" --codepage 1251 email.edt >>"$work/editor.log" 2>&1 &
editor=$!
main=$(window '^Zelvar Email Editor - ') || fail "the file on the command line was not opened"
caption=$(xdotool getwindowname "$main")
[[ $caption == "Zelvar Email Editor - $(windows_path "$file")" ]] || fail "caption '$caption'"
focus "$main"
# Enter finds the first, F3 the second and third, Shift+F3 the second again; Escape
# gives the list the focus, Tab the text box.
xdotool key ctrl+f
xdotool type --delay 5 'marker'
xdotool key Return F3 F3 shift+F3 Escape Tab
xdotool type --delay 5 'found'
xdotool key Tab space
expect 5761 'found'
same_bytes "found with Ctrl+F, F3 and Shift+F3, and written"
# F3 over an unwritten change asks first; No (the default) keeps the entry and the
# change. Escape in the text box does nothing.
xdotool key shift+Tab
xdotool type --delay 5 'unwritten'
xdotool key Escape F3
focus "$(window '^Zelvar EDT File Editor$')" || fail "find did not ask about the change"
xdotool key Return
window_gone '^Zelvar EDT File Editor$' || fail "the question stays"
focus "$main"
xdotool key Tab space
expect 5761 'unwritten'
same_bytes "find told to stay keeps the entry and the change"
# Ctrl+S writes from the text box. A click on another line over a change asks: Cancel
# (the default) keeps the line and the change, Yes writes it and goes on, where
# Ctrl+Enter writes and Alt+letters type nothing.
xdotool key shift+Tab
xdotool type --delay 5 'saved'
xdotool key ctrl+s
expect 5761 'saved'
same_bytes "Ctrl+S wrote"
xdotool type --delay 5 ' twice'
for answer in Return y; do
    xdotool mousemove --window "$main" 60 $((HEIGHT - 461 + 3 + 8)) click 1
    focus "$(window '^Zelvar EDT File Editor$')" || fail "a click did not ask about the change"
    xdotool key "$answer"
    window_gone '^Zelvar EDT File Editor$' || fail "the question stays"
    focus "$main"
done
xdotool key Tab
xdotool type --delay 5 'first'
xdotool key alt+w alt+r ctrl+Return
expect 5761 'saved twice'
expect 1 'first'
same_bytes "Cancel kept the change, Yes wrote it, Ctrl+Enter wrote the line clicked"
# The file's name typed into the open dialog presets its Character set box to the code
# page it was read with (1251, from the command line), which the editor keeps again.
open_with_dialog "$main" "$file"
window_gone '^Open File' || fail "the open dialog stays"
file_menu "$main" x
wait "$editor" || fail "the editor ended with status $?"
wine reg query 'HKCU\Software\edt-editor\CodePages' 2>/dev/null | tr -d '\r' |
    grep -q 'email\.edt *REG_SZ *Windows-1251$' || fail "a typed name did not preset the code page"
echo "ok: a typed name presets the code page"

# A Hebrew text (Windows-1255) turns the text box right to left, made anew: its text
# lies in the box's right half, Tab still reaches it and what is typed there is
# written.
"$tool" write "$file" 1 'שלום 12' --codepage 1255 >/dev/null
EDT_CODEPAGE=1255 expect 1 'שלום 12'
wine "$exe" --codepage 1255 email.edt >>"$work/editor.log" 2>&1 &
editor=$!
main=$(window '^Zelvar Email Editor - ') && focus "$main" || fail "no window for 1255"
xdotool mousemove --window "$main" 60 $((HEIGHT - 461 + 3 + 8)) click 1 mousemove 0 0
# The text box's inside, above the version line at the window's bottom; looked at
# again while it may still be painting.
for ((try = 0; try < 20; ++try)); do
    import -window "$main" -crop "550x60+6+$((HEIGHT - 100))" +repage "$work/box.png"
    left=$(convert "$work/box.png" -fuzz 30% -trim -format '%X' info: | tr -d '+')
    ((left > 275)) && break || sleep 0.5
done
((left > 275)) || fail "the Hebrew text starts at x=$left, not in the box's right half"
xdotool key Tab
xdotool type --delay 5 'typed'
xdotool key Tab space
expect 1 'typed'
same_bytes "a right-to-left text shown from the right, then replaced and written"
file_menu "$main" x
wait "$editor" || fail "the editor ended with status $?"

# --version tells it in a message box, whose text Wine's trace shows.
WINEDEBUG=trace+msgbox wine "$exe" --version >"$work/version.log" 2>&1 &
version=$!
focus "$(window '^edt-editor$')" || fail "--version showed no message box"
xdotool key Return
wait "$version" || fail "--version ended with status $?"
grep -q "MSGBOX_OnInit L\"edt-editor $("$tool" --version | cut -d' ' -f2)\"" "$work/version.log" ||
    fail "--version said: $(grep -a MSGBOX "$work/version.log")"
echo "ok: --version"
echo "edt-editor.exe under Wine: all steps passed"
