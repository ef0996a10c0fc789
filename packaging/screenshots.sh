#!/bin/sh
# Takes the store screenshots from vork-replay frames: the title screen, and the first scene a
# few seconds after Space.
#   screenshots.sh VORK_REPLAY ASSETS_FOLDER OUT_FOLDER
set -eu
replay=$1 assets=$2 out=$3
work="$out/replay"
rm -rf "$work"
mkdir -p "$work/title" "$work/scene"
# The title: the screen one second after the start (the first frames are black until the title
# picture and its palette are in).
"$replay" --assets "$assets" --out "$work/title" --max-ms 1000 --png last >/dev/null 2>&1 || [ $? -eq 2 ]
cp "$work/title"/frame-*.png "$out/title.png"
# The first scene: Space on the title, then play for a while.
printf '500 down SPACE\n600 up SPACE\n' >"$work/keys.txt"
"$replay" --assets "$assets" --out "$work/scene" --keys "$work/keys.txt" --max-ms 4000 --png last \
  >/dev/null 2>&1 || [ $? -eq 2 ]
cp "$work/scene"/frame-*.png "$out/scene.png"
rm -rf "$work"
