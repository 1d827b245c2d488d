#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# debian_layout.sh SOURCE_DIR CONSUMER_DIR CMAKE CXX
# Quenlar as the Debian packages lay it out. Configured for the prefix /usr
# (as debhelper does), the library lands in the multiarch folder and
# quenlar.pc names plain folders; a program outside the project, built with
# pkg-config, then gets libquenlar1 from dpkg-shlibdeps through the project's
# symbols file. Exits 77 (skipped) without the Debian tools.
set -euo pipefail
source=$1 consumer=$2 cmake=$3 cxx=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in dpkg-architecture dpkg-gensymbols dpkg-shlibdeps pkg-config; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (dpkg-dev, pkg-config)"; exit 77; }
done
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# Only the library is built; the components are what libquenlar1 and
# libquenlar-dev hold.
"$cmake" -S "$source" -B build -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
"$cmake" --build build --target Quenlar -j2 >/dev/null
for component in Quenlar Quenlar_Development; do
    DESTDIR=$work/root "$cmake" --install build --component "$component" >/dev/null
done
DESTDIR=$work/debian/libquenlar1 "$cmake" --install build --component Quenlar >/dev/null

lib=usr/lib/$multiarch
[[ -f root/$lib/libQuenlar.so.1 && -L root/$lib/libQuenlar.so ]] || fail "no libQuenlar.so.1 and link name in /$lib"
pc=$(grep -E '^(prefix|libdir|includedir)=' "root/$lib/pkgconfig/quenlar.pc" | tr '\n' ' ')
[[ "$pc" == "prefix=/usr libdir=/$lib includedir=/usr/include " ]] || fail "quenlar.pc: $pc"

# Built as on a system with libquenlar-dev, the staging folder standing for /.
flags=$(PKG_CONFIG_LIBDIR=root/$lib/pkgconfig PKG_CONFIG_SYSROOT_DIR=$work/root PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 \
    PKG_CONFIG_ALLOW_SYSTEM_LIBS=1 pkg-config --cflags --libs quenlar)
read -ra flags <<<"$flags"
[[ "${flags[*]}" == "-I$work/root/usr/include -L$work/root/$lib -lQuenlar" ]] || fail "pkg-config: ${flags[*]}"
mkdir -p debian/consumer/usr/bin
"$cxx" -o debian/consumer/usr/bin/consumer "$consumer/main.cpp" "${flags[@]}"

# The symbols file as a later package build would use it: a symbol it lists
# that the library no longer has fails here.
dpkg-gensymbols -plibquenlar1 -Pdebian/libquenlar1 -I"$source/debian/libquenlar1.symbols" -v9999 \
    >symbols.log 2>&1 || { cat symbols.log >&2; fail "dpkg-gensymbols"; }
printf 'Source: consumer\n\nPackage: consumer\nArchitecture: any\n' >debian/control
depends=$(dpkg-shlibdeps -O debian/consumer/usr/bin/consumer 2>shlibdeps.log) || {
    cat shlibdeps.log >&2
    fail "dpkg-shlibdeps"
}
[[ "$depends" == *"libquenlar1 (>= 1.0.0)"* ]] || fail "dpkg-shlibdeps: $depends"
echo "Quenlar laid out in /$lib; $depends"
