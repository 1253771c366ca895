#!/bin/bash
# The real binary's command line, without a display: --help and --version answer and end
# with 0, an unknown option or a stray argument ends with 2, one line saying why and the
# usage, before anything is started.
#   command_line_test.sh <kaperfahrt binary>
set -uo pipefail
game=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
fail() { echo "FAIL: $*" >&2; cat "$out" "$err" >&2; exit 1; }

run() {  # <expected exit code> <arguments...>
  local want=$1
  shift
  env -u DISPLAY "$game" "$@" >"$out" 2>"$err"
  local got=$?
  [ "$got" = "$want" ] || fail "kaperfahrt $*: exit code $got, not $want"
}

export LANGUAGE=de  # German whatever this desktop speaks; English below
for help in --help -h; do
  run 0 "$help"
  head -n 1 "$out" | grep -q '^Aufruf: kaperfahrt' || fail "$help: no usage"
  [ ! -s "$err" ] || fail "$help: output on stderr"
done
# In the C locale the usage is German, byte for byte the German run's.
cp "$out" "$out.de"
env -u LANGUAGE -u LC_MESSAGES LC_ALL=C "$game" --help >"$out" 2>"$err"
cmp -s "$out" "$out.de" || fail "--help in the C locale differs from the German one"
rm -f "$out.de"
# The English catalogue is built in, and the desktop's language chooses it.
for english in "LANGUAGE=en_GB:de" "LANGUAGE= LC_ALL=en_US.UTF-8"; do
  # shellcheck disable=SC2086
  env $english "$game" --help >"$out" 2>"$err"
  head -n 1 "$out" | grep -q '^Usage: kaperfahrt' || fail "$english: no English usage"
  grep -q 'FILE' "$out" || fail "$english: the option's value not in English"
done
run 0 --version
[ "$(cat "$out")" = "kaperfahrt 1.0" ] || fail "--version printed $(cat "$out")"

for wrong in --bogus "--host 70000" "--join" "hafen"; do
  # shellcheck disable=SC2086
  run 2 $wrong
  [ "$(head -n 1 "$err" | cut -c1-12)" = "kaperfahrt: " ] || fail "$wrong: no line saying why"
  sed -n 2p "$err" | grep -q '^Aufruf: kaperfahrt' || fail "$wrong: no usage after the line"
  [ ! -s "$out" ] || fail "$wrong: output on stdout"
done
echo "ok: command line"
