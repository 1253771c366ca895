# Sourced by the real-window scripts: looking at the battle screen and answering the
# question "Beenden". Needs $work, $width and $game_pid, virtual_display.sh's fail and
# launcher_steps.sh's question_window.

sea="1,119,254"

# A screenshot of the whole display as $work/<name>.png.
shot() { import -window root "$work/$1.png"; }

# "r,g,b" of a pixel of a screenshot: pixel <name> <x> <y>.
pixel() {
  convert "$work/$1.png" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:
}

alive() { kill -0 "$game_pid" 2>/dev/null || fail "the game ended early"; }

# Takes screenshots as <name> until the battle window shows the sea at the top.
await_sea() {
  for _ in $(seq 1 100); do
    alive
    shot "$1" 2>/dev/null || true
    [ -f "$work/$1.png" ] && [ "$(pixel "$1" $((width / 2)) 5)" = "$sea" ] && return 0
    sleep 0.1
  done
  fail "no sea"
}

# The window id of the question "Beenden" once it is shown (a window manager maps it a
# moment after it exists).
await_question() {
  for _ in $(seq 1 50); do
    local box
    box=$(question_window)
    [ -n "$box" ] && xwininfo -id "$box" | grep -q IsViewable && { echo "$box"; return 0; }
    sleep 0.1
  done
  cat "$work/game.log" >&2
  fail "no question after Escape"
}

# Answers the question with a key: Return is Yes, Escape is No. Without a window manager
# nothing gives the box the focus, so give it by hand.
answer_question() {
  xdotool windowfocus --sync "$1" key "$2"
  for _ in $(seq 1 50); do
    [ -z "$(question_window)" ] && return 0
    sleep 0.1
  done
  fail "the question stayed open"
}
