#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles edt-editor.exe (the Win32 window) and edt-tool.exe for 64-bit Windows
# with MinGW-w64 into build-windows/bin/ (or the folder given), warnings as errors,
# linked statically so that each .exe runs alone. With --with-tests it also builds the
# test suites of the record core and of the translations (edt_record_tests.exe,
# edt_translate_tests.exe), which run under Wine.
#
# Debian has no MinGW-w64 build of the libraries the programs use, so the first build
# fetches their Debian source packages and builds them into a deps folder: by default
# BUILD_DIR/deps; EDT_WINDOWS_DEPS names another, so that several cross builds share
# one (a lock keeps two builds from making it at once), and a later build into the same
# BUILD_DIR uses the same again. Nothing there is built twice.
# Usage: scripts/build-windows.sh [BUILD_DIR] [--with-tests]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-windows
tests=OFF
for arg in "$@"; do
    case $arg in
    --with-tests) tests=ON ;;
    *) build=$arg ;;
    esac
done
build=$(realpath -m "$build")
# A build folder keeps the deps folder it was made with.
[[ -n ${EDT_WINDOWS_DEPS:-} || ! -s $build/deps-folder ]] || EDT_WINDOWS_DEPS=$(<"$build/deps-folder")
deps=$(realpath -m "${EDT_WINDOWS_DEPS:-$build/deps}")
host=x86_64-w64-mingw32
prefix=$deps/$host
jobs=$(nproc)

