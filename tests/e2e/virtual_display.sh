# Sourced by the real-window scripts. start_display <width> <height> starts a private
# virtual X display on a free number and exports DISPLAY; $work is a fresh folder. On exit
# the game ($game_pid, when set), the display and the folder go away. start_game [args]
# starts $game in $work with its output in $work/game.log. fail <message> ends a
# test with the game's output ($work/game.log) and, with KF_SHOT_DIR set, keeps the
# screenshots taken so far ($work/*.png) there. With KF_WINDOW_MANAGER=openbox the display
# gets a window manager, as a desktop has: frames, focus and placement are then its.

# The scripts look for the German titles whatever the desktop's language is;
# KF_TEST_LANGUAGE=en runs the game in English, KF_TEST_LANGUAGE= in the desktop's language.
export LANGUAGE="${KF_TEST_LANGUAGE-de}"

work=$(mktemp -d)
xvfb_pid=""
game_pid=""
wm_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  cat "$work/game.log" >&2 2>/dev/null || true
  [ -n "${KF_SHOT_DIR:-}" ] && cp "$work"/*.png "$KF_SHOT_DIR"/ 2>/dev/null || true
  exit 1
}

start_game() {
  (cd "$work" && exec "$game" "$@") >"$work/game.log" 2>&1 &
  game_pid=$!
}

start_display() {
  # -noreset: a client connecting while the server resets after the previous one fails.
  # -fp built-ins: no core fonts, as on many current desktops; nothing may need them.
  Xvfb -displayfd 3 -screen 0 "$1x$2x24" -nolisten tcp -noreset -fp built-ins 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n 1 "$work/display")"
  case "${KF_WINDOW_MANAGER:-}" in
    "") ;;
    openbox) start_window_manager ;;
    *) echo "unknown window manager $KF_WINDOW_MANAGER" >&2; exit 1 ;;
  esac
}

# Openbox with its own settings and cache in $work; ready once it has claimed the screen,
# which it announces on the root window.
start_window_manager() {
  XDG_CACHE_HOME="$work/wm" XDG_CONFIG_HOME="$work/wm" openbox --sm-disable >"$work/wm.log" 2>&1 &
  wm_pid=$!
  for _ in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
    sleep 0.1
  done
  echo "openbox did not start" >&2
  exit 1
}
