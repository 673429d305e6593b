#!/usr/bin/env bash
# Builds with clang and libc++ (the compiler and C++ library of macOS) in
# build-clang, every warning an error, and runs the unit and golden tests.
# GoogleTest is compiled there from Debian's source: the installed library is
# built against libstdc++.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh clang
bash scripts/build.sh build-clang -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-stdlib=libc++ -Werror" -DCMAKE_EXE_LINKER_FLAGS="-stdlib=libc++" \
    -DORRINRC_GTEST_SOURCE=/usr/src/googletest
# The package and editor grammar tests are about files, not the toolchain;
# the normal build runs them.
ctest --test-dir build-clang --output-on-failure -j"$(nproc)" -E '^(install|Grammar)\.'
