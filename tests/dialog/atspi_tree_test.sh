#!/usr/bin/env bash
# Starts the program on a virtual display with an accessibility bus of its own, then reads its
# tree over AT-SPI as a screen reader would (atspi_tree.py).
# Usage: atspi_tree_test.sh LANVISTA   (exit 77 where AT-SPI or pyatspi is not installed)
set -euo pipefail
program=$1
here=$(dirname "$(readlink -f "$0")")
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || { echo "skipped: at-spi2-core is not installed" >&2; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "skipped: python3-pyatspi is not installed" >&2; exit 77; }
command -v dbus-run-session >/dev/null && command -v Xvfb >/dev/null ||
  { echo "skipped: dbus-run-session or Xvfb is missing" >&2; exit 77; }

if [[ ${LANVISTA_ATSPI_SESSION:-} != 1 ]]; then
  export LANVISTA_ATSPI_SESSION=1
  exec dbus-run-session -- "$0" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
fi

# Xvfb picks a free display itself (-displayfd), so tests started at the same time cannot pick
# the same one, and -noreset keeps it from resetting, and refusing connections for a moment,
# when the bus launcher, its first client, lets go of it.
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
pids+=($!)
for ((tries = 0; tries < 100; tries++)); do
  [[ -s $work/display ]] && break
  sleep 0.1
done
[[ -s $work/display ]] || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(tr -d '\n' <"$work/display")

"$launcher" --launch-immediately &
pids+=($!)
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" &
pids+=($!)
/usr/bin/python3 "$here/atspi_tree.py" "$(basename "$program")"
