#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The man page of edt-tool: renders with man -l without warnings, shows the tool's
# version, documents every command and option that --help names, and its table of
# file kinds says what the tool really does with each kind.
# Usage: man_page_test.sh MAN_PAGE EDT_TOOL
set -euo pipefail
man_page=$1 tool=$2

fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

warnings=$(MANWIDTH=100 man --warnings -l "$man_page" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "man reports: $warnings"
page=$(MANWIDTH=200 man -l "$man_page" | col -bx)
help=$("$tool" --help)
version=$("$tool" --version)
grep -q "^${version} " <<<"$page" || fail "the page's footer does not show '$version'"

section() { # the text under one heading, up to the next heading
    awk -v h="$1" '/^[A-Z][A-Z ]*$/ { on = ($0 == h); next } on' <<<"$page"
}
# Every usage line of --help is in the synopsis, every option anywhere.
while read -r usage; do
    usage=${usage#Usage: }
    args=${usage#edt-tool }
    [[ $args == --* ]] && continue
    # Here-strings, not pipes: grep -q stops reading early, and pipefail would count
    # the writer's broken pipe as a failure.
    grep -qF -- "$usage" <<<"$(section SYNOPSIS)" || fail "the synopsis lacks '$usage'"
    grep -qF -- "$args" <<<"$(section COMMANDS)" || fail "no COMMANDS entry for '$args'"
done < <(grep -E '^(Usage: | +)edt-tool ' <<<"$help")
for option in $(grep -oE '(^|[ |])--?[a-z][a-z-]*' <<<"$help" | tr -d ' |' | sort -u); do
    grep -qE -- "(^|[ ,])$option([ ,|]|$)" <<<"$(section COMMANDS)" ||
        fail "option $option is not described under COMMANDS"
done
for escape in '\\' '\r' '\n' '\t' '\xHH'; do
    grep -qF -- "$escape" <<<"$(section 'TEXTS AND ESCAPES')" || fail "escape $escape is missing"
done
for status in 0 1 2; do
    grep -qE "^ +$status +[A-Z]" <<<"$(section 'EXIT STATUS')" || fail "exit status $status is missing"
done

# Each row of the kinds table against the tool: a file of that name holding two
# records lists the row's limit caption and puts its second entry where the row's
# record (or first field) length says.
rows=0
while IFS='|' read -r names length caption; do
    name=$(sed -e 's/,.*//' -e 's/names beginning with civ/civilians.edt/' \
        -e 's/any other name/strings.edt/' <<<"$names")
    first=${length%% *}
    second_field=$(sed -n 's/.*+ \([0-9]*\).*/\1/p' <<<"$length")
    record=$((first + ${second_field:-0}))
    truncate -s $((2 * record)) "$work/$name"
    listing=$("$tool" list "$work/$name")
    [[ $(head -1 <<<"$listing") == "Record Length ($caption):" ]] ||
        fail "$name: the tool says '$(head -1 <<<"$listing")', the page '$caption'"
    second=$(sed -n '3s/^\[\([0-9]*\)\].*/\1/p' <<<"$listing")
    ((10#$second == first + 1)) || fail "$name: second entry at $second, the page says $length"
    rows=$((rows + 1))
done < <(section 'FILE KINDS' |
    sed -n 's/^ *\(.*[a-z]\) \{2,\}\([0-9][0-9 +]*[0-9]\)\( (two entries)\)\? \{2,\}\(Max .*\)$/\1|\2|\4/p')
((rows == 6)) || fail "the kinds table has $rows rows, not 6"
echo "man page: renders cleanly, matches --help and the tool's $rows file kinds"
