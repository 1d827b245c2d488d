#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/preview.png, the README's picture of the preview, from the real
# program: the rename tool over a folder with a swap, a taken name, two files
# heading for one name, a file already named and ordinary files, and its
# "Просмотр..." window, under Xvfb with openbox. Builds what it needs first.
# Usage: scripts/screenshot_preview.sh [BUILD_DIR [OUT.png]] (default build/main, docs/preview.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/main}")
out=$(realpath -m "${2:-$root/docs/preview.png}")

# shellcheck source=xsession.sh
source "$root/scripts/xsession.sh"
[[ -n "${MORVIK_XSESSION:-}" ]] || screenshot_build "$root" "$build"
xsession_enter screenshot 120 960x700x24 xdotool iconv -- "$0" "$build" "$out"

xsession_start || fail "openbox did not start"
folder="$work/home/Музыка/Северный ветер"
mkdir -p "$folder"
# mp3 NAME TITLE: a file with a tag of the band's album.
mp3() {
    {
        head -c 4000 /dev/zero
        printf 'TAG'
        field "$2" 30; field "Северный ветер" 30; field "Дорога домой" 30; field 2003 4
        field "" 30
        printf '\021' # genre 17, Rock
    } >"$folder/$1"
}
mp3 "01.mp3" "Белая ночь"
mp3 "02.mp3" "Дорога домой"
mp3 "Северный ветер - Огонь.mp3" "Лёд"      # a swap with the next
mp3 "Северный ветер - Лёд.mp3" "Огонь"
mp3 "03.mp3" "Осень"                        # two files, one name
mp3 "03 (копия).mp3" "Осень"
mp3 "04.mp3" "Зима"                         # a name taken by a file without a tag
head -c 4000 /dev/zero >"$folder/Северный ветер - Зима.mp3"
mp3 "Северный ветер - Весна.mp3" "Весна"    # already named after its tag

(cd "$folder" && HOME="$work/home" XDG_STATE_HOME="$work/state" exec "$build/bin/Morvik") >"$work/morvik.log" 2>&1 &
pids+=($!)
frame=$(timeout 20 xdotool search --sync --onlyvisible --name '^Morvik$' | head -n 1) || fail "no frame window"
xdotool windowactivate --sync "$frame" || true
sleep 1

# The rename tool: the template, then "..." (the disabled buttons are
# skipped by Tab) and the folder typed into the chooser.
xdotool key --clearmodifiers ctrl+r
tool=$(timeout 20 xdotool search --sync --onlyvisible --name '^Переименовать файлы$' | head -n 1) \
    || fail "no rename window"
xdotool windowmove --sync "$tool" 20 40 || true
xdotool windowactivate --sync "$tool" || true
xdotool key --clearmodifiers Tab
xdotool type --delay 30 '%2 - %1'
xdotool key --clearmodifiers Tab space
chooser=$(timeout 20 xdotool search --sync --onlyvisible --name '^Выберите папку$' | head -n 1) \
    || fail "no folder chooser"
sleep 1
xdotool type --delay 30 "$folder"
xdotool key --clearmodifiers Return
timeout 20 bash -c "while xdotool search --onlyvisible --name '^Выберите папку$' >/dev/null; do sleep 0.2; done" \
    || fail "the folder chooser did not close"
sleep 0.5

# "Просмотр...": before "..." in the keyboard's order.
xdotool windowactivate --sync "$tool" || true
xdotool key --clearmodifiers shift+Tab space
preview=$(timeout 20 xdotool search --sync --onlyvisible --name '^Переименовать файлы — просмотр$' | head -n 1) \
    || fail "no preview window"
xdotool windowmove --sync "$preview" 240 250 || true
sleep 1

mkdir -p "$(dirname "$out")"
"$build/grab_screen" "$out" || fail "could not grab the screen"
# Nothing was renamed by looking.
[[ -f "$folder/01.mp3" && -f "$folder/Северный ветер - Огонь.mp3" ]] || fail "the preview changed the folder"
echo "screenshot: $out ($(stat -c %s "$out") bytes)"
