#!/usr/bin/env bash
# Installs what a fresh Debian machine may lack.
#
#   setup.sh          everything: the build, the tests (GoogleTest; Ninja,
#                     file and dpkg-dev for the tests that build the consumer
#                     example and the Debian package; Node.js and npm for
#                     the editor grammar's tests; Chromium for the preview
#                     page's browser test)
#   setup.sh build    only what building the programs needs (flex, CMake,
#                     g++, libpng for orrinrc-dump, the Boost headers for
#                     orrinrc-preview's HTTP server)
#   setup.sh clang    everything, and clang with libc++ (scripts/test-clang.sh)
#   setup.sh windows  everything, and the MinGW-w64 cross compiler, the
#                     single-header PNG writer of libstb-dev and Wine
#                     (scripts/test-windows.sh)
set -euo pipefail
need=()
command -v flex >/dev/null 2>&1 || need+=(flex)
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
[ -e /usr/include/png.h ] || need+=(libpng-dev)
[ -e /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
[ -e /usr/include/boost/beast.hpp ] || need+=(libboost-dev)
case ${1:-} in
clang)
    command -v clang++ >/dev/null 2>&1 || need+=(clang)
    [ -e /usr/lib/llvm-14/include/c++/v1/vector ] || [ -e /usr/include/c++/v1/vector ] || need+=(libc++-dev libc++abi-dev)
    [ -e /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
    ;;
windows)
    command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-x86-64-posix)
    [ -e /usr/include/stb/stb_image_write.h ] || need+=(libstb-dev)
    command -v wine >/dev/null 2>&1 || need+=(wine wine64)
    command -v groff >/dev/null 2>&1 || need+=(groff-base)
    [ -e /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
    ;;
esac
if [ "${1:-}" != build ]; then
    [ -e /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
    [ -e /usr/include/stb/stb_image.h ] || need+=(libstb-dev)
    command -v ninja >/dev/null 2>&1 || need+=(ninja-build)
    command -v file >/dev/null 2>&1 || need+=(file)
    command -v dpkg-shlibdeps >/dev/null 2>&1 || need+=(dpkg-dev)
    command -v node >/dev/null 2>&1 || need+=(nodejs)
    command -v npm >/dev/null 2>&1 || need+=(npm)
    command -v chromium >/dev/null 2>&1 || need+=(chromium)
fi
if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    # Wine's recommended packages (fonts, sound, graphics) are of no use to
    # programs that only read and write files.
    extra=()
    [ "${1:-}" != windows ] || extra=(--no-install-recommends)
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${extra[@]}" "${need[@]}" >/dev/null
fi
