#!/bin/bash
# The game's CPU share of one core in a two-player battle under way (both players sailing and
# firing), paused with P, and
# paused because its window lost the keyboard focus, on a virtual X display; the X server's
# share beside it.
#   pause_cpu.sh <kaperfahrt binary> [seconds]
set -euo pipefail

game=$(realpath "$1")
seconds=${2:-5}
width=1680

here=$(dirname "$0")/../tests/e2e
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

# User plus system time of a process in clock ticks (fields 14 and 15, after the ")").
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

measure() {  # <what>
  local start game_start x_start end game_end x_end
  start=$(date +%s%N) game_start=$(ticks "$game_pid") x_start=$(ticks "$xvfb_pid")
  sleep "$seconds"
  alive
  end=$(date +%s%N) game_end=$(ticks "$game_pid") x_end=$(ticks "$xvfb_pid")
  awk -v g=$((game_end - game_start)) -v x=$((x_end - x_start)) -v ns=$((end - start)) \
    -v hz="$(getconf CLK_TCK)" -v what="$1" \
    'BEGIN { printf "%-22s game %5.1f %%  X server %5.1f %% of one core\n", what, 100 * g / hz / (ns / 1e9), 100 * x / hz / (ns / 1e9) }'
}

start_display "$width" 1050
export SDL_AUDIODRIVER=dummy
start_game
choose_ships 2 0 1
await_sea start
battle=$(xdotool getwindowfocus)
keys="w v b Up KP_End KP_Down"  # both players sailing, all four batteries firing
for key in $keys; do xdotool keydown "$key"; done
measure "under way"
for key in $keys; do xdotool keyup "$key"; done
xdotool key p
sleep 0.5
measure "paused with P"
xdotool key p
xdotool windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
sleep 0.5
measure "paused without focus"
xdotool windowfocus "$battle"
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=""
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg), $(nproc) cores"
