#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# install_and_use.sh BUILD_DIR LIBDIR CONSUMER_DIR CMAKE CXX [FLAGS]
# Installs BUILD_DIR into a temporary prefix, checks what landed there, and
# builds and runs the consumer program against it with CMake and pkg-config.
set -euo pipefail
build=$1 libdir=$2 consumer=$3 cmake=$4 cxx=$5 flags=${6:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

headers=$(cd "$prefix" && find . -name '*.h' | sort)
[[ "$headers" == ./include/Quenlar/TMP3Tag.h ]] || fail "installed headers: $headers"

soname=$(readelf -d "$prefix/$libdir/libQuenlar.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[[ "$soname" == libQuenlar.so.1 ]] || fail "soname: '$soname'"
[[ -f "$prefix/$libdir/libQuenlar.so.1" ]] || fail "no libQuenlar.so.1"
# The installed program loads the installed library, not the build tree's.
loaded=$(ldd "$prefix/bin/Morvik" | sed -n 's/.*libQuenlar\.so\.1 => \(.*\) (0x.*/\1/p')
[[ -n "$loaded" && $(realpath "$loaded") == $(realpath "$prefix/$libdir/libQuenlar.so.1") ]] ||
    fail "Morvik loads '$loaded'"

# The build tree's program finds its library through $ORIGIN: a path of the
# build folder would stay in the installed program as a hole of its length,
# so the program would come out different from every build folder.
runpath() { readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p'; }
built=$(runpath "$build/bin/Morvik")
[[ "$built" == "\$ORIGIN/"* && "$built" != *"$build"* ]] || fail "the build tree's Morvik has RUNPATH '$built'"
[[ $(runpath "$prefix/bin/Morvik") == "\$ORIGIN/../$libdir" ]] || fail "Morvik installed with RUNPATH '$(runpath "$prefix/bin/Morvik")'"

expected='Звезда|Artist|1999|Rock'
# check NAME PROGRAM [env...]: runs PROGRAM on a fresh untagged file.
check() {
    local name=$1 program=$2; shift 2
    local mp3=$work/$name.mp3 out
    head -c 300 /dev/zero >"$mp3"
    out=$(env "$@" "$program" "$mp3") || fail "$name: the program failed"
    [[ "$out" == "$expected" ]] || fail "$name: read back '$out', expected '$expected'"
}

# Through CMake; only the prefix may have supplied the package.
"$cmake" -S "$consumer" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
grep -q "^Quenlar_DIR:PATH=$prefix/" "$work/cmake/CMakeCache.txt" || fail "find_package did not use the prefix"
"$cmake" --build "$work/cmake" >/dev/null
check cmake "$work/cmake/quenlar_consumer"

# Through pkg-config, with no other place to look.
pcdir=$prefix/$libdir/pkgconfig
pcflags=$(PKG_CONFIG_PATH=$pcdir PKG_CONFIG_LIBDIR=$pcdir pkg-config --cflags --libs quenlar)
# Plain folders of the prefix given to the install, not of the build's.
read -ra words <<<"$pcflags"
[[ "${words[*]}" == "-I$prefix/include -L$prefix/$libdir -lQuenlar" ]] || fail "pkg-config: $pcflags"
# shellcheck disable=SC2086 # both are lists of words
"$cxx" $flags -o "$work/pkgconfig_consumer" "$consumer/main.cpp" $pcflags
check pkgconfig "$work/pkgconfig_consumer" LD_LIBRARY_PATH="$prefix/$libdir"

echo "Quenlar installed and used through CMake and pkg-config"
