#!/usr/bin/env bash
# Runs a Windows program under Wine inside the lab's PC namespace, and nowhere else:
#
#   lab/lab.sh [OPTIONS] --run lab/wine-in-lab.sh LIST_ADAPTERS.exe PROGRAM.exe [ARG...]
#
# Wine's sockets belong to its wineserver, not to the program that asks for them, so a
# fresh prefix is made here and its wineserver started here, inside the namespace. Before
# PROGRAM runs, LIST_ADAPTERS.exe (tests/wine/list_adapters.cpp) reports the adapters that
# Windows programs see through that wineserver; unless they are exactly the lab's
# (LANVISTA_LAB_ADAPTERS), nothing runs. Exit status: PROGRAM's; 3 when the adapters differ;
# 1 when Wine could not be set up.
set -euo pipefail
[[ $# -ge 2 ]] || { sed -n '2,12p' "$0" >&2; exit 2; }
[[ -n ${LANVISTA_LAB_ADAPTERS:-} ]] || { echo "wine-in-lab: not inside lab/lab.sh" >&2; exit 1; }
lister=$1
shift
scripts=$(dirname "$(readlink -f "$0")")/../scripts
. "$scripts/wine-env.sh"

temp=$(mktemp -d)
export WINEPREFIX=$temp/prefix HOME=$temp/prefix.home
# shellcheck disable=SC2317  # reached through the EXIT trap
finish() {
  "$wine_server" -k 2>/dev/null || true
  "$wine_server" -w 2>/dev/null || true
  rm -rf -- "$temp"
}
trap finish EXIT
# Every wineserver of this prefix is started by this shell, in this namespace: wineboot's
# while the prefix is made, then a persistent one that serves the steps below.
"$scripts/wine-prefix.sh" "$WINEPREFIX" >/dev/null || { echo "wine-in-lab: no Wine prefix" >&2; exit 1; }
"$wine_server" -p

seen=$("$WINELOADER" "$lister" | tr -d '\r' | sort)
expected=$(tr ' ' '\n' <<<"$LANVISTA_LAB_ADAPTERS" | sort)
if [[ $seen != "$expected" ]]; then
  echo "wine-in-lab: refusing to run: Wine sees the adapters" >&2
  echo "${seen:-(none)}" | sed 's/^/  /' >&2
  echo "where the lab has" >&2
  echo "$expected" | sed 's/^/  /' >&2
  exit 3
fi
echo "wine-in-lab: Wine sees the lab's adapters only: $(echo $seen)" >&2
status=0
"$WINELOADER" "$@" || status=$?
exit $status
