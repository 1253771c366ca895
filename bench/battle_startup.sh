#!/bin/bash
# From "Start" in the ship list to the first battle frame on screen (the sea at the top of
# the battle window), on a virtual X display: median of several battles in one run of the
# game, each left with Escape and Yes. The clock starts before xdotool is launched to click,
# so the figure includes xdotool's own start (a few milliseconds); the probe that sees the
# sea runs from before the click.
#   battle_startup.sh <kaperfahrt binary> <await_colour binary> [runs]
set -euo pipefail

game=$(realpath "$1")
probe=$(realpath "$2")
runs=${3:-5}
width=1680

here=$(dirname "$0")/../tests/e2e
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

start_display "$width" 1050
export SDL_AUDIODRIVER=dummy
start_game

times=()
for run in $(seq 1 "$runs"); do
  launcher=$(await_window '^Kaper-Fahrt$')
  click_at "$launcher" 60 380  # "Einzelspieler"
  selection=$(await_window '^Player1 Schiff')
  # shellcheck disable=SC2046
  click_at "$selection" $(ship_row 0)
  xdotool mousemove --window "$selection" 730 190  # "Start"
  # The probe watches before the click: xdotool itself takes about 100 ms to exit after
  # clicking, longer than the battle takes to appear.
  "$probe" $((width / 2)) 5 "$sea" 10 >"$work/shown" &
  probe_pid=$!
  sleep 0.3
  kill -0 "$probe_pid" 2>/dev/null || fail "the sea was on screen before Start"
  start=$(date +%s%N)
  xdotool click 1
  wait "$probe_pid" || fail "no battle frame within 10 s"
  shown=$(cat "$work/shown")
  times+=($(((shown - start) / 1000000)))
  echo "run $run: ${times[-1]} ms"
  sleep 0.5
  xdotool key Escape
  box=$(await_question)
  answer_question "$box" Return
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
echo "first battle frame after \"Start\" (median of $runs): $median ms (target 50 ms)"
echo "load average: $(cut -d ' ' -f 1-3 /proc/loadavg), $(nproc) cores"
