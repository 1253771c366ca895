# Sourced by the real-window scripts: the launcher worked with the mouse, as a player would.
# Needs $game_pid (the game), $work (its folder, with game.log) and virtual_display.sh's
# fail.

# The id of the shown window whose title matches the pattern; empty when there is none.
shown_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true; }

# The id of the question "Beenden" (or any box titled "Kaperfahrt"), empty when there is none:
# the battle window has that title too, but covers the screen.
question_window() {
  # awk reads to the end: leaving early would break the pipe, a failure under pipefail.
  xwininfo -root -tree 2>/dev/null | awk '/"Kaperfahrt"/ && !found {
    for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+[+-]/) { split($i, g, "x"); if (g[1] < 1000) { print $1; found = 1 } }
  }' || true
}

await_window() {
  local id=""
  for _ in $(seq 1 100); do
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended early"
    id=$(shown_window "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  fail "no window \"$1\""
}

await_window_gone() {
  for _ in $(seq 1 50); do
    [ -z "$(shown_window "$1")" ] && return 0
    sleep 0.1
  done
  fail "window \"$1\" stayed"
}

# Clicks at a point of a window's client area (no window manager: no frame around it).
click_at() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.2
}

# The middle of list row r (class r) of the ship selection window: rows 15 pixels apart
# below the header, in the column "SchussSpeed".
ship_row() { echo "300 $((28 + 15 * $1))"; }

# From the launcher window into a battle: choose_ships 1 <class> (single player) or
# choose_ships 2 <class of Player 1> <class of Player 2>, each chosen with "Start".
choose_ships() {
  local launcher selection
  launcher=$(await_window '^Kaper-Fahrt$')
  click_at "$launcher" $((60 + 100 * ($1 - 1))) 380  # "Einzelspieler", "2 Spieler VS"
  selection=$(await_window '^Player1 Schiff')
  # shellcheck disable=SC2046
  click_at "$selection" $(ship_row "$2")
  click_at "$selection" 730 190  # "Start"
  [ "$1" = 2 ] || return 0
  selection=$(await_window '^Player2 Schiff')
  # shellcheck disable=SC2046
  click_at "$selection" $(ship_row "$3")
  click_at "$selection" 730 190
}

# From the launcher window: "Spiel Beenden".
quit_from_launcher() {
  local launcher
  launcher=$(await_window '^Kaper-Fahrt$')
  click_at "$launcher" 460 380
}

# From the launcher window: "Spiel Beenden". The game must end at once, with exit code 0.
end_game_from_launcher() {
  quit_from_launcher
  for _ in $(seq 1 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "the game did not end after \"Spiel Beenden\""
  local status=0
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = 0 ] || fail "exit code $status"
}
