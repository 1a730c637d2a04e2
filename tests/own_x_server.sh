#!/usr/bin/env bash
# Runs one test program on an X server of its own, so that tests run side by
# side never share a pointer, a keyboard focus or a screen (drag and drop and
# the clicks sent through xdotool use the real ones).
#   own_x_server.sh [--screen WIDTHxHEIGHTxDEPTH] PROGRAM ARGS...   (default 1024x768x24)
set -u
screen=1024x768x24
if [ "${1:-}" = "--screen" ]; then
  screen=$2
  shift 2
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xpid=$!
display=""
read -r -t 20 display <"$fifo"
rm -f "$fifo"
if [ -z "$display" ]; then
  echo "own_x_server.sh: Xvfb did not start" >&2
  kill "$xpid" 2>/dev/null
  exit 1
fi
export DISPLAY=":$display"
# A configuration folder of its own, empty: a choice made in the program on
# this PC (sound off) never changes what a test sees.
config=$(mktemp -d)
export XDG_CONFIG_HOME="$config"
"$@"
rc=$?
rm -rf "$config"
kill "$xpid" 2>/dev/null
wait "$xpid" 2>/dev/null
exit $rc
