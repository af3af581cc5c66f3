#!/usr/bin/env bash
# Installs what is missing, builds from nothing and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
rm -rf build
scripts/build.sh build
ctest --test-dir build --output-on-failure -j 2
