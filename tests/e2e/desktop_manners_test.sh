#!/bin/bash
# The battle window among other windows under openbox: it is named "Kaperfahrt"; Alt+Tab
# brings the other window above it (the battle pauses), Alt+Tab again brings it back on top;
# Alt+F4 asks "Beenden" as Escape does: No plays on, Yes leads back to the launcher.
#   desktop_manners_test.sh <kaperfahrt binary>
# With KF_SHOT_DIR set, the screenshots are kept there.
set -euo pipefail

game=$(realpath "$1")
width=1920
height=1080
here=$(dirname "$0")
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

KF_WINDOW_MANAGER=openbox start_display "$width" "$height"
export SDL_AUDIODRIVER=dummy
other_pid=""
xmessage -geometry 600x300+100+100 "Ein anderes Fenster" 2>/dev/null &
other_pid=$!
trap '[ -n "$other_pid" ] && kill "$other_pid" 2>/dev/null; cleanup' EXIT
start_game
choose_ships 1 0
await_sea start

# The top-most managed window, by its title.
top() { xprop -id "$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | tail -n 1)" WM_NAME |
          sed 's/.*= "\(.*\)"/\1/'; }
await_top() {
  for _ in $(seq 1 50); do
    [ "$(top)" = "$1" ] && return 0
    sleep 0.1
  done
  shot "not_$1"
  fail "\"$1\" is not on top but \"$(top)\""
}

await_top Kaperfahrt
xdotool key alt+Tab
await_top xmessage
shot switched
[ "$(pixel switched 400 300)" != "$sea" ] || fail "the other window does not show"
xdotool key alt+Tab
await_top Kaperfahrt

xdotool key alt+F4
answer_question "$(await_question)" Escape
alive
xdotool key alt+F4
answer_question "$(await_question)" Return
await_window '^Kaper-Fahrt$' >/dev/null
end_game_from_launcher
echo "ok: Alt+Tab and Alt+F4"
