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
export SDL_AUDIODRIVER=dummy
start_game
choose_ships 2 0 1
await_sea start
battle=$(xdotool getwindowfocus)

same() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = 0 ]; }

# Player 1 under way, then the focus goes to the desktop.
xdotool keydown w
sleep 1.5
xdotool keyup w
root=$(xwininfo -root | awk '/Window id:/ {print $4}')
xdotool windowfocus "$root"
sleep 1  # the window system tells of a lost focus a little later
shot unfocused1
sleep 1
shot unfocused2
alive
same unfocused1 unfocused2 || fail "the battle moved without the focus"

xdotool windowfocus --sync "$battle"
sleep 1
shot focused
same unfocused2 focused && fail "the battle stood still with the focus back"

# P: the text, no motion; P again: under way.
xdotool key p
sleep 1
shot p1
sleep 1
shot p2
same p1 p2 || fail "the battle moved after P"
[ "$(pixel p1 645 205)" = "0,0,0" ] && [ "$(pixel p1 645 195)" = "$sea" ] ||
  fail "no text Pause"
xdotool key p
sleep 1
shot resumed
same p2 resumed && fail "the battle stood still after P again"

xdotool key Escape
answer_question "$(await_question)" Return
quit_from_launcher
wait "$game_pid" || fail "the game ended with an error"
game_pid=""
echo "ok: pause"
