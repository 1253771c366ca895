#!/bin/bash
# Starts the real game on a virtual X display, chooses a single-player battle in the
# launcher, looks at the whole screen, leaves the battle with Escape and Yes and the game
# with "Spiel Beenden".
#   battle_window_test.sh <kaperfahrt binary> <width> <height> [variant]
# variant: "plain" (default), "nofonts" (fontconfig finds no font at all),
#          "noaudio" (no usable audio driver).
set -euo pipefail

game=$(realpath "$1")
width=$2
height=$3
variant=${4:-plain}

here=$(dirname "$0")
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

start_display "$width" "$height"

# Four ships on the field, so the picture shows more than the sea.
printf '[Allgemein]\r\nGegneranzahl = 3\r\n' >"$work/SchiffsEinstellungen.prefs"

case "$variant" in
  nofonts)
    printf '<?xml version="1.0"?>\n<fontconfig><dir>%s/nofonts</dir><cachedir>%s/cache</cachedir></fontconfig>\n' \
      "$work" "$work" >"$work/fonts.conf"
    export FONTCONFIG_FILE="$work/fonts.conf" ;;
  noaudio) export SDL_AUDIODRIVER=nosuchdriver ;;
  plain) export SDL_AUDIODRIVER=dummy ;;
esac

start_game
choose_ships 1 0

# Wait until the battle window shows the sea.
await_sea shot

# The sea fills the whole desktop: every corner and edge midpoint, no letterbox.
for point in "1 1" "$((width - 2)) 1" "1 $((height / 2))" "$((width - 2)) $((height / 2))" \
             "$((width / 2)) 1" "$((width / 2)) $((height - 2))" "$((width * 800 / 1680)) $((height * 500 / 1050))"; do
  set -- $point
  got=$(pixel shot "$1" "$2")
  [ "$got" = "$sea" ] || fail "pixel ($1, $2) is $got, not the sea colour $sea"
done

# Ship 0 starts with its picture's top-left corner at (150, 800): its middle is no sea.
got=$(pixel shot $((width * 225 / 1680)) $((height * 875 / 1050)))
[ "$got" != "$sea" ] || fail "no ship at Player 1's starting place"

[ -n "${KF_SHOT_DIR:-}" ] && cp "$work/shot.png" "$KF_SHOT_DIR/battle_${width}x${height}_$variant.png"

# The question stays above the top-most battle window, tied to it, in the middle of the
# screen.
check_question_placement() {
  xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "the question is not kept above"
  xprop -id "$1" WM_TRANSIENT_FOR | grep -q "window id" || fail "the question belongs to no window"
  read -r bx by bw bh < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                                                 /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
  [ "$bx" -lt $((width / 2)) ] && [ $((bx + bw)) -gt $((width / 2)) ] && [ "$by" -lt $((height / 2)) ] &&
    [ $((by + bh)) -gt $((height / 2)) ] || fail "the question is not in the middle ($bx,$by ${bw}x$bh)"
}
# Nothing but the sea along the top-left edge while the question is open (ship 2 sails
# below it): a box shown there first and moved then would leave its frame or title there,
# since the battle window does not redraw while the box is open.
check_corner() {
  shot question
  for point in "4 4" "60 8" "120 8" "180 8" "4 40"; do
    set -- $point
    [ "$(pixel question "$1" "$2")" = "$sea" ] || fail "a picture left at ($1, $2) while the question is open"
  done
}
answer() {
  local box
  box=$(await_question)
  check_question_placement "$box"
  check_corner
  answer_question "$box" "$1"
}

# Escape and No: the battle goes on. Escape and Yes: back to the launcher, and "Spiel
# Beenden" ends the game with exit code 0.
xdotool key Escape
answer Escape
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "the game ended after No"
[ -z "$(shown_window '^Kaper-Fahrt$')" ] || fail "the launcher came back after No"
xdotool key Escape
answer Return
end_game_from_launcher
# Printed only when no box could be shown at all.
! grep -q "Kaperfahrt: Beenden" "$work/game.log" || fail "the question fell back to the terminal"

echo "ok: ${width}x${height} $variant"
