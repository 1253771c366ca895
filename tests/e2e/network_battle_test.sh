#!/bin/bash
# A network battle of the real binaries on two virtual displays: the host waits, the guest
# joins over loopback, each chooses a ship in the ship list; the host's W moves ship 0 and the
# guest's W moves ship 1, on both screens, also after the host's player took a while to say
# No to "Beenden". The host leaves with Escape and Yes: the guest is
# told and both are back at the launcher.
#   network_battle_test.sh <kaperfahrt binary>
set -euo pipefail

game=$(realpath "$1")
here=$(dirname "$0")
source "$here/virtual_display.sh"
source "$here/launcher_steps.sh"
source "$here/battle_steps.sh"

width=1680
start_display $width 1050
host_display=$DISPLAY
Xvfb -displayfd 4 -screen 0 1680x1050x24 -nolisten tcp -noreset -fp built-ins 4>"$work/display2" >"$work/xvfb2.log" 2>&1 &
xvfb2_pid=$!
guest_pid=""
trap 'kill $guest_pid $xvfb2_pid 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 1 100); do [ -s "$work/display2" ] && break; sleep 0.1; done
guest_display=":$(head -n 1 "$work/display2")"
export SDL_AUDIODRIVER=dummy
port=$((40000 + RANDOM % 20000))
mkdir -p "$work/host" "$work/guest"

on() { DISPLAY=$1 "${@:2}"; }
# Differing pixels of two screenshots within a box: changed <a> <b> <WxH+X+Y>.
changed() {
  compare -metric AE -fuzz 8% -extract "$3" "$work/$1.png" "$work/$2.png" null: 2>&1 || true
}

(cd "$work/host" && DISPLAY=$host_display exec "$game" --host "$port") >"$work/game.log" 2>&1 &
game_pid=$!
DISPLAY=$host_display await_window '^Verbindung$' >/dev/null
(cd "$work/guest" && DISPLAY=$guest_display exec "$game" --join "127.0.0.1:$port") >"$work/guest.log" 2>&1 &
guest_pid=$!

host_list=$(DISPLAY=$host_display await_window '^Schiff auswählen$')
guest_list=$(DISPLAY=$guest_display game_pid=$guest_pid await_window '^Schiff auswählen$')
# shellcheck disable=SC2046
on "$host_display" click_at "$host_list" $(ship_row 2)
on "$host_display" click_at "$host_list" 730 190
# shellcheck disable=SC2046
on "$guest_display" click_at "$guest_list" $(ship_row 5)
on "$guest_display" click_at "$guest_list" 730 190

DISPLAY=$host_display await_sea host0
DISPLAY=$guest_display game_pid=$guest_pid await_sea guest0
sleep 1.5  # both battles under way (the first to open waits for the other's first inputs)
DISPLAY=$host_display shot host0
DISPLAY=$guest_display shot guest0

# Ship 0 starts at (150, 800), ship 1 at (1500, 20): boxes around where each sails.
ship0="450x400+50+600"
ship1="330x330+1350+0"
hold_w() { on "$1" xdotool keydown w; sleep 1.2; on "$1" xdotool keyup w; sleep 0.3; }

hold_w "$host_display"
DISPLAY=$host_display shot host1
DISPLAY=$guest_display shot guest1
for side in host guest; do
  moved=$(changed ${side}0 ${side}1 $ship0)
  still=$(changed ${side}0 ${side}1 $ship1)
  echo "host's W on the $side's screen: ship 0 box $moved pixels changed, ship 1 box $still"
  # A sailing ship changes thousands of pixels; one drifting at its starting speed of 0.01 a
  # frame shifts its outline by a pixel at most, a few thousand pixels of its edges.
  [ "$moved" -gt 4000 ] || fail "host's W: ship 0 did not move on the $side's screen"
  [ $((2 * still)) -lt "$moved" ] || fail "host's W: ship 1 moved on the $side's screen"
done

# The host's player thinks "Beenden" over for longer than the 3 s of silence, then says No:
# the match goes on on both sides.
on "$host_display" xdotool key Escape
box=$(DISPLAY=$host_display await_question)
sleep 4
DISPLAY=$host_display answer_question "$box" Escape
[ -z "$(DISPLAY=$guest_display shown_window '^Netzwerk$')" ] || fail "the guest gave up while the host was asked"

hold_w "$guest_display"
DISPLAY=$host_display shot host2
DISPLAY=$guest_display shot guest2
for side in host guest; do
  moved=$(changed ${side}1 ${side}2 $ship1)
  echo "guest's W on the $side's screen: ship 1 box $moved pixels changed"
  [ "$moved" -gt 4000 ] || fail "guest's W: ship 1 did not move on the $side's screen"
done

# The host leaves: Escape, then Yes.
on "$host_display" xdotool key Escape
box=$(DISPLAY=$host_display await_question)
DISPLAY=$host_display answer_question "$box" Return
DISPLAY=$host_display await_window '^Kaper-Fahrt$' >/dev/null
note=$(DISPLAY=$guest_display game_pid=$guest_pid await_window '^Netzwerk$')
DISPLAY=$guest_display shot guest_told
on "$guest_display" xdotool windowfocus --sync "$note" key Return
DISPLAY=$guest_display game_pid=$guest_pid await_window '^Kaper-Fahrt$' >/dev/null
[ -n "${KF_SHOT_DIR:-}" ] && cp "$work"/*.png "$KF_SHOT_DIR"/ 2>/dev/null
echo "ok: network battle"
