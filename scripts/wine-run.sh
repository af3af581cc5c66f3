#!/usr/bin/env bash
# Runs a Windows program under Wine and returns its exit status. LANVISTA_WINEPREFIX names a
# prefix made by wine-prefix.sh to use (and keep), on its display if it has one and inside its
# network namespace, where the wineserver the program starts or joins lives; without it, a
# fresh prefix is made in a temporary folder and removed afterwards.
set -euo pipefail
here=$(dirname "$0")
. "$here/wine-env.sh"
if [ -n "${LANVISTA_WINEPREFIX:-}" ]; then
  export WINEPREFIX=$LANVISTA_WINEPREFIX HOME=$LANVISTA_WINEPREFIX.home
  # The prefix's own display, where it has one: its desktop process runs there.
  if [ -s "$LANVISTA_WINEPREFIX.display" ]; then
    export DISPLAY=:$(tr -d '\n' <"$LANVISTA_WINEPREFIX.display")
  fi
else
  temp=$(mktemp -d)
  trap '"$here/wine-prefix-end.sh" "$temp/prefix"; rm -rf "$temp"' EXIT
  "$here/wine-prefix.sh" "$temp/prefix" --own-network
  export WINEPREFIX=$temp/prefix HOME=$temp/prefix.home
fi
status=0
"$here/in-prefix-network.sh" "$WINEPREFIX" "$WINELOADER" "$@" || status=$?
exit $status
