#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up, builds and starts Morvik.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build/main" -DCMAKE_BUILD_TYPE=RelWithDebInfo
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Morvik is a desktop program and there is no display here." >&2
    echo "Start it on a desktop, or under a virtual one: xvfb-run -a $root/build/main/bin/Morvik" >&2
    exit 1
fi
exec "$root/build/main/bin/Morvik"
