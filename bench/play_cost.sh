#!/bin/sh
# The game's cost of play beside a plain SDL program's, measured the same way in one run: each
# full screen on its own virtual X display (Xvfb, 1280x1024), the game driven from the title into
# scene 1 with the arrow keys held (down and left: the dozer, heading down and right, never
# reaches the robot, so the whole window is play), the plain program (bench/plain_sdl.cpp)
# presenting a changing 640x480 frame every 30 ms. Prints the share of a core each used over the
# same window, and the ratio.
#   bench/play_cost.sh [VORK] [PLAIN] [ASSETS] [SECONDS]
# Needs the Debian packages xvfb and xdotool.
set -eu
VORK=$(realpath "${1:-build/release/vork}")
PLAIN=$(realpath "${2:-build/release/bench/vork-plain-sdl}")
ASSETS=${3:-build/release/assets}
SPAN=${4:-8}
FIRST=${VORK_COST_DISPLAY:-78}
GAME_SCREEN=:$FIRST
PLAIN_SCREEN=:$((FIRST + 1))

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "play_cost: $tool missing (apt-get install xvfb xdotool)" >&2; exit 1; }
done

PIDS=""
trap 'for pid in $PIDS; do kill "$pid" 2>/dev/null || true; done' EXIT
Xvfb "$GAME_SCREEN" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
PIDS="$PIDS $!"
Xvfb "$PLAIN_SCREEN" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
PIDS="$PIDS $!"
sleep 1

# Clock ticks of user plus system time the process has used so far.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

(cd "$ASSETS" && DISPLAY=$GAME_SCREEN exec "$VORK") >/dev/null 2>&1 &
GAME=$!
PIDS="$PIDS $GAME"
DISPLAY=$PLAIN_SCREEN "$PLAIN" >/dev/null 2>&1 &
PLAIN_PID=$!
PIDS="$PIDS $PLAIN_PID"

# The title speaks its three prompts (about 5 s) before it reads keys; Space then starts scene 1,
# whose intro plays the animal's call first.
sleep 7
DISPLAY=$GAME_SCREEN xdotool keydown space
sleep 0.2
DISPLAY=$GAME_SCREEN xdotool keyup space
sleep 5
DISPLAY=$GAME_SCREEN xdotool keydown Down Left
sleep 1

game_before=$(ticks $GAME)
plain_before=$(ticks $PLAIN_PID)
sleep "$SPAN"
game_after=$(ticks $GAME)
plain_after=$(ticks $PLAIN_PID)
DISPLAY=$GAME_SCREEN xdotool keyup Down Left

echo "$game_before $game_after $plain_before $plain_after $(getconf CLK_TCK) $SPAN" | awk '{
  game = $2 - $1; plain = $4 - $3;
  printf "game:  %d ticks in %d s, %.1f%% of a core\n", game, $6, game * 100 / $5 / $6;
  printf "plain: %d ticks in %d s, %.1f%% of a core\n", plain, $6, plain * 100 / $5 / $6;
  if (plain > 0) printf "ratio: %.2f\n", game / plain; else print "ratio: plain program used nothing";
}'

# Escape ends the game: proof that the held keys reached it.
DISPLAY=$GAME_SCREEN xdotool key Escape
sleep 3
if kill "$GAME" 2>/dev/null; then echo "play_cost: the game did not quit on Escape: keys did not reach it" >&2; exit 1; fi
