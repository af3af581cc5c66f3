#!/usr/bin/env bash
# A virtual X display for programs run one after another or side by side in tests.
#   virtual-display.sh start BASE   prints the display (":N")
#   virtual-display.sh stop BASE
# Xvfb picks a free number itself (-displayfd), so displays started at the same moment cannot
# take the same one, and -noreset keeps it from resetting, and refusing connections for a
# moment, each time its last client lets go. It runs detached, with no output left open, so a
# caller need not wait for it. BASE.display holds the number, BASE.xvfb its pid and
# BASE.xvfb.log what it said.
set -euo pipefail
verb=${1:?usage: virtual-display.sh start|stop BASE}
base=${2:?usage: virtual-display.sh start|stop BASE}
case $verb in
  start)
    setsid Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp \
      3>"$base.display" </dev/null >"$base.xvfb.log" 2>&1 &
    echo $! >"$base.xvfb"
    for ((tries = 0; tries < 100; tries++)); do
      [[ -s $base.display ]] && break
      sleep 0.1
    done
    [[ -s $base.display ]] || { cat "$base.xvfb.log" >&2; echo "virtual-display: Xvfb did not start" >&2; exit 1; }
    echo ":$(tr -d '\n' <"$base.display")"
    ;;
  stop)
    # Only the Xvfb started here: a pid left from long ago may be someone else's now.
    if [[ -f $base.xvfb ]]; then
      pid=$(cat "$base.xvfb")
      [[ $(cat "/proc/$pid/comm" 2>/dev/null) != Xvfb ]] || kill "$pid"
    fi
    rm -f "$base.display" "$base.xvfb" "$base.xvfb.log"
    ;;
  *) echo "virtual-display: unknown verb $verb" >&2; exit 2 ;;
esac
