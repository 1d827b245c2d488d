#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and runs every test: once plain, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

"$root/scripts/build.sh" "$root/build/main" -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$root/build/main" && ctest --output-on-failure -j 2)

"$root/scripts/build.sh" "$root/build/asan" -DCMAKE_BUILD_TYPE=Debug -DMORVIK_SANITIZE=ON
(cd "$root/build/asan" && ctest --output-on-failure -j 2)
