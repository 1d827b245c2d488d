#!/usr/bin/env bash
# Sets up, builds Morvik and Quenlar for release without the tests, and makes
# the Debian package build/package/morvik_*.deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build/package" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
(cd "$root/build/package" && cpack -G DEB >/dev/null)
ls "$root"/build/package/morvik_*.deb
