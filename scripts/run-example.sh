#!/usr/bin/env bash
# Builds the compiler alone (no tests, no companion programs) in
# build-example/ and compiles the bundled example in examples/ into
# build-example/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh build
cmake -S . -B build-example -DCMAKE_BUILD_TYPE=Release -DORRINRC_TESTS=OFF >/dev/null
cmake --build build-example -j"$(nproc)" --target orrinrc
out=$PWD/build-example/example
mkdir -p "$out"
# Run in examples/, where the text names its pictures.
cd examples
../build-example/orrinrc -o "$out" example.rc
echo
echo "resource.h:"
cat "$out/resource.h"
echo "resource.bin: $(wc -c <"$out/resource.bin") bytes in $out"
