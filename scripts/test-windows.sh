#!/usr/bin/env bash
# Cross-builds the Windows build from nothing into build-windows/ and runs its tests under Wine:
# the suites in one prefix, the networked ones in the lab with prefixes and wineservers of
# their own (they need the Linux build's lanvista-devsim: build/, or LANVISTA_DEVSIM). The
# test command runs this after the Linux part.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$SECONDS
rm -rf build-windows
scripts/build-windows.sh build-windows
export LANVISTA_DEVSIM=${LANVISTA_DEVSIM:-$PWD/build/lanvista-devsim}
ctest --test-dir build-windows --output-on-failure -j 2
echo "Windows build and tests: $((SECONDS - start)) s"
