#!/usr/bin/env bash
# Remakes docs/main-dialog.png and docs/about-box.png: runs Lanvista on a virtual display and
# opens the About box from the system menu the way a user does (Alt+Space, last item).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/lanvista" ] || { echo "Build first: $build/lanvista is missing." >&2; exit 1; }
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "Needs $tool (packages xvfb, xdotool, imagemagick)." >&2; exit 1; }
done

xvfb-run -a -s "-screen 0 1024x640x24" bash -s "$build" <<'SHOTS'
set -euo pipefail
build=$1
"$build/lanvista" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT

find_window() {
  for _ in $(seq 100); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window named $1" >&2
  return 1
}

main=$(find_window 'Lanvista\(Ver 1\.13\)')
xdotool windowfocus --sync "$main"
sleep 0.5
import -window "$main" docs/main-dialog.png

xdotool key --window "$main" alt+space
sleep 0.5
xdotool key Up Return
about=$(find_window 'Lanvista 정보')
sleep 0.5
import -window "$about" docs/about-box.png
xdotool key Return
SHOTS
echo "Wrote docs/main-dialog.png and docs/about-box.png"
