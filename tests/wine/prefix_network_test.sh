#!/usr/bin/env bash
# The tests' shared prefix sees no network adapter (list_adapters.exe prints one line per
# adapter, loopback left out): its programs can reach nothing beyond its own loopback.
#   prefix_network_test.sh WINE_RUN LIST_ADAPTERS.exe    (LANVISTA_WINEPREFIX set by CTest)
set -uo pipefail
adapters=$("$1" "$2" | tr -d '\r') || { echo "FAIL: list_adapters.exe exited $?" >&2; exit 1; }
if [[ -n $adapters ]]; then
  echo "FAIL: the tests' Wine prefix sees adapters beyond the loopback: $adapters" >&2
  exit 1
fi
echo "the tests' Wine prefix sees no adapter but the loopback"
