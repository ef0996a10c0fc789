#!/bin/sh
# Share of one processor core the whole game process uses with the SDL host under a virtual X
# display (Xvfb): while the title's spoken prompts play, on the title screen, then after Space in
# scene 1.
#   bench/cpu_use.sh [VORK] [ASSETS] [SECONDS]
# Needs the Debian packages xvfb and xdotool.
set -eu
VORK=$(realpath "${1:-build/release/vork}")
ASSETS=${2:-build/release/assets}
SECONDS_EACH=${3:-10}
SCREEN=:${VORK_CPU_DISPLAY:-77}

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "cpu_use: $tool missing (apt-get install xvfb xdotool)" >&2; exit 1; }
done

Xvfb "$SCREEN" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null' EXIT
sleep 1

# Clock ticks of user plus system time the process has used so far.
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Nanoseconds the process has run, and waited to run, so far (from the scheduler's statistics).
wanted() { awk '{print $1 + $2}' "/proc/$1/schedstat"; }

# Percent of one core used over the next SECONDS_EACH seconds; and the percent it wanted (time
# run plus time waiting for a processor): on a busy machine a process that spins gets less than
# it wants.
measure() {
  span=${2:-$SECONDS_EACH}
  before=$(ticks "$1")
  wanted_before=$(wanted "$1")
  sleep "$span"
  after=$(ticks "$1")
  wanted_after=$(wanted "$1")
  echo "$before $after $(getconf CLK_TCK) $span $wanted_before $wanted_after" |
    awk '{printf "%.1f%% of a core (wanted %.1f%%)", ($2 - $1) * 100 / $3 / $4, ($6 - $5) / 1e7 / $4}'
}

cd "$ASSETS"
DISPLAY=$SCREEN ${VORK_CPU_NICE:+nice -n "$VORK_CPU_NICE"} "$VORK" >/dev/null 2>&1 &
GAME=$!
# The title speaks its three prompts (about 5 s) first: the game waits on them.
sleep 0.5
echo "prompts: $(measure $GAME 4)"
echo "title:   $(measure $GAME)"
# Holds a key down for a fifth of a second, as a hand does (the game reads keys once a frame).
press() {
  DISPLAY=$SCREEN xdotool keydown "$1"
  sleep 0.2
  DISPLAY=$SCREEN xdotool keyup "$1"
}
press space
sleep 1
echo "scene 1: $(measure $GAME)"
press Escape
sleep 3
if kill "$GAME" 2>/dev/null; then echo "the game did not quit on Escape: keys did not reach it" >&2; exit 1; fi
echo "the game quit on Escape: the keys reached it"
