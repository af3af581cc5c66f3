#!/usr/bin/env bash
# Makes docs/lab-search.png: the dialog in the lab after a search, drawn offscreen.
#   lab/screenshot.sh [BUILD_DIR]     (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target lab_screenshot lanvista-devsim
QT_QPA_PLATFORM=offscreen LANVISTA_SCREENSHOT=$PWD/docs/lab-search.png \
  lab/lab.sh --devices 5 --devsim "$build/lanvista-devsim" --run "$build/tests/lab/lab_screenshot"
echo "wrote docs/lab-search.png"
