#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with CPack, checks its control fields and contents, lets
# lintian judge it (where installed; no error or warning may remain), and runs
# edt-tool from the package unpacked into a scratch root (dpkg -x).
# Usage: deb_test.sh BUILD_DIR VERSION WITH_EDITOR(0|1)
set -euo pipefail
build=$1 version=$2 with_editor=$3

fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
arch=$(dpkg --print-architecture)
deb=$work/out/edt-editor_${version}_$arch.deb
[[ -f $deb ]] || { ls "$work/out"; fail "no $(basename "$deb")"; }

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == edt-editor ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture: $(field Architecture)"
[[ -n $(field Maintainer) && -n $(field Description) ]] || fail "no Maintainer or Description"
depends=$(field Depends)
wanted=(fonts-liberation libc6 libstdc++6)
((with_editor)) && wanted+=(libqt6core6 libqt6gui6 libqt6widgets6)
names=$(sed -e 's/ ([^)]*)//g' -e 's/, /\n/g' <<<"$depends")
for package in "${wanted[@]}"; do
    grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done
# apt would install it here: every dependency exists, in a version that satisfies it.
apt-get install -s "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; fail "apt cannot install it"; }
grep -q '^Inst edt-editor ' "$work/apt.log" || { cat "$work/apt.log"; fail "apt plans no install"; }
if ((with_editor)); then
    [[ $(field Recommends) == *qt6-wayland* ]] || fail "Recommends lacks qt6-wayland"
fi
echo "Depends: $depends"
if command -v lintian >/dev/null; then
    lintian "$deb" >"$work/lintian.log" 2>&1 || true
    ! grep -E '^[EW]: ' "$work/lintian.log" || fail "lintian finds errors or warnings"
    echo "lintian: no errors or warnings"
fi

root=$work/root
dpkg -x "$deb" "$root"
files=$(cd "$root" && find . -type f | sort)
wanted_files=(./usr/bin/edt-tool ./usr/share/man/man1/edt-tool.1.gz ./usr/share/doc/edt-editor/copyright
    ./usr/share/doc/edt-editor/changelog.gz)
((with_editor)) && wanted_files+=(./usr/bin/edt-editor ./usr/share/applications/edt-editor.desktop
    ./usr/share/mime/packages/edt-editor.xml ./usr/share/man/man1/edt-editor.1.gz)
for file in "${wanted_files[@]}"; do
    grep -qxF "$file" <<<"$files" || fail "the package lacks $file"
done
if grep -v -E '^\./usr/(bin|share/(man|applications|metainfo|icons|mime|doc/edt-editor))/' <<<"$files"; then
    fail "files outside the expected folders"
fi
[[ $("$root/usr/bin/edt-tool" --version) == "edt-tool $version" ]] ||
    fail "the unpacked edt-tool says '$("$root/usr/bin/edt-tool" --version)'"
# It works on a file, not only on --version.
printf 'H\0j\0\0\0\0\0' >"$work/quests.edt"
[[ $("$root/usr/bin/edt-tool" list "$work/quests.edt") == $'Record Length (Max 75):\n[0000001] Gi' ]] ||
    fail "the unpacked edt-tool lists the wrong text"
file "$root/usr/bin/edt-tool" | grep -q ', stripped' || fail "edt-tool in the package is not stripped"

if ((with_editor)); then
    # The menu entry's command starts the unpacked editor on a (virtual) X display: its
    # platform plugin and libraries load, it shows its window and is still running then.
    # %f is the file a file manager gives: here, one of the package's own (a file that
    # is no EDT file opens too, and lists its bytes).
    command=$(sed -n 's/^Exec=//p' "$root/usr/share/applications/edt-editor.desktop")
    command=${command/\%f/$root/usr/share/doc/edt-editor/copyright}
    source "$(dirname "$(realpath "$0")")/../support/virtual_display.sh"
    PATH=$root/usr/bin:$PATH on_virtual_display 1024x768x24 96 bash -c "
        $command >'$work/editor.log' 2>&1 &
        pid=\$!
        timeout 60 xdotool search --sync --onlyvisible --name '^Zelvar .*copyright' >/dev/null &&
            kill -0 \$pid || exit 1
        kill \$pid; wait \$pid; exit 0" ||
        { cat "$work/editor.log"; fail "'$command' from the package showed no window, or did not keep running"; }
    echo "the menu entry's command '$command' starts the unpacked editor"
fi
echo "$(basename "$deb"): $(wc -l <<<"$files") files, $(stat -c %s "$deb") bytes"
