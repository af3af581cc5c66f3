#!/usr/bin/env bash
# Configures and builds into build/ (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}; shift || true
cmake -S . -B "$dir" "$@"
cmake --build "$dir" -j "$(nproc)"
