#!/usr/bin/env bash
# Ends the wineserver of a prefix made by wine-prefix.sh and removes the prefix.
set -euo pipefail
prefix=${1:?usage: wine-prefix-end.sh PREFIX}
. "$(dirname "$0")/wine-env.sh"
if [ -d "$prefix" ]; then
  WINEPREFIX=$prefix "$wine_server" -k 2>/dev/null || true
  WINEPREFIX=$prefix "$wine_server" -w 2>/dev/null || true
fi
rm -rf "$prefix" "$prefix.home"
