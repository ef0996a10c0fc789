#!/usr/bin/env bash
# Installs the game (the build's "game" component; tests/install/library_test.sh checks the
# library's) into a scratch DESTDIR and checks the installed tree file by file,
# validates the desktop entry and the AppStream metadata, starts the installed launcher under
# Xvfb from an unrelated folder, checks that the screen shows the game's first screen (the
# picture the headless replay of the installed data shows one second in), ends the game with
# Escape and checks its exit status, and finally uninstalls and checks that nothing is left.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(readlink -f "$1")
source_dir=$(readlink -f "$2")
prefix=/usr

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root=$work/root
echo "== install into $root$prefix"
DESTDIR=$root timeout 60 cmake --install "$build" --prefix "$prefix" --component game >"$work/install.log"
usr=$root$prefix

# ---- The installed tree, file by file ----
metainfo=$(cd "$usr/share/metainfo" && ls)
{
  echo "bin/vork"
  echo "libexec/vork/vork"
  echo "share/applications/vork.desktop"
  echo "share/metainfo/$metainfo"
  for size in 48 128 256; do echo "share/icons/hicolor/${size}x${size}/apps/vork.png"; done
  echo "share/icons/hicolor/scalable/apps/vork.svg"
  echo "share/man/man6/vork.6.gz"
  echo "share/doc/vork/copyright"
  echo "share/doc/vork/changelog.gz"
  (cd "$build/assets" && find . -type f | sed 's|^\./|share/vork/|')
} | sort >"$work/expected.txt"
(cd "$usr" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/installed.txt"
diff -u "$work/expected.txt" "$work/installed.txt" || fail "installed files differ from the expected list"
[ "$(grep -c '^share/vork/' "$work/installed.txt")" -ge 3 ] || fail "the data folder is nearly empty"
[[ $metainfo == *.metainfo.xml ]] || fail "metainfo file name: $metainfo"

# Every data file is the build's own, byte for byte; the game binary is the built one.
(cd "$build/assets" && find . -type f) | while read -r f; do
  cmp -s "$build/assets/$f" "$usr/share/vork/$f" || fail "share/vork/$f differs from the build's"
done
cmp -s "$build/vork" "$usr/libexec/vork/vork" || fail "the installed game binary differs from the build's"
for f in bin/vork libexec/vork/vork; do
  [ "$(stat -c %a "$usr/$f")" = 755 ] || fail "$f is not mode 755"
done
grep -v -e '^bin/vork$' -e '^libexec/vork/vork$' "$work/installed.txt" | while read -r f; do
  [ "$(stat -c %a "$usr/$f")" = 644 ] || fail "$f is not mode 644"
done
for size in 48 128 256; do
  got=$(identify -format '%wx%h %m' "$usr/share/icons/hicolor/${size}x${size}/apps/vork.png")
  [ "$got" = "${size}x${size} PNG" ] || fail "icon ${size}: $got"
  cmp -s "$build/icons/vork-$size.png" "$usr/share/icons/hicolor/${size}x${size}/apps/vork.png" ||
    fail "icon ${size} is not the generated one"
done
grep -q '<svg .*width="256px" height="256px" viewBox="0 0 256 256"' "$usr/share/icons/hicolor/scalable/apps/vork.svg" ||
  fail "the SVG icon has no 256 px view box"
gzip -t "$usr/share/man/man6/vork.6.gz" "$usr/share/doc/vork/changelog.gz" || fail "bad gzip file"
# The launcher finds its folders relative to itself, never through the build tree.
grep -q "$build" "$usr/bin/vork" && fail "the launcher names the build folder"

# ---- Desktop entry and AppStream metadata ----
echo "== validate"
desktop-file-validate "$usr/share/applications/vork.desktop" || fail "desktop-file-validate"
grep -qx 'Categories=Game;KidsGame;Education;' "$usr/share/applications/vork.desktop" || fail "Categories"
grep -qx 'Icon=vork' "$usr/share/applications/vork.desktop" || fail "Icon"
grep -qx 'Exec=vork' "$usr/share/applications/vork.desktop" || fail "Exec"
timeout 60 appstreamcli validate --no-net --pedantic "$usr/share/metainfo/$metainfo" || fail "appstreamcli validate"
grep -q '<content_rating type="oars-1.1"' "$usr/share/metainfo/$metainfo" || fail "no OARS content rating"
grep -q '<launchable type="desktop-id">vork.desktop</launchable>' "$usr/share/metainfo/$metainfo" || fail "launchable"

# ---- The game's first screen, from the headless replay of the installed data ----
# The screen one second in: the first frames are black until the title picture and its palette
# are loaded, then the title stays.
echo "== replay the installed data headless"
mkdir "$work/replay"
replay_status=0
timeout 60 "$build/tools/replay/vork-replay" --assets "$usr/share/vork" --out "$work/replay" \
  --max-ms 1000 --png last >/dev/null 2>&1 || replay_status=$?
[ "$replay_status" = 2 ] || fail "vork-replay exited with $replay_status (2: still running at 1 s)"
frames=("$work/replay"/frame-*.png)
[ -f "${frames[0]}" ] || fail "the replay presented no frame"
expected=${frames[0]}

# ---- The installed launcher under Xvfb, started from an unrelated folder ----
echo "== start the launcher under Xvfb"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && PATH="$usr/bin:$PATH" exec timeout 60 vork) >"$work/game.log" 2>&1 &
game_pid=$!
timeout 20 xdotool search --sync --name '^VORK!$' >"$work/window" || fail "no VORK! window: $(cat "$work/game.log")"
window=$(head -n1 "$work/window")

# The game runs in the installed data folder, as the installed binary.
game=$(pgrep -P "$game_pid" | head -n1)
[ -n "$game" ] || fail "no game process under the launcher"
[ "$(readlink "/proc/$game/cwd")" = "$usr/share/vork" ] || fail "the game runs in $(readlink "/proc/$game/cwd")"
[ "$(readlink "/proc/$game/exe")" = "$usr/libexec/vork/vork" ] || fail "the game is $(readlink "/proc/$game/exe")"

# The screen must show the replay's first screen, pixel for pixel (640x480 screen: no scaling).
shown=no
for _ in $(seq 50); do
  import -window root "$work/screen.png" 2>/dev/null || true
  if [ -f "$work/screen.png" ] &&
    [ "$(compare -metric AE "$work/screen.png" "$expected" null: 2>&1)" = 0 ]; then
    shown=yes
    break
  fi
  sleep 0.2
done
[ $shown = yes ] || fail "the screen never showed the game's first screen"
echo "the screen shows the game's first screen"

# Escape, held for a few frames as a child would press it, ends the game with status 0.
xdotool windowfocus --sync "$window" keydown Escape sleep 0.3 keyup Escape
status=0
for _ in $(seq 200); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait "$game_pid" || status=$?
game_pid=""
[ "$status" = 0 ] || fail "the game exited with $status after Escape: $(cat "$work/game.log")"
echo "Escape ended the game with status 0"

# ---- Uninstall: every installed file goes, and the game's own folders ----
echo "== uninstall"
DESTDIR=$root timeout 60 cmake -DMANIFEST="$build/install_manifest_game.txt" \
  -P "$source_dir/packaging/uninstall.cmake" >"$work/uninstall.log"
left=$(cd "$root" && find . -type f -o -type l)
[ -z "$left" ] || fail "files left after uninstall: $left"
for d in share/vork libexec/vork share/doc/vork; do
  [ ! -e "$usr/$d" ] || fail "$d left after uninstall"
done
echo "PASS"
