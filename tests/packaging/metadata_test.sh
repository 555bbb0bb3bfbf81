#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop entry and the AppStream metainfo: both validators pass, the validators
# do fail on a broken copy (so a pass means something), and the two files agree with
# each other and with the program (launcher, icon, version, screenshot).
# Usage: metadata_test.sh DESKTOP_FILE METAINFO_FILE VERSION EDT_TOOL
set -euo pipefail
desktop=$1 metainfo=$2 version=$3 tool=$4

fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"

# Negative controls: a desktop entry without a Name and a metainfo without an id fail.
grep -v '^Name=' "$desktop" >"$work/edt-editor.desktop"
if desktop-file-validate "$work/edt-editor.desktop" >/dev/null 2>&1; then
    fail "desktop-file-validate accepts an entry without Name"
fi
sed 's|<id>.*</id>||' "$metainfo" >"$work/$(basename "$metainfo")"
if appstreamcli validate --no-net "$work/$(basename "$metainfo")" >/dev/null 2>&1; then
    fail "appstreamcli accepts metainfo without an id"
fi

key() { sed -n "s/^$1=//p" "$desktop"; }
# The editor opens the one file a file manager gives it, of the type the package names.
[[ $(key Exec) == "edt-editor %f" ]] || fail "Exec is '$(key Exec)', not edt-editor %f"
mime=$(dirname "$desktop")/edt-editor.mime.xml
type=$(sed -n 's/.*mime-type type="\([^"]*\)".*/\1/p' "$mime")
[[ $(key MimeType) == "$type;" ]] || fail "MimeType is '$(key MimeType)', the package's '$type'"
mkdir -p "$work/mime/packages"
cp "$mime" "$work/mime/packages/edt-editor.xml"
update-mime-database "$work/mime" || fail "update-mime-database rejects $mime"
grep -qx "50:$type:\*.edt" "$work/mime/globs2" || fail "no *.edt glob for $type"
grep -q "EDT game text file" "$work/mime/${type}.xml" || fail "the type has no comment"
grep -q "<mediatype>$type</mediatype>" "$metainfo" || fail "metainfo does not provide $type"
[[ $(key Icon) == edt-editor ]] || fail "Icon is '$(key Icon)', not the installed icon's name"
[[ $(key Type) == Application && $(key Terminal) == false ]] || fail "not a graphical application entry"

tag() { sed -n "s|.*<$1[^>]*>\(.*\)</$1>.*|\1|p" "$metainfo"; }
id=$(tag id)
[[ $(basename "$metainfo") == "$id.metainfo.xml" ]] || fail "file name does not follow the id $id"
[[ $(tag launchable) == "$(basename "$desktop")" ]] || fail "launchable is not $(basename "$desktop")"
[[ $(tag name) == "$(key Name)" ]] || fail "names differ: '$(tag name)' and '$(key Name)'"
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"" "$metainfo" ||
    fail "no dated release $version"
[[ $("$tool" --version) == "edt-tool $version" ]] || fail "edt-tool says '$("$tool" --version)'"
[[ $(tag image) == https://*.png ]] || fail "screenshot is '$(tag image)'"
for binary in edt-editor edt-tool; do
    grep -q "<binary>$binary</binary>" "$metainfo" || fail "metainfo does not provide $binary"
done
echo "desktop entry and metainfo: valid and consistent ($id, version $version)"
