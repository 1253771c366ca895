#!/bin/bash
# Runs the present benchmark on its own virtual X displays, one for each desktop size.
#   present_under_xvfb.sh <present_bench binary> [benchmark options...]
set -euo pipefail

bench=$(realpath "$1")
shift
source "$(dirname "$0")/../tests/e2e/virtual_display.sh"

for size in 1680x1050 1920x1080 2560x1440; do
  start_display "${size%x*}" "${size#*x}"
  echo "-- desktop $size"
  KF_XSERVER_PID=$xvfb_pid SDL_AUDIODRIVER=dummy "$bench" "$@"
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""
  rm -f "$work/display"
done
