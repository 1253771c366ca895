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

source "$(dirname "$0")/virtual_display.sh"

fail() {
  echo "FAIL: $*" >&2
  cat "$work/game.log" >&2 2>/dev/null || true
  exit 1
}

start_display "$width" "$height"
export SDL_AUDIODRIVER=dummy

(cd "$work" && exec "$game") >"$work/game.log" 2>&1 &
game_pid=$!

alive() { kill -0 "$game_pid" 2>/dev/null || fail "the game ended early"; }

# The id of the shown window whose title matches the pattern; empty when there is none.
shown() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }

await() {
  local id=""
  for _ in $(seq 1 100); do
    alive
    id=$(shown "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window \"$1\""
}

await_gone() {
  for _ in $(seq 1 50); do
    [ -z "$(shown "$1")" ] && return 0
    sleep 0.1
  done
  fail "window \"$1\" stayed"
}

# Clicks at a point of a window's client area (no window manager: no frame around it).
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.2; }

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

# Row r of the ship list (rows 15 pixels apart below the header), in the column "SchussSpeed".
row_y() { echo $((28 + 15 * $1)); }

launcher=$(await '^Kaper-Fahrt$')
shot "$launcher" launcher

click "$launcher" 260 380  # "Schiffe Anpassen"
editor=$(await '^Schiffe Anpassen$')
shot "$editor" ship_editor
click "$editor" 425 407  # "Abbrechen"
await_gone '^Schiffe Anpassen$'

click "$launcher" 360 380  # "Einstellungen"
options=$(await '^Einstellungen$')
shot "$options" options
click "$options" 75 202  # "Abbrechen"
await_gone '^Einstellungen$'

click "$launcher" 160 380  # "2 Spieler VS"
selection=$(await '^Player1 Schiff')
before=$(class_picture "$selection")
click "$selection" 300 "$(row_y 3)"
[ "$(class_picture "$selection")" != "$before" ] || fail "a click on a row left the picture"
shot "$selection" ship_selection
click "$selection" 730 190  # "Start"
selection=$(await '^Player2 Schiff')
xdotool mousemove --window "$selection" 300 "$(row_y 6)" click --repeat 2 --delay 80 1

# The battle: the sea covers the screen.
sea="1,119,254"
for _ in $(seq 1 100); do
  alive
  [ "$(pixel $((width / 2)) 5)" = "$sea" ] && break
  sleep 0.1
done
[ "$(pixel $((width / 2)) 5)" = "$sea" ] || fail "no battle after both choices"
[ -z "$(shown '^Kaper-Fahrt$')" ] || fail "the launcher stayed open over the battle"

# Escape, then Yes (Return) on the question "Beenden".
xdotool key Escape
box=""
for _ in $(seq 1 50); do
  box=$(xwininfo -root -tree | awk '/"Kaperfahrt"/ {print $1; exit}')
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no question after Escape"
xdotool windowfocus --sync "$box"
xdotool key Return

# A fresh launcher, and no battle window left behind it.
launcher=$(await '^Kaper-Fahrt$')
[ "$(pixel $((width / 2)) 5)" != "$sea" ] || fail "the battle window stayed open"
[ -z "$(shown '^Player')" ] || fail "the ship selection came back with the launcher"

click "$launcher" 460 380  # "Spiel Beenden"
for _ in $(seq 1 50); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after \"Spiel Beenden\""
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" = 0 ] || fail "exit code $status"
# Created empty by the first battle; both windows were left with "Abbrechen".
[ -f "$work/SchiffsEinstellungen.prefs" ] && [ ! -s "$work/SchiffsEinstellungen.prefs" ] ||
  fail "the settings file is missing or was written"
echo "ok: launcher round trip"
