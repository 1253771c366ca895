#!/bin/bash
# Started as the desktop menu starts it (--desktop, in the home folder), the game keeps its
# settings in $XDG_DATA_HOME/kaperfahrt: a save from "Einstellungen" lands there and nothing
# in the home folder. With a data folder that cannot be made, it says so in a message box and
# plays on; the game ends with exit code 0 both times.
#   menu_start_test.sh <kaperfahrt binary>
set -euo pipefail

game=$(realpath "$1")
here=$(dirname "$0")
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"

start_display 1280 1024
export SDL_AUDIODRIVER=dummy
home="$work/home"
mkdir -p "$home"

start_from_menu() {  # [XDG_DATA_HOME]
  if [ -n "${1:-}" ]; then
    (cd "$home" && HOME="$home" XDG_DATA_HOME="$1" exec "$game" --desktop) >"$work/game.log" 2>&1 &
  else
    (cd "$home" && HOME="$home" exec env -u XDG_DATA_HOME "$game" --desktop) >"$work/game.log" 2>&1 &
  fi
  game_pid=$!
}

start_from_menu
launcher=$(await_window '^Kaper-Fahrt$')
click_at "$launcher" 360 380  # "Einstellungen"
options=$(await_window '^Einstellungen$')
click_at "$options" 157 202  # "Speichern"
await_window_gone '^Einstellungen$'
end_game_from_launcher
saved="$home/.local/share/kaperfahrt/SchiffsEinstellungen.prefs"
grep -q '^\[Allgemein\]' "$saved" 2>/dev/null || fail "no options saved in $saved"
[ -z "$(find "$home" -maxdepth 1 -type f)" ] || fail "files in the home folder: $(ls -A "$home")"

touch "$work/blocked"  # a file where the data folder belongs
start_from_menu "$work/blocked"
box=$(await_window '^Einstellungsordner$')
xdotool key Return  # to the focused box: a key sent to it by window id outlives the box it closes
await_window_gone '^Einstellungsordner$'
end_game_from_launcher
[ -z "$(find "$home" -maxdepth 1 -type f)" ] || fail "files in the home folder: $(ls -A "$home")"
echo "ok: menu start"
