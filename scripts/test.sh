#!/usr/bin/env bash
# Installs what is missing, builds from nothing and runs every test: the normal build, its
# Debian package built, checked, installed and removed again, the whole suite again under
# AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer, a short run of each fuzz
# target, then the Windows build and its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# Where the time goes, for a run that has to stay short.
done_with() { echo "test.sh: $1 done, ${SECONDS} s since the start"; }
scripts/install-deps.sh
done_with "installing"
rm -rf build
scripts/build.sh build
done_with "the build"
ctest --test-dir build --output-on-failure -j 2
done_with "the tests"
scripts/package-check.sh build
done_with "the package check"

# Any sanitizer finding ends its test with an error. Leaks inside system libraries
# only are suppressed (tests/sanitizers/lsan.supp says which and why).
rm -rf build-asan
scripts/build.sh build-asan -DLANVISTA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
done_with "the sanitizer build"
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
ctest --test-dir build-asan --output-on-failure -j 2
done_with "the tests under the sanitizers"
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

# libFuzzer needs clang; only the fuzz targets are built there.
rm -rf build-fuzz
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz --target lanvista_fuzzers -j "$(nproc)"
fuzz/run.sh build-fuzz 10
done_with "fuzzing"

# Cross-built with mingw-w64; its networked tests use the Linux build's lanvista-devsim.
scripts/test-windows.sh
done_with "the Windows build and its tests"
