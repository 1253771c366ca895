#!/bin/bash
# The game's CPU share of one core in a two-player battle on virtual X displays of the
# common desktop sizes: both players sail with all four batteries firing, and the game's
# own CPU time (every thread) over a stretch of battle is read from /proc. The X server's
# share is printed beside it, as showing a frame is partly its work.
#   battle_cpu.sh <kaperfahrt binary> [seconds] [sizes...]
set -euo pipefail

game=$(realpath "$1")
seconds=${2:-8}
shift $(($# < 2 ? $# : 2))
sizes=("$@")
# KF_BATTLE_KEYS="" measures a battle with nobody at the helm or the guns.
keys=${KF_BATTLE_KEYS-w v b Up KP_1 KP_2}
[ ${#sizes[@]} -gt 0 ] || sizes=(1680x1050 1920x1080 2560x1440)

here=$(dirname "$0")/../tests/e2e
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

# The frames shown so far, when the game counts them into KAPERFAHRT_FRAME_LOG.
shown() { tail -n 1 "$work/frames.txt" 2>/dev/null || echo 0; }

# User plus system time of a process in clock ticks (fields 14 and 15, after the ")").
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

shares=()
for size in "${sizes[@]}"; do
  width=${size%x*}
  start_display "$width" "${size#*x}"
  export SDL_AUDIODRIVER=dummy KAPERFAHRT_FRAME_LOG="$work/frames.txt"
  start_game
  choose_ships 2 0 1
  await_sea start
  for key in $keys; do xdotool keydown "$key"; done
  sleep 1
  start=$(date +%s%N) game_start=$(ticks "$game_pid") x_start=$(ticks "$xvfb_pid") f_start=$(shown)
  sleep "$seconds"
  alive
  end=$(date +%s%N) game_end=$(ticks "$game_pid") x_end=$(ticks "$xvfb_pid") f_end=$(shown)
  [ -z "${KF_SHOT_DIR:-}" ] || import -window root "$KF_SHOT_DIR/battle_cpu_$size.png"
  for key in $keys; do xdotool keyup "$key"; done
  share=$(awk -v g=$((game_end - game_start)) -v ns=$((end - start)) -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.1f", 100 * g / hz / (ns / 1e9) }')
  shares+=("$share")
  # Under load a game may fall below 60 frames a second, and its share with it.
  awk -v x=$((x_end - x_start)) -v ns=$((end - start)) -v hz="$(getconf CLK_TCK)" \
    -v size="$size" -v share="$share" -v frames=$((f_end - f_start)) \
    'BEGIN { s = ns / 1e9; printf "battle at %-9s game %5.1f %%  X server %5.1f %% of one core", size, share, 100 * x / hz / s
             if (frames > 0) printf ", %.1f frames a second, game %.2f ms a frame", frames / s, share * s * 10 / frames
             printf "\n" }'
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
  rm -f "$work/display"
done
for i in "${!sizes[@]}"; do
  [ "$i" = 0 ] && continue
  awk -v a="${shares[$i]}" -v b="${shares[0]}" -v sa="${sizes[$i]}" -v sb="${sizes[0]}" \
    'BEGIN { if (b > 0) printf "game at %s / game at %s: %.2f\n", sa, sb, a / b }'
done
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg), $(nproc) cores"
