#!/usr/bin/env bash
# Draws the dialog in the lab after a search, offscreen, into docs/:
#   lab-search.png        the lab as it is: one adapter on the device segment
#   lab-two-adapters.png  a PC with a second device segment on a second adapter and a third
#                         adapter, without devices, holding the default route
#   lab/screenshot.sh [BUILD_DIR [PICTURE...]]     (default build/, both pictures)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
pictures=("$@")
[[ ${#pictures[@]} -gt 0 ]] || pictures=(lab-search lab-two-adapters)
cmake --build "$build" --target lab_screenshot lanvista-devsim
for picture in "${pictures[@]}"; do
  case $picture in
    lab-search) topology=() ;;
    lab-two-adapters) topology=(--wan --second 3) ;;
    *) echo "screenshot: no picture $picture" >&2; exit 2 ;;
  esac
  QT_QPA_PLATFORM=offscreen LANVISTA_SCREENSHOT=$PWD/docs/$picture.png \
    lab/lab.sh --devices 5 --devsim "$build/lanvista-devsim" "${topology[@]}" \
    --run "$build/tests/lab/lab_screenshot"
  echo "wrote docs/$picture.png"
done
