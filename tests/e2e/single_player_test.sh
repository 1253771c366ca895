#!/bin/bash
# Single player against three computer ships on a virtual X display, chosen in the
# launcher: each enemy carries its "Health: 100" label at the top-left corner of its
# picture and the three labels look alike (but where a ship crosses one); in a second
# battle the enemies sail. Escape and Yes lead back to the launcher, whose "Spiel Beenden"
# ends the game. The ships' places are judged by the frames shown, never by the time that
# passed: in the first battle no class can gather speed, so a ship drifts at its starting
# speed of 0.01 a frame, however long the screenshot takes.
#   single_player_test.sh <kaperfahrt binary>
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
frames() { wc -l <"$work/frames.txt"; }

prefs="[Allgemein]\r\nGegneranzahl = 3\r\n"
for group in Schiff_1 Schiff_2 Schiff_3 Schiff_4 Schiff_5 Schiff_6 Schiff_7 "HMS Victory"; do
  prefs+="[$group]\r\nBeschleunigung = 0\r\nTopSpeed = 0\r\n"
done
printf "$prefs" >"$work/SchiffsEinstellungen.prefs"
start_game
choose_ships 1 0

await_sea start
drift=$(($(frames) / 100 + 1))  # units a ship can have drifted by the screenshot

# The label's black background box near a point: "w h x y" of the black pixels within
# 30 + $drift.
margin() { echo $((30 + ${drift:-0})); }
near() { echo $(($1 > $(margin) ? $1 - $(margin) : 0)); }
label_box() {
  local w h x y
  read -r w h x y <<<"$(convert "$work/$1.png" -crop "$((100 + 2 * $(margin)))x$((2 * $(margin)))+$(near "$2")+$(near "$3")" +repage \
    -fill white +opaque black -negate -trim -format "%w %h %X %Y" info: 2>/dev/null | tr -d '+')"
  echo "$w $h $((x + $(near "$2"))) $((y + $(near "$3")))"
}
# Enemies start at (1500, 20), (20, 20) and (1500, 800) and have drifted a little.
reference=""
for corner in "1500 20" "20 20" "1500 800"; do
  read -r cx cy <<<"$corner"
  read -r w h x y <<<"$(label_box start "$cx" "$cy")"
  [ "$w" -ge 50 ] && [ "$w" -le 120 ] && [ "$h" -ge 10 ] && [ "$h" -le 30 ] ||
    fail "no label box near ($cx, $cy): ${w}x${h}"
  off=$((15 + drift))
  [ $((x - cx)) -ge -$off ] && [ $((x - cx)) -le $off ] && [ $((y - cy)) -ge -$off ] &&
    [ $((y - cy)) -le $off ] || fail "label at ($x, $y), not at the ship's corner ($cx, $cy)"
  label="$work/label_${cx}_${cy}.png"
  convert "$work/start.png" -crop "${w}x${h}+$x+$y" +repage "$label"
  # Letters: light pixels on the black box (smoothed, so not all of them pure white).
  light=$(convert "$label" -colorspace gray -threshold 50% -format "%[fx:int(mean*w*h+0.5)]" info:)
  [ "$light" -ge 100 ] || fail "the label near ($cx, $cy) has no letters ($light light pixels)"
  if [ -z "$reference" ]; then
    reference="$label"
  else
    # The ships are drawn over the labels: a bowsprit may cross one.
    differ=$(compare -metric AE "$reference" "$label" null: 2>&1 || true)
    [ "$differ" -le 60 ] || fail "the label near ($cx, $cy) differs from the first in $differ pixels"
  fi
  echo "label ${w}x${h} at ($x, $y) for the ship from ($cx, $cy), $light light pixels"
done

# A second battle with the usual classes: the computer ships sail. 300 frames later no
# label is at ship 1's starting place (by then it has sailed a few hundred units).
xdotool key Escape
answer_question "$(await_question)" Return
printf '[Allgemein]\r\nGegneranzahl = 3\r\n' >"$work/SchiffsEinstellungen.prefs"
choose_ships 1 0
await_sea sailing
drift=0
until_frame=$(($(frames) + 300))
for _ in $(seq 1 600); do
  alive
  [ "$(frames)" -ge "$until_frame" ] && break
  sleep 0.1
done
[ "$(frames)" -ge "$until_frame" ] || fail "fewer than 300 frames in a minute"
shot later
read -r w h x y <<<"$(label_box later 1500 20)"
[ "$w" -lt 50 ] || fail "ship 1 did not move (label box ${w}x${h})"
[ -n "${KF_SHOT_DIR:-}" ] && cp "$work/start.png" "$work/later.png" "$KF_SHOT_DIR"/

xdotool key Escape
answer_question "$(await_question)" Return
end_game_from_launcher
echo "ok: three labelled computer ships under way"
