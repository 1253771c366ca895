#!/bin/bash
# The pause on the real game: with the keyboard focus taken from the battle window the
# battle stands still (two screenshots a second apart are the same); with the focus back it
# sails on. P pauses with the text "Pause" and P resumes. (What a pause costs is measured
# by bench/pause_cpu.sh.)
#   pause_test.sh <kaperfahrt binary>
# With KF_SHOT_DIR set, the screenshots are kept there.
set -euo pipefail

game=$(realpath "$1")
width=1680
height=1050

here=$(dirname "$0")
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

start_display "$width" "$height"
export SDL_AUDIODRIVER=dummy KAPERFAHRT_FRAME_LOG="$work/frames.txt"
start_game
choose_ships 2 0 1
await_sea start
battle=$(xdotool getwindowfocus)

same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]; }
# The game's own state is waited for, not a time: the window system tells of a focus a
# little later, later still on a busy machine.
# Screenshots <name>1 and <name>2, half a second apart, until they are the same while the
# game shows next to no frames (a battle under way shows dozens in that time, even one
# whose ships have come to rest).
frames() { wc -l <"$work/frames.txt"; }
await_still() {
  local before
  for _ in $(seq 1 40); do
    alive
    before=$(frames)
    shot "${1}1"
    sleep 0.5
    shot "${1}2"
    same "${1}1" "${1}2" && [ $(($(frames) - before)) -le 5 ] && return 0
  done
  fail "$2"
}
# Screenshots <name> until one differs from <earlier>.
await_moving() {
  for _ in $(seq 1 40); do
    alive
    sleep 0.25
    shot "$1"
    same "$2" "$1" || return 0
  done
  fail "$3"
}

# Player 1 under way, then the focus goes to the desktop.
xdotool keydown w
sleep 1.5
xdotool keyup w
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
xdotool windowfocus "$root"
await_still unfocused "the battle moved without the focus"

xdotool windowfocus --sync "$battle"
await_moving focused unfocused2 "the battle stood still with the focus back"

# P: the text, no motion; P again: under way.
xdotool key p
await_still p "the battle moved after P"
[ "$(pixel p1 645 205)" = "0,0,0" ] && [ "$(pixel p1 645 195)" = "$sea" ] ||
  fail "no text Pause"
xdotool key p
await_moving resumed p2 "the battle stood still after P again"

xdotool key Escape
answer_question "$(await_question)" Return
quit_from_launcher
wait "$game_pid" || fail "the game ended with an error"
game_pid=""
echo "ok: pause"
