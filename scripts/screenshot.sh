#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/morvik.png, the picture in the README, from the real program: a
# file opened from the command line in a document window, and the fill-tags
# tool, under Xvfb with openbox. Builds what it needs first.
# Usage: scripts/screenshot.sh [BUILD_DIR] (default build/main)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/main}")
out=$root/docs/morvik.png

# shellcheck source=xsession.sh
source "$root/scripts/xsession.sh"
[[ -n "${MORVIK_XSESSION:-}" ]] || screenshot_build "$root" "$build"
xsession_enter screenshot 120 780x500x24 xdotool iconv -- "$0" "$build"

xsession_start || fail "openbox did not start"
mkdir -p "$work/home/Музыка/Северный ветер"
{
    head -c 4000 /dev/zero
    printf 'TAG'
    field "Белая ночь" 30; field "Северный ветер" 30; field "Дорога домой" 30; field 2003 4
    field "Записано в Петрозаводске" 30
    printf '\021' # genre 17, Rock
} >"$work/home/Музыка/Северный ветер/Белая ночь.mp3"

(cd "$work/home/Музыка/Северный ветер" && exec "$build/bin/Morvik" "Белая ночь.mp3") >"$work/morvik.log" 2>&1 &
pids+=($!)
frame=$(timeout 20 xdotool search --sync --onlyvisible --name '^Morvik$' | head -n 1) || fail "no frame window"
xdotool windowactivate --sync "$frame" || true
sleep 1

# The fill-tags tool, moved beside the document, with a template typed in.
xdotool key --clearmodifiers ctrl+f
tool=$(timeout 20 xdotool search --sync --onlyvisible --name '^Заполнить теги$' | head -n 1) || fail "no fill-tags window"
xdotool windowmove --sync "$tool" 395 50 || true
xdotool windowactivate --sync "$tool" || true
xdotool key --clearmodifiers Tab Tab
xdotool type --delay 30 '%2 - %1'
sleep 1

mkdir -p "$(dirname "$out")"
"$build/grab_screen" "$out" || fail "could not grab the screen"
echo "screenshot: $out ($(stat -c %s "$out") bytes)"
