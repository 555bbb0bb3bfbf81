# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that look at a screenshot of the editor's window as a person
# would. whole_window IMAGE VERSION checks a picture of the window's inside (menu bar
# and client area, no frame) for what a frame larger than the layout expects cuts
# off: the version line (its words, not its digits) and the Write Record button's caption, read back by OCR
# (tesseract); the list's right edge with its scroll bar, which must lie within the
# last 32nd of the width (the rules leave 2 to 10 pixels at 100 %) while the last
# column, below the menu bar, shows only the window's background (taken from the left
# margin); and the bottom row, which no control may fill. Prints what it found;
# returns 1 with the reasons when something is missing.

# The colour of one pixel, as #RRGGBB.
pixel_of() { convert "$1" -format "%[hex:u.p{$2,$3}]" info:; }

whole_window() {
    local image=$1 version=$2 width height problems=()
    read -r width height < <(identify -format '%w %h\n' "$image")
    # The button row and the version line lie in the lowest two fifths; tesseract reads
    # best at about 200 dpi, from text of a window about 564 pixels wide per 96 dpi.
    local band=$((height * 2 / 5)) text
    text=$(convert "$image" -crop "${width}x$band+0+$((height - band))" +repage -colorspace Gray \
        -resize "$((126900 / width))%" png:- | OMP_THREAD_LIMIT=1 tesseract stdin stdout --psm 11 2>/dev/null)
    # The line is there, whole, when its words are read and a mark follows them: the
    # digits themselves are not read, as which font draws them depends on the machine
    # (a zero with a slash reads as 9 or 8; the version is checked in the programs'
    # resources). OCR misreads the capital W (as VV or Yr).
    grep -qE "Editor.{0,3}Version ?[^[:space:]]" <<<"$text" ||
        problems+=("no version line 'Oskeln's Zelvar EDT File Editor - Version $version'")
    grep -qF "rite Record" <<<"$text" || problems+=("no 'Write Record' caption")

    local y=$((height * 2 / 5)) background last x edge=
    background=$(pixel_of "$image" 0 "$y")
    # Below the menu bar, the last column is the background from top to bottom.
    local top=$((height / 16))
    last=$(convert "$image" -crop "1x$((height - top))+$((width - 1))+$top" +repage txt:- |
        tail -n +2 | grep -vc "#$background" || true)
    ((last == 0)) || problems+=("the list or the text box reaches the right edge ($last pixels)")
    for ((x = width - 2; x >= width - width / 32; --x)); do
        [[ $(pixel_of "$image" "$x" "$y") != "$background" ]] && { edge=$x; break; }
    done
    [[ -n $edge ]] || problems+=("no list edge in the last $((width / 32)) columns")
    # The bottom row: background, where the version line's letters may touch it; a
    # control running past the window (the text box) would fill it.
    local others
    others=$(convert "$image" -crop "${width}x1+0+$((height - 1))" +repage txt:- |
        tail -n +2 | grep -vc "#$background" || true)
    ((others < width / 2)) || problems+=("something runs past the bottom edge ($others pixels)")

    if ((${#problems[@]})); then
        echo "$image:" >&2
        printf '  %s\n' "${problems[@]}" >&2
        echo "OCR read: $(tr '\n' '|' <<<"$text")" >&2
        return 1
    fi
    echo "ok: $image ${width}x$height shows the version line, 'Write Record' and the list's edge at x=$edge"
}
