#!/usr/bin/env bash
# Builds orrinrc and compiles the bundled example in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
out=build/example
rm -rf "$out" && mkdir -p "$out"
cp examples/* "$out"/
cd "$out"
../orrinrc example.rc
echo
echo "resource.h:"
cat resource.h
echo "resource.bin: $(wc -c < resource.bin) bytes in $PWD"
