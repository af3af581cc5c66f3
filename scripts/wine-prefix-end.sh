#!/usr/bin/env bash
# Ends the wineserver of a prefix made by wine-prefix.sh, its virtual display if it has one,
# and its network namespace, and removes the prefix.
set -euo pipefail
prefix=${1:?usage: wine-prefix-end.sh PREFIX}
. "$(dirname "$0")/wine-env.sh"
if [ -d "$prefix" ]; then
  WINEPREFIX=$prefix "$wine_server" -k 2>/dev/null || true
  WINEPREFIX=$prefix "$wine_server" -w 2>/dev/null || true
fi
"$(dirname "$0")/virtual-display.sh" stop "$prefix"
if [[ -s $prefix.netns ]]; then
  read -r kind where <"$prefix.netns"
  case $kind in
    named) ip netns del "$where" 2>/dev/null || true ;;
    file) umount "$where" 2>/dev/null || true ;;
  esac
fi
rm -rf "$prefix" "$prefix.home" "$prefix.netns" "$prefix.netns-file"
