#!/bin/bash
# The players' own keys on the real game: in the key window (Einstellungen, Gameplay,
# "Tasten …") Player 1's Beschleunigen is bound to I by pressing it, I is refused for
# Bremsen, "Standard" brings the usual keys back, I is bound again and saved; in the next
# battle I sails and W does not. With KF_SHOT_DIR set, the screenshots are kept there.
#   own_keys_test.sh <kaperfahrt binary>
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

launcher=$(await_window '^Kaper-Fahrt$')
click_at "$launcher" 360 380  # "Einstellungen"
options=$(await_window '^Einstellungen$')
click_at "$options" 151 15    # the tab "Gameplay"
click_at "$options" 102 158   # "Tasten …"
keys=$(await_window '^Tasten$')

# The key buttons: column 190 (Player 1) or 315 (Player 2), row 44 + 28 per control.
bind() {  # <column> <row> <key>
  click_at "$keys" "$1" "$2"
  xdotool key "$3"
  sleep 0.2
}
bind 190 44 i     # Beschleunigen: I
bind 190 100 j    # Links: J
bind 190 72 i     # Bremsen: I is taken
shot refused
click_at "$keys" 60 261   # "Standard"
bind 190 44 i
click_at "$keys" 330 261  # "Speichern"
await_window_gone '^Tasten$'
stored() { tr -d '\r' <"$work/SchiffsEinstellungen.prefs" | awk -F' = ' -v k="$1" '$1 == k {print $2}'; }
[ "$(stored Spieler1Beschleunigen)" = 12 ] || fail "I not stored for Beschleunigen"
[ "$(stored Spieler1Bremsen)" = 22 ] || fail "the taken key was not refused"
[ "$(stored Spieler1Links)" = 4 ] || fail "Standard did not bring A back"
click_at "$options" 75 202  # "Abbrechen"

choose_ships 2 0 1
await_sea start
# The ships start at 0.01 a frame and drift to rest within a few frames: the picture to
# compare with is taken after that, counted in frames shown.
frames() { wc -l <"$work/frames.txt"; }
rest=$(($(frames) + 20))
for _ in $(seq 1 300); do
  [ "$(frames)" -ge "$rest" ] && break
  sleep 0.05
done
shot start
# The top-left corner "x y" of what is not sea around Player 1's ship (from (150, 800) it
# sails up and to the right), above the overlay. A ship left alone drifts a pixel or so:
# its starting speed fades to a little below nothing.
ship_at() {
  convert "$work/$1.png" -crop 660x540+40+400 +repage -fill white -opaque "rgb($sea)" \
    -fill black +opaque white -trim -format "%X %Y" info: | tr -d '+'
}
moved() {  # how far the ship's corner went, the larger of the two axes, in pixels
  local ax ay bx by
  read -r ax ay <<<"$(ship_at "$1")"
  read -r bx by <<<"$(ship_at "$2")"
  local dx=$((bx - ax)) dy=$((by - ay))
  echo $((${dx#-} > ${dy#-} ? ${dx#-} : ${dy#-}))
}
# Holds a key for 200 frames (counted by the game, so a busy machine makes no difference).
sail() {  # <key> <shot>
  local until=$(($(frames) + 200))
  xdotool keydown "$1"
  for _ in $(seq 1 600); do
    [ "$(frames)" -ge "$until" ] && break
    sleep 0.05
  done
  xdotool keyup "$1"
  shot "$2"
}
sail w with_w
[ "$(moved start with_w)" -le 2 ] || fail "W still sails Player 1 ($(moved start with_w) pixels)"
sail i with_i
[ "$(moved with_w with_i)" -gt 30 ] || fail "I does not sail Player 1 ($(moved with_w with_i) pixels)"

xdotool key Escape
answer_question "$(await_question)" Return
quit_from_launcher
wait "$game_pid" || fail "the game ended with an error"
game_pid=""
[ -n "${KF_SHOT_DIR:-}" ] && cp "$work"/*.png "$KF_SHOT_DIR"/
echo "ok: own keys"
