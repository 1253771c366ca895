#!/bin/bash
# Plays the real game in two-player mode on a virtual X display with xdotool: the players
# choose classes 0 and 1 in the launcher, Player 1 sails and fires (ship moved, balls in
# flight), then after a restart Player 2 sails past Player 1's starboard battery until
# "Player 1 Wins!"; Escape and No play on, Escape and Yes lead back to the launcher, whose
# "Spiel Beenden" ends the game. The battle's replay then plays to its checksums, and
# --replay shows it: Player 1's ship leaves its start again under the caption "Wiederholung",
# whatever the players' keys do, and Escape ends it.
#   battle_play_test.sh <kaperfahrt binary>
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

# Player 1 (class 0): a battery that fires in every frame and never runs dry. Player 2
# (class 1): fast, and sunk by a single hit.
printf '[Schiff_1]\r\nSchussTempo = 0\r\nKanonenAnzahl = 100000\r\n[Schiff_2]\r\nHealth = 1\r\nTopSpeed = 6\r\nBeschleunigung = 0.2\r\n' \
  >"$work/SchiffsEinstellungen.prefs"

start_game
choose_ships 2 0 1

# Pixels of exactly one colour in a w x h box at (x, y).
count() {
  convert "$work/$1.png" -crop "$4x$5+$2+$3" +repage -fill white -opaque "rgb($6)" \
    -fill black +opaque white -format "%[fx:int(mean*w*h+0.5)]" info:
}
ball="2,2,2"

await_sea start

# Ship 0's picture starts at (150, 800): how much of that box is not sea.
ship_box() { echo $((150 * 150 - $(count "$1" 150 800 150 150 "$sea"))); }
before=$(ship_box start)
[ "$before" -gt 1000 ] || fail "no ship at Player 1's starting place ($before pixels)"

# Player 1 holds W and V: up and to the right, a stream of balls to port (up and left).
# Frames are counted, not seconds, so wait for the picture rather than a fixed time.
xdotool keydown w keydown v
after=$before
for _ in $(seq 1 60); do
  alive
  sleep 0.5
  shot sailing
  after=$(ship_box sailing)
  [ "$after" -lt $((before / 3)) ] && break
done
xdotool keyup w keyup v
[ "$after" -lt $((before / 3)) ] || fail "ship 0 did not move away ($before -> $after pixels)"
balls=$(count sailing 20 450 130 350 "$ball")
[ "$balls" -ge 18 ] || fail "no balls in flight to port of ship 0 ($balls ball pixels)"
echo "ship box $before -> $after pixels, $balls ball pixels to port"

# It glides on a moment before Return, so that its replay shows it away for more than one
# screenshot's time.
sleep 1

# Return: ship 0 back at its starting place.
xdotool key Return
for _ in $(seq 1 50); do
  sleep 0.2
  shot restarted
  [ "$(ship_box restarted)" -gt $((before / 2)) ] && break
done
[ "$(ship_box restarted)" -gt $((before / 2)) ] || fail "Return did not bring ship 0 back"

# Player 2 sails down the field, past Player 1's starboard side, into its battery's fire.
xdotool keydown Up keydown b
result=""
for _ in $(seq 1 120); do
  alive
  sleep 0.5
  shot end
  # The result box: black from (400, 400), with white letters.
  black=$(count end 400 400 300 100 "0,0,0")
  white=$(count end 400 400 300 100 "255,255,255")
  if [ "$black" -gt 10000 ] && [ "$white" -gt 500 ]; then result=yes; break; fi
done
xdotool keyup Up keyup b
[ -n "$result" ] || fail "no result text after two minutes"
# Player 1 wins: its health column full, Player 2's gone from its frame (class health 1:
# a frame from 898 to 903).
[ "$(pixel end 9 720)" = "101,156,61" ] || fail "Player 1's health column is not full"
[ "$(pixel end 1669 900)" = "0,0,0" ] || fail "Player 2's health column is not empty"
echo "result shown: $black black and $white white pixels in the text box"

[ -n "${KF_SHOT_DIR:-}" ] && cp "$work/start.png" "$work/sailing.png" "$work/end.png" "$KF_SHOT_DIR"/

# Escape asks "Beenden": No plays on, Yes leaves for the launcher, whose "Spiel Beenden"
# ends the game with exit code 0.
xdotool key Escape
box=$(await_question)
answer_question "$box" Escape
sleep 1
alive
xdotool key Escape
box=$(await_question)
answer_question "$box" Return
end_game_from_launcher

# The battle was kept as a replay beside the settings file, and it plays to its checksums.
replay=$(find "$work/Wiederholungen" -name '*.kfr' 2>/dev/null | head -n 1)
[ -n "$replay" ] || fail "no replay in $work/Wiederholungen"
verdict=$("$game" --verify "$replay" 2>&1) || fail "--verify of the battle's replay: $verdict"
echo "replay of $(stat -c %s "$replay") bytes: $verdict"

start_game --replay "$replay"
await_sea replay_start
[ "$(ship_box replay_start)" -gt 1000 ] || fail "the replay does not start with ship 0 in place"
# The caption: white letters on black in the top left corner.
[ "$(count replay_start 10 10 120 16 "255,255,255")" -gt 50 ] || fail "no caption \"Wiederholung\""
# Both players braking meanwhile change nothing of what was recorded.
xdotool keydown s keydown Down
moved=""
for _ in $(seq 1 60); do
  alive
  sleep 0.5
  shot replay_sailing
  [ "$(ship_box replay_sailing)" -lt $((before * 3 / 4)) ] && { moved=yes; break; }
done
xdotool keyup s keyup Down
[ -n "$moved" ] || fail "--replay: ship 0 did not leave its start"
[ -n "${KF_SHOT_DIR:-}" ] && cp "$work/replay_start.png" "$work/replay_sailing.png" "$KF_SHOT_DIR"/
xdotool key Escape
# A loaded machine may take seconds to close the window and the sound: wait for the end.
for _ in $(seq 1 300); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "--replay did not end on Escape"
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" = 0 ] || fail "--replay ended with $status"
echo "--replay: ship 0 left its start"
echo "ok: two players sailed, fired and played to the result"
