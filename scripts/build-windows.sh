#!/usr/bin/env bash
# Cross-builds the Windows programs and their tests with mingw-w64 into build-windows/ (or the
# folder given); further arguments go to CMake. The tests run under Wine:
# ctest --test-dir build-windows.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --windows
dir=${1:-build-windows}; shift || true
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" "${launcher[@]}" "$@"
cmake --build "$dir" -j "$(nproc)"