# Unpacks Debian 12's source package $1 into $deps/src/$1 (once), through a source list
# of our own so that the system's lists stay as they are; apt checks the signatures.
# Further arguments go to dpkg-source (such as --skip-patches).
fetch_debian_source() {
    local package=$1 apt=$deps/apt
    shift
    [[ -d $deps/src/$package ]] && return
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" "$deps/src"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "http://deb.debian.org/debian bookworm main" >"$apt/sources.list"
    local options=(-o Dir::Etc::SourceList="$apt/sources.list"
        -o Dir::Etc::SourceParts="$apt/sources.list.d"
        -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache")
    apt-get "${options[@]}" update
    rm -rf "$deps/src/$package.part"
    mkdir "$deps/src/$package.part"
    (cd "$deps/src/$package.part" && apt-get "${options[@]}" source --download-only "$package" &&
        dpkg-source "$@" -x ./*.dsc)
    local unpacked
    unpacked=$(find "$deps/src/$package.part" -mindepth 1 -maxdepth 1 -type d)
    mv "$unpacked" "$deps/src/$package"
    rm -rf "$deps/src/$package.part"
}

# Debian's patches of both packages below change Makefile.am and configure.ac files,
# which would then need autoreconf; they concern Debian's own platforms and packaging.

# GNU libunistring, static, as Debian's libgettextpo uses it: the older copy that
# gettext 0.21 builds in its place breaks long PO lines at other places than the Linux
# edt-tool does.
build_libunistring() {
    [[ -e $deps/libunistring.done ]] && return
    fetch_debian_source libunistring --skip-patches
    local tree=$deps/build/libunistring
    rm -rf "$tree"
    mkdir -p "$tree"
    (cd "$tree" && "$deps/src/libunistring/configure" --host=$host --prefix="$prefix" \
        --disable-shared --enable-static --without-libiconv-prefix am_cv_func_iconv=no \
        CFLAGS=-O2)
    make -C "$tree/lib" -j"$jobs" install
    touch "$deps/libunistring.done"
}

# GNU gettext's libgettextpo, static, UTF-8 PO only: no iconv (Windows has none) and no
# message catalogs of its own.
build_gettextpo() {
    [[ -e $prefix/lib/libgettextpo.a ]] && return
    fetch_debian_source gettext --skip-patches
    local tree=$deps/build/gettext-tools
    rm -rf "$tree"
    mkdir -p "$tree" "$prefix/include" "$prefix/lib"
    (cd "$tree" && "$deps/src/gettext/gettext-tools/configure" --host=$host \
        --disable-shared --enable-static --disable-nls --disable-java --disable-csharp \
        --disable-openmp --disable-libasprintf --disable-curses --disable-acl \
        --without-libiconv-prefix --without-libintl-prefix --without-emacs --without-git \
        am_cv_func_iconv=no CFLAGS=-O2 CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib")
    grep -q '^#define HAVE_LIBUNISTRING 1' "$tree/config.h"
    make -C "$tree/libgettextpo" -j"$jobs"
    cp "$tree/libgettextpo/gettext-po.h" "$prefix/include/"
    # Moved into place last: its presence says that the whole prefix is there.
    cp "$tree/libgettextpo/.libs/libgettextpo.a" "$prefix/lib/libgettextpo.a.part"
    mv "$prefix/lib/libgettextpo.a.part" "$prefix/lib/libgettextpo.a"
}

# The libraries of XLSX, static, from Debian's sources with Debian's patches (their
# security fixes among them): minizip (the source package of Debian's libminizip, not
# zlib's contrib/), expat, and libxlsxwriter linked to that minizip, as Debian links
# it, rather than to its bundled copy. zlib is Debian's own MinGW-w64 build
# (libz-mingw-w64-dev). Only the libraries are built: no tools, tests or examples.
cc=$host-gcc

# minizip's own build is Debian's automake patch; its sources are few and need nothing
# detected, so they are compiled here as that Makefile.am lists them for Windows.
build_minizip() {
    [[ -e $prefix/lib/libminizip.a ]] && return
    fetch_debian_source minizip
    local tree=$deps/build/minizip src=$deps/src/minizip file
    rm -rf "$tree"
    mkdir -p "$tree" "$prefix/include/minizip" "$prefix/lib"
    for file in ioapi mztools unzip zip iowin32; do
        "$cc" -O2 -c "$src/$file.c" -o "$tree/$file.o"
    done
    cp "$src"/{crypt,ioapi,mztools,unzip,zip,iowin32}.h "$prefix/include/minizip/"
    "$host-ar" rcs "$tree/libminizip.a" "$tree"/*.o
    mv "$tree/libminizip.a" "$prefix/lib/"
}

# Debian builds it through configure, which its source package leaves to autoreconf;
# its CMake file does as well, but defines XML_DTD empty where the security fixes in
# Debian's patches test XML_DTD == 1, as configure defines it.
build_expat() {
    [[ -e $prefix/lib/libexpat.a ]] && return
    fetch_debian_source expat
    local tree=$deps/build/expat
    rm -rf "$tree"
    cmake -S "$deps/src/expat/expat" -B "$tree" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
        -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF
    sed -i 's/^#define XML_DTD$/#define XML_DTD 1/' "$tree/expat_config.h"
    grep -q '^#define XML_DTD 1$' "$tree/expat_config.h"
    cmake --build "$tree" --target expat
    cmake --install "$tree"
}

# Upstream's CMake file looks for minizip under the toolchain's root only; the library
# is plain C without anything detected, so its sources are compiled as that file lists
# them (the bundled MD5 in place of OpenSSL's, which only spots repeated images).
build_xlsxwriter() {
    [[ -e $prefix/lib/libxlsxwriter.a ]] && return
    fetch_debian_source libxlsxwriter
    local tree=$deps/build/libxlsxwriter src=$deps/src/libxlsxwriter
    rm -rf "$tree"
    mkdir -p "$tree"
    printf '%s\n' "$src"/src/*.c "$src/third_party/tmpfileplus/tmpfileplus.c" \
        "$src/third_party/md5/md5.c" |
        xargs -d '\n' -n 1 -P "$jobs" sh -c '"$0" -O2 -DUSE_SYSTEM_MINIZIP -I"$1/include" \
            -I"$2/include" -c "$4" -o "$3/$(basename "$4" .c).o"' "$cc" "$src" "$prefix" "$tree"
    "$host-ar" rcs "$tree/libxlsxwriter.a" "$tree"/*.o
    cp -r "$src/include/xlsxwriter.h" "$src/include/xlsxwriter" "$prefix/include/"
    mv "$tree/libxlsxwriter.a" "$prefix/lib/"
}

# Whoever holds the lock builds what is missing; the others then find it made. The
# build's words go to a log (configure's and the compiler's notes are many).
mkdir -p "$deps"
(
    flock 9
    set +e # in a subshell of its own, so that its set -e holds
    (set -e && build_libunistring && build_gettextpo && build_minizip && build_expat &&
        build_xlsxwriter) >"$deps/build.log" 2>&1
    built=$?
    set -e
    if [[ $built != 0 ]]; then
        tail -n 40 "$deps/build.log" >&2
        echo "Building the libraries for Windows failed; see $deps/build.log" >&2
        exit 1
    fi
) 9>"$deps/.lock"

mkdir -p "$build"
echo "$deps" >"$build/deps-folder"

targets=(edt-editor edt-tool)
options=()
if [[ $tests == ON ]]; then
    targets+=(edt_record_tests edt_translate_tests)
    # GoogleTest lists the tests by running the .exe after the build.
    options+=(-DCMAKE_CROSSCOMPILING_EMULATOR=wine)
fi
cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="-Werror" \
    -DGETTEXTPO_INCLUDE_DIR="$prefix/include" \
    -DGETTEXTPO_LIBRARY="$prefix/lib/libgettextpo.a;$prefix/lib/libunistring.a" \
    -DXLSX_INCLUDE_DIR="$prefix/include" -DXLSXWRITER_LIBRARY="$prefix/lib/libxlsxwriter.a" \
    -DMINIZIP_LIBRARY="$prefix/lib/libminizip.a" -DEXPAT_LIBRARY="$prefix/lib/libexpat.a" \
    -DEDT_BUILD_WINDOW=ON -DEDT_BUILD_BENCH=OFF -DEDT_BUILD_TESTS=$tests "${options[@]}" >/dev/null
cmake --build "$build" --target "${targets[@]}"
echo "$build/bin/edt-editor.exe"
echo "$build/bin/edt-tool.exe"
