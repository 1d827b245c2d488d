#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up and makes the Debian packages with debhelper (debian/): libquenlar1,
# libquenlar-dev and morvik, and their debug symbols. Builds a clean copy of
# the source in build/package/source, so the .deb files land in
# build/package/; prints the path of each, one a line, last. The package
# build runs the tests too; DEB_BUILD_OPTIONS=nocheck leaves them out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/package
"$root/scripts/setup.sh"

rm -rf "$out"
mkdir -p "$out/source"
tar -C "$root" --exclude=./build --exclude-vcs -cf - . | tar -C "$out/source" -xf -

# What debian/control says the build needs (debhelper among them).
if ! (cd "$out/source" && dpkg-checkbuilddeps >/dev/null 2>&1); then
    sudo=""
    if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
    $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 \
        build-dep -y -q "$out/source"
fi

echo "package: building, log in $out/build.log"
if ! (cd "$out/source" && dpkg-buildpackage -b -us -uc -J"$(nproc)") >"$out/build.log" 2>&1; then
    tail -n 30 "$out/build.log" >&2
    exit 1
fi
# The copy is left clean, as the source of the packages' own tests
# (autopkgtest; see the README).
(cd "$out/source" && debian/rules clean) >>"$out/build.log" 2>&1
ls "$out"/*.deb
