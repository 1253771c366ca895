#!/bin/bash
# Plays the game's outer loop through on a virtual X display with mouse and keys, as a
# player would: the launcher, a look into "Schiffe Anpassen" and "Einstellungen",
# "2 Spieler VS", Player 1 chooses with "Start", Player 2 with a double click, the battle,
# Escape and Yes, the launcher again, "Spiel Beenden"; the game must end with exit code 0.
#   launcher_round_trip_test.sh <kaperfahrt binary>
# With KF_SHOT_DIR set, a screenshot of each of the four windows is left there.
set -euo pipefail

game=$(realpath "$1")
width=1680
height=1050

here=$(dirname "$0")
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"

start_display "$width" "$height"
export SDL_AUDIODRIVER=dummy

start_game

shot() { [ -n "${KF_SHOT_DIR:-}" ] && import -window "$1" "$KF_SHOT_DIR/$2.png" || true; }

pixel() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -format "%[fx:int(255*p{$1,$2}.r)],%[fx:int(255*p{$1,$2}.g)],%[fx:int(255*p{$1,$2}.b)]" info:
}

# The picture of the selected class (control 7 at (610, 5), 150 x 150) as a checksum.
class_picture() {
  import -window "$1" -crop 150x150+610+5 +repage "$work/class.png"
  identify -format "%#" "$work/class.png"
}

launcher=$(await_window '^Kaper-Fahrt$')
shot "$launcher" launcher

click_at "$launcher" 260 380  # "Schiffe Anpassen"
editor=$(await_window '^Schiffe Anpassen$')
shot "$editor" ship_editor
click_at "$editor" 425 407  # "Abbrechen"
await_window_gone '^Schiffe Anpassen$'

click_at "$launcher" 360 380  # "Einstellungen"
options=$(await_window '^Einstellungen$')
shot "$options" options
click_at "$options" 75 202  # "Abbrechen"
await_window_gone '^Einstellungen$'

click_at "$launcher" 160 380  # "2 Spieler VS"
selection=$(await_window '^Player1 Schiff')
before=$(class_picture "$selection")
# shellcheck disable=SC2046
click_at "$selection" $(ship_row 3)
[ "$(class_picture "$selection")" != "$before" ] || fail "a click on a row left the picture"
shot "$selection" ship_selection
click_at "$selection" 730 190  # "Start"
selection=$(await_window '^Player2 Schiff')
# shellcheck disable=SC2046
xdotool mousemove --window "$selection" $(ship_row 6) click --repeat 2 --delay 80 1

# The battle: the sea covers the screen.
sea="1,119,254"
for _ in $(seq 1 100); do
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended early"
  [ "$(pixel $((width / 2)) 5)" = "$sea" ] && break
  sleep 0.1
done
[ "$(pixel $((width / 2)) 5)" = "$sea" ] || fail "no battle after both choices"
[ -z "$(shown_window '^Kaper-Fahrt$')" ] || fail "the launcher stayed open over the battle"

# Escape, then Yes (Return) on the question "Beenden".
xdotool key Escape
box=""
for _ in $(seq 1 50); do
  box=$(question_window)
  [ -n "$box" ] && xwininfo -id "$box" | grep -q IsViewable && break  # mapped, if by a manager
  box=""
  sleep 0.1
done
[ -n "$box" ] || fail "no question after Escape"
xdotool windowfocus --sync "$box"
xdotool key Return

# A fresh launcher, and no battle window left behind it.
await_window '^Kaper-Fahrt$' >/dev/null
[ "$(pixel $((width / 2)) 5)" != "$sea" ] || fail "the battle window stayed open"
[ -z "$(shown_window '^Player')" ] || fail "the ship selection came back with the launcher"

end_game_from_launcher
# Created empty by the first battle; both windows were left with "Abbrechen".
[ -f "$work/SchiffsEinstellungen.prefs" ] && [ ! -s "$work/SchiffsEinstellungen.prefs" ] ||
  fail "the settings file is missing or was written"
echo "ok: launcher round trip"
