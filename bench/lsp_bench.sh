#!/usr/bin/env bash
# Benchmark of the language server: opens a generated document in a Release
# build of orrinrc-lsp, as an editor does, and times the first diagnostics,
# a completion and the document's symbols, with the server's peak memory.
#
#   bash bench/lsp_bench.sh [seed]      (default: 1)
#
# Three documents: one of many small definitions (40,000 STRING resources,
# 4.4 MB), and the realistic screens of bench/gen_rc.cpp at 1 MB and 16 MB.
# bench/lsp_client.cpp drives the server; see there for what each figure
# measures. The symbols are asked for five times: the first answer and the
# best are shown. Set ORRINRC_BENCH_LSP_BIN=path/to/orrinrc-lsp to measure
# another binary. MB = 2^20 bytes.
set -euo pipefail

seed=${1:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench

if [[ -z ${ORRINRC_BENCH_LSP_BIN:-} ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORRINRC_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target orrinrc-lsp >/dev/null
fi
lsp=$(realpath "${ORRINRC_BENCH_LSP_BIN:-$build/orrinrc-lsp}")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
${CXX:-c++} -O2 -std=c++17 -o "$tmp/gen_rc" "$root/bench/gen_rc.cpp"
${CXX:-c++} -O2 -std=c++17 -o "$tmp/lsp_client" "$root/bench/lsp_client.cpp"

# Many small definitions: what the document's outline has most to list.
mkdir -p "$tmp/defs"
awk 'BEGIN {
    for (i = 1; i <= 40000; i++)
        printf "#STRING\nID=%d\nNAME=S%05d\nOBJECT.TYPE=STRING\nSTRING_FONT_COLOR=COLOR_BLACK\nSTRING_TEXT=Contact %d\n#END_STRING\n", i, i, i
}' >"$tmp/defs/bench.rc"
echo "== 40,000 definitions"
"$tmp/lsp_client" "$lsp" "$tmp/defs/bench.rc"

for mb in 1 16; do
    mkdir -p "$tmp/$mb"
    "$tmp/gen_rc" "$tmp/$mb" "$mb" "$seed"
    echo "== $mb MB of screens (seed $seed)"
    "$tmp/lsp_client" "$lsp" "$tmp/$mb/bench.rc"
done
