#!/usr/bin/env bash
# Lanvista without hardware: starts the lab with a handful of simulated device servers and
# opens the program inside its PC namespace on this display; the lab goes away when the
# dialog closes.
#   lab/demo.sh [BUILD_DIR]     (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

for program in lanvista lanvista-devsim; do
  [[ -x $build/$program ]] || { echo "demo: $build/$program is missing; build first (scripts/build.sh)" >&2; exit 1; }
done

# The PC namespace has no way to the host's own addresses, so the display must be reached
# through a socket file: an X display of this machine (:N), or a Wayland socket.
if [[ -n ${WAYLAND_DISPLAY:-} ]]; then
  :
elif [[ ${DISPLAY:-} =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]]; then
  socket=/tmp/.X11-unix/X${BASH_REMATCH[2]}
  [[ -S $socket ]] || {
    echo "demo: display $DISPLAY has no socket file $socket, which the lab's PC namespace needs" >&2
    exit 2
  }
elif [[ -n ${DISPLAY:-} ]]; then
  echo "demo: display $DISPLAY is reached over the network, which the lab's PC namespace cannot;" \
    "run the demo on the machine's own display" >&2
  exit 2
else
  echo "demo: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); run it from a desktop terminal" >&2
  exit 2
fi

# A firmware image to try the update with: the program accepts a file by its name.
images=$(mktemp -d "${TMPDIR:-/tmp}/lanvista-demo.XXXXXX")
trap 'rm -rf -- "$images"' EXIT
image=$images/Brimnet_v3.08.bin
head -c 65536 /dev/urandom >"$image"

cat >&2 <<MSG
demo: five devices answer at 10.213.77.10 to .14, and one more at 10.213.77.200 whose
      downloads fail. Press Search and select a device to see it; Save writes new
      addresses into it. For a firmware update, type a device's address into the
      F/W Update box, Browse to
        $image
      and press Start Update. Closing the dialog ends the demo.
MSG
lab/lab.sh --devices 5 --devsim "$build/lanvista-devsim" --run "$build/lanvista" &
lab=$!
# The lab tears itself down on TERM; pass a stop on to it, then wait for that to finish.
trap 'kill -TERM "$lab" 2>/dev/null' INT TERM HUP
status=0
wait "$lab" || status=$?
if kill -0 "$lab" 2>/dev/null; then
  wait "$lab" || status=$?
fi
exit "$status"
