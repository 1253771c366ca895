#!/bin/bash
# With no display to show the battle on, the game says it could not start and ends with
# exit code 0 instead of running unseen.
set -uo pipefail
game=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy LANGUAGE=de \
  timeout 20 "$game" >"$work/out.log" 2>&1
status=$?
cat "$work/out.log"
[ "$status" = 0 ] || { echo "FAIL: exit code $status"; exit 1; }
grep -q "Konnte nicht starten" "$work/out.log" || { echo "FAIL: no start-up message"; exit 1; }
[ ! -e "$work/SchiffsEinstellungen.prefs" ] || { echo "FAIL: a battle was prepared"; exit 1; }
echo "ok: no display"
