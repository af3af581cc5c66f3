#!/usr/bin/env bash
# Installs what is missing, builds and starts Lanvista on this desktop.
#   --demo: with simulated device servers on a private network of their own (lab/demo.sh)
set -euo pipefail
demo=false
[ "${1:-}" = "--demo" ] && demo=true
cd "$(dirname "$0")/.."
scripts/install-deps.sh --runtime-only
scripts/build.sh build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'MSG'
Lanvista is a desktop program and needs a graphical session, but no display was found
(neither DISPLAY nor WAYLAND_DISPLAY is set).
Start it from a desktop terminal, or try it on a virtual display:
    xvfb-run -a scripts/start.sh
MSG
  exit 2
fi
if $demo; then
  exec lab/demo.sh build
fi
exec build/lanvista
