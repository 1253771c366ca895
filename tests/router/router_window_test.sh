#!/bin/bash
# The real game offering a battle behind a home router with miniupnpd (network namespaces,
# a virtual display): "kaperfahrt --host" prints the router's address while its waiting
# window is up, the router forwards the port, and "Abbrechen" takes the forwarding back.
#   router_window_test.sh <kaperfahrt binary>
set -u
game=$(realpath "$1")
here=$(dirname "$0")
. "$here/router_net.sh"
why=$(router_net_unavailable)
if [ -n "$why" ]; then
  if [ "${CI:-}" = true ]; then echo "FAIL: CI must run this test, but: $why"; exit 1; fi
  echo "skipped: $why"
  exit 77
fi
source "$here/../e2e/virtual_display.sh"
source "$here/../e2e/launcher_steps.sh"
trap 'router_net_down; cleanup' EXIT

router_net_up both || fail "the router did not come up"
start_display 1680 1050
# The X socket file is shared with the namespace; the abstract one is not.
# The default port: the namespace is this test's own, so no other test can hold it.
(cd "$work" && exec ip netns exec "$HOME_NS" env DISPLAY="$DISPLAY" SDL_AUDIODRIVER=dummy \
  "$game" --host) >"$work/game.log" 2>&1 &
game_pid=$!
waiting=$(await_window '^Verbindung$')
for _ in $(seq 100); do
  grep -q '^Adresse für den Mitspieler: ' "$work/game.log" && break
  sleep 0.05
done
grep -q "^Adresse für den Mitspieler: $ROUTER_WAN_IP:47111\$" "$work/game.log" ||
  fail "the router's address was not printed"
[ -n "$(router_forwardings)" ] || fail "the router forwards nothing"
echo "printed: $(grep '^Adresse' "$work/game.log"); forwarded: $(router_forwardings | xargs)"

# "Abbrechen" spans the bottom of the waiting window.
eval "$(xdotool getwindowgeometry --shell "$waiting")"
click_at "$waiting" $((WIDTH / 2)) $((HEIGHT - 20))
await_window_gone '^Verbindung$'
for _ in $(seq 50); do
  [ -z "$(router_forwardings)" ] && break
  sleep 0.05
done
[ -z "$(router_forwardings)" ] || fail "the forwarding outlived the offer: $(router_forwardings)"
echo "ok"
