#!/usr/bin/env bash
# Starts the program on a headless Wayland compositor of its own (weston), with no X server
# to fall back to, and checks from the Wayland protocol itself that it shows its dialog
# under the desktop entry's name, so that shells find its icon and group its windows.
# Usage: wayland_start_test.sh LANVISTA APP_ID   (exit 77: no weston or Qt Wayland plugin here)
set -euo pipefail
program=$1 app_id=$2
command -v weston >/dev/null || { echo "skipped: weston is not installed" >&2; exit 77; }

runtime=$(mktemp -d)
trap 'kill "$compositor" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
weston --backend=headless-backend.so --socket=lanvista-test --idle-time=0 >"$runtime/weston.log" 2>&1 &
compositor=$!
for ((tries = 0; tries < 100; tries++)); do
  [[ -S $runtime/lanvista-test ]] && break
  kill -0 "$compositor" 2>/dev/null || { cat "$runtime/weston.log" >&2; echo "weston did not start" >&2; exit 1; }
  sleep 0.1
done

# The client's side of the protocol, as WAYLAND_DEBUG writes it, until its dialog has been
# drawn; then the program is closed.
env -u DISPLAY WAYLAND_DISPLAY=lanvista-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
  "$program" 2>"$runtime/client.log" &
client=$!
shown=""
for ((tries = 0; tries < 150; tries++)); do
  if grep -q 'xdg_toplevel@[0-9]*\.set_app_id' "$runtime/client.log" &&
     grep -q 'wl_surface@[0-9]*\.attach(wl_buffer' "$runtime/client.log"; then
    shown=yes
    break
  fi
  kill -0 "$client" 2>/dev/null || break
  sleep 0.1
done
kill "$client" 2>/dev/null || true
wait "$client" 2>/dev/null || true

if [[ -z $shown ]]; then
  grep -v '^\[' "$runtime/client.log" >&2 || true
  echo "the program showed no window on Wayland" >&2
  exit 1
fi
grep -q 'xdg_toplevel@[0-9]*\.set_title("Lanvista' "$runtime/client.log" ||
  { echo "the window has not the dialog's title" >&2; exit 1; }
given=$(grep -o 'set_app_id("[^"]*")' "$runtime/client.log" | head -1)
[[ $given == "set_app_id(\"$app_id\")" ]] || { echo "app id: $given, not \"$app_id\"" >&2; exit 1; }
echo "shown on Wayland as $app_id"
