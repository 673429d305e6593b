#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 in build-windows and tests them
# under Wine: the unit tests (build-windows/orrinrc_tests.exe), then the
# golden cases and the compiler's option tests, run by this machine's test
# program (build/orrinrc_tests) against the .exe files, byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh windows
root=$PWD
bash scripts/build.sh build
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DORRINRC_GTEST_SOURCE=/usr/src/googletest >/dev/null
cmake --build build-windows -j"$(nproc)"
# One Wine prefix for the whole run: it is made at the first start.
export WINEPREFIX=${WINEPREFIX:-$root/build-windows/wine-prefix} WINEDEBUG=-all
# Wine's server stays up for the whole run: left to itself it quits a few
# seconds after its last program, and a program that starts just then can
# lose its link to it ("wine client error"). It is started before anything
# else runs in the prefix: a server already running refuses a second.
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot --init >/dev/null 2>&1 || true
# Runs a test stage; a stage that failed only because a program lost its
# link to Wine's server is run once more.
stage() {
    local log=build-windows/stage.log
    if "$@" 2>&1 | tee "$log"; then return 0; fi
    grep -q 'wine client error' "$log" || return 1
    echo "== Wine lost a program's link to its server: the stage again"
    "$@"
}
echo "== unit tests under Wine"
stage bash -c 'cd build-windows && wine orrinrc_tests.exe --gtest_brief=1'
echo "== golden cases and option tests against the Windows programs"
stage env ORRINRC_TEST_PROGRAMS="wine '$root/build-windows/{}.exe'" build/orrinrc_tests --gtest_brief=1 \
    --gtest_filter='Cases/Golden.*:Options.*'
echo "== the ZIP package"
(cd build-windows && cpack -G ZIP >/dev/null)
zip=build-windows/orrinrc-$(sed -n 's/^project(orrinrc VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)-win64.zip
cmake -E tar tf "$zip" >build-windows/zip-contents
for f in bin/orrinrc.exe bin/orrinrc-check.exe bin/orrinrc-dump.exe bin/orrinrc-lsp.exe bin/orrinrc-preview.exe LICENSE.txt \
    lib/cmake/OrrinRC/OrrinRCConfig.cmake share/doc/orrinrc/README.md share/doc/orrinrc/man/orrinrc.1.txt; do
    grep -q "/$f\$" build-windows/zip-contents || { echo "FAIL: $f is not in $zip" >&2; exit 1; }
done
# find_package(OrrinRC) names the .exe files.
grep -q 'orrinrc-check\.exe' build-windows/_CPack_Packages/win64/ZIP/*/lib/cmake/OrrinRC/OrrinRCTargets-release.cmake ||
    { echo "FAIL: the CMake package does not name orrinrc-check.exe" >&2; exit 1; }
# The programs need no DLL beyond Windows' own.
for exe in build-windows/orrinrc*.exe; do
    [[ $exe == *orrinrc_tests.exe ]] && continue
    other=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' |
        grep -viE '^(kernel32|msvcrt|user32|advapi32|shell32|ole32|ws2_32|mswsock|bcrypt|crypt32)\.dll$' || true)
    [ -z "$other" ] || { echo "FAIL: $exe needs $other" >&2; exit 1; }
done
echo "windows tests passed"
