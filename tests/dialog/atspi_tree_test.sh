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

# A display of its own that never resets: the bus launcher, its first client, lets go of it
# just before the program connects.
virtual_display=$here/../../scripts/virtual-display.sh
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; "$virtual_display" stop "$work/x"; rm -rf "$work"' EXIT
export DISPLAY
DISPLAY=$("$virtual_display" start "$work/x")

"$launcher" --launch-immediately &
pids+=($!)
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" &
pids+=($!)
/usr/bin/python3 "$here/atspi_tree.py" "$(basename "$program")"
