#!/bin/bash
# A network battle of the real binaries on two virtual displays. The host's player first plays
# a local battle, then offers a network battle from the "Netzwerkspiel" window (on a port the
# system chose); the guest joins through a UDP relay over loopback; each chooses a ship in the
# ship list. The host's W moves ship 0 and the guest's W moves ship 1, on both screens; after
# the relay dropped everything for 1.5 s, and after the host's player took a while to say No
# to "Beenden". The host leaves with Escape and Yes: the guest is told and both are back at
# the launcher. Every wait is for something seen, not for a time.
#   network_battle_test.sh <kaperfahrt binary> <udp_relay binary>
set -euo pipefail

game=$(realpath "$1")
relay=$(realpath "$2")
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
relay_pid=""
trap 'kill $guest_pid $relay_pid $xvfb2_pid 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 1 100); do [ -s "$work/display2" ] && break; sleep 0.1; done
guest_display=":$(head -n 1 "$work/display2")"
export SDL_AUDIODRIVER=dummy
port=$("$relay" --free-port)
mkdir -p "$work/host" "$work/guest"
"$relay" "$port" 1500 "$work/cut" >"$work/relay_port" 2>"$work/relay.log" &
relay_pid=$!
for _ in $(seq 1 50); do [ -s "$work/relay_port" ] && break; sleep 0.1; done
relay_port=$(head -n 1 "$work/relay_port")

on() { DISPLAY=$1 "${@:2}"; }
# Differing pixels of two screenshots within a box: changed <a> <b> <WxH+X+Y>.
changed() {
  compare -metric AE -fuzz 8% -extract "$3" "$work/$1.png" "$work/$2.png" null: 2>&1 || true
}

(cd "$work/host" && DISPLAY=$host_display exec "$game") >"$work/game.log" 2>&1 &
game_pid=$!
# A local battle first: two players, Escape and Yes.
DISPLAY=$host_display choose_ships 2 1 4
DISPLAY=$host_display await_sea local
on "$host_display" xdotool key Escape
box=$(DISPLAY=$host_display await_question)
DISPLAY=$host_display answer_question "$box" Return
# Then the offer from the small window: the port typed in, "Spiel anbieten".
offer=$(DISPLAY=$host_display await_window '^Netzwerkspiel$')
on "$host_display" click_at "$offer" 50 22
on "$host_display" xdotool key ctrl+a type "$port"
on "$host_display" click_at "$offer" 140 22
DISPLAY=$host_display await_window '^Verbindung$' >/dev/null
(cd "$work/guest" && DISPLAY=$guest_display exec "$game" --join "127.0.0.1:$relay_port") >"$work/guest.log" 2>&1 &
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

# Ship 0 starts at (150, 800), ship 1 at (1500, 20): boxes around where each sails.
ship0="450x400+50+600"
ship1="330x330+1350+0"
# sail <display> <box> <before> <after>: holds W on one display until the ship's box changed
# by thousands of pixels on both screens since the shots <before>; the shots <after> show it.
sail() {
  local seen=""
  on "$1" xdotool keydown w
  for _ in $(seq 1 100); do
    DISPLAY=$host_display shot "host$4"
    DISPLAY=$guest_display shot "guest$4"
    if [ "$(changed "host$3" "host$4" "$2")" -gt 6000 ] &&
       [ "$(changed "guest$3" "guest$4" "$2")" -gt 6000 ]; then
      seen=1
      break
    fi
    sleep 0.1
  done
  on "$1" xdotool keyup w
  [ -n "$seen" ] || fail "W on $1 did not move the ship in $2 on both screens"
}

sail "$host_display" "$ship0" 0 1
for side in host guest; do
  moved=$(changed ${side}0 ${side}1 $ship0)
  still=$(changed ${side}0 ${side}1 $ship1)
  echo "host's W on the $side's screen: ship 0 box $moved pixels changed, ship 1 box $still"
  # A sailing ship changes thousands of pixels; one drifting at its starting speed of 0.01 a
  # frame shifts its outline by a pixel at most, a few thousand pixels of its edges.
  [ "$moved" -gt 4000 ] || fail "host's W: ship 0 did not move on the $side's screen"
  [ $((2 * still)) -lt "$moved" ] || fail "host's W: ship 1 moved on the $side's screen"
done

# The network fails for 1.5 s mid-battle: both battles go on afterwards, agreeing.
touch "$work/cut"
for _ in $(seq 1 50); do [ -e "$work/cut" ] || break; sleep 0.1; done
sleep 2
DISPLAY=$host_display shot host_out
sail "$guest_display" "$ship1" 1 _back
# Both compare checksums twice a second: seconds without a message or a healed difference
# mean both battles are the same.
sleep 3
[ -z "$(DISPLAY=$host_display shown_window '^Netzwerk$')" ] || fail "the host gave up after the outage"
[ -z "$(DISPLAY=$guest_display shown_window '^Netzwerk$')" ] || fail "the guest gave up after the outage"
! grep -q "nicht mehr gleich" "$work/game.log" "$work/guest.log" || fail "the battles differed"
DISPLAY=$host_display shot host_same
DISPLAY=$guest_display shot guest_same

# The host's player thinks "Beenden" over for longer than the 3 s of silence, then says No:
# the match goes on on both sides.
DISPLAY=$guest_display shot guest_same
on "$host_display" xdotool key Escape
box=$(DISPLAY=$host_display await_question)
sleep 2
# Meanwhile the guest's still battle says why it stands still, in the middle at the top.
DISPLAY=$guest_display shot guest_thinking
note_box="700x90+540+190"
[ "$(changed guest_same guest_thinking $note_box)" -gt 3000 ] ||
  fail "the guest's screen did not say that the other player is thinking"
sleep 2
DISPLAY=$host_display answer_question "$box" Escape
[ -z "$(DISPLAY=$guest_display shown_window '^Netzwerk$')" ] || fail "the guest gave up while the host was asked"

# Both battles run on: the ship the guest set sailing keeps moving on both screens.
for _ in $(seq 1 100); do
  DISPLAY=$host_display shot host2
  DISPLAY=$guest_display shot guest2
  [ "$(changed host_same host2 1680x1050+0+0)" -gt 4000 ] &&
    [ "$(changed guest_same guest2 1680x1050+0+0)" -gt 4000 ] && break
  sleep 0.1
done
[ "$(changed host_same host2 1680x1050+0+0)" -gt 4000 ] || fail "the host's battle stood still"
[ "$(changed guest_same guest2 1680x1050+0+0)" -gt 4000 ] || fail "the guest's battle stood still"

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
