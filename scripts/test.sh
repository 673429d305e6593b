#!/usr/bin/env bash
# Builds and runs every test: the normal build, then the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
ctest --test-dir build --output-on-failure -j"$(nproc)"
bash scripts/build.sh build-sanitize -DCMAKE_BUILD_TYPE=Debug -DORRINRC_SANITIZE=ON
# A report ends the process at once with its own exit code, which no
# expected exit code of the compiler can mistake for a normal error.
ASAN_OPTIONS=halt_on_error=1:detect_leaks=0:exitcode=23 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1:exitcode=23 \
    ctest --test-dir build-sanitize --output-on-failure -j"$(nproc)"
echo "all tests passed"
