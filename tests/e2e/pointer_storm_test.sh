#!/bin/bash
# A gaming mouse over a single-player battle against three ships: the pointer moved 1000
# times a second for 3 s must neither slow the frames nor stall them afterwards. The game
# counts the frames it shows into a file (KAPERFAHRT_FRAME_LOG); the frames of 3 s with the
# pointer storming, and of the 2 s after, are compared with those of 3 s at rest. (Without
# the fix: 4 frames while storming, none after; the margins below allow for a loaded machine.)
#   pointer_storm_test.sh <kaperfahrt binary> <pointer_storm binary>
set -euo pipefail

game=$(realpath "$1")
storm=$(realpath "$2")
width=1680
height=1050
here=$(dirname "$0")
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

start_display "$width" "$height"
export SDL_AUDIODRIVER=dummy KAPERFAHRT_FRAME_LOG="$work/frames.txt"

printf '[Allgemein]\r\nGegneranzahl = 3\r\n' >"$work/SchiffsEinstellungen.prefs"
start_game
choose_ships 1 0
await_sea start

frames() { wc -l <"$work/frames.txt"; }
sleep 1
before=$(frames)
sleep 3
at_rest=$(($(frames) - before))
before=$(frames)
"$storm" 1000 3 >"$work/storm.txt" || fail "the pointer could not be moved"
storming=$(($(frames) - before))
before=$(frames)
sleep 2
after=$(($(frames) - before))
alive
echo "frames: $at_rest in 3 s at rest; $storming while the pointer made $(cat "$work/storm.txt"); $after in the 2 s after"

[ "$at_rest" -ge 120 ] || fail "only $at_rest frames in 3 s at rest"
[ $((storming * 4)) -ge $((at_rest * 3)) ] || fail "the pointer slowed the battle"
[ $((after * 3 * 4)) -ge $((at_rest * 2 * 3)) ] || fail "the battle stalled after the pointer stopped"
echo "ok: pointer storm"
