#!/usr/bin/env bash
# Installs what is missing, builds and starts Lanvista on this desktop.
set -euo pipefail
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
exec build/lanvista
