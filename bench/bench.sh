#!/usr/bin/env bash
# Benchmark: compiles a generated resource text of about 64 MB (and one of
# 8 MB, to show that time grows linearly and memory stays flat) with a
# Release build of orrinrc, and compares it with `wc -l` on the same file as
# the floor of what reading the bytes costs.
#
#   bash bench/bench.sh [megabytes] [seed]      (defaults: 64 and 1)
#
# Each timing is the best of five runs; peak memory is the largest of them.
# Set ORRINRC_BENCH_BIN=path/to/orrinrc to measure another binary.
#
# orrinrc-dump is measured on the compiled output too: its listing (best of
# five, with resource.h) and one --text run, each with its peak memory, which
# should stay flat from the small input to the large one. Set
# ORRINRC_BENCH_DUMP_BIN=path/to/orrinrc-dump to measure another binary.
#
# orrinrc-check runs on the same input (best of five CPU times, its
# diagnostics sent to /dev/null as users redirect them), next to the
# compile's CPU time. Set ORRINRC_BENCH_CHECK_BIN=path/to/orrinrc-check to
# measure another binary.
#
# Under the check, its floor (bench/run_floor.cpp, best of five CPU times):
# the same run with both outputs going nowhere, without a listener and with
# one that ignores every event. What the check costs above the second is the
# checker's own work. Set ORRINRC_BENCH_FLOOR_BIN=path/to/orrinrc-bench-floor
# to measure another binary; without a build of this checkout and without
# that variable, the floor is left out.
# One line per figure; the last line is the throughput. MB = 2^20 bytes.
set -euo pipefail

big=${1:-64}
seed=${2:-1}
small=8
runs=5

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-bench

command -v /usr/bin/time >/dev/null || { echo "bench needs GNU time (/usr/bin/time)" >&2; exit 1; }
[[ -n ${EPOCHREALTIME:-} ]] || { echo "bench needs bash 5 or later" >&2; exit 1; }

# ORRINRC_BENCH_BIN names a binary to measure instead of a fresh Release
# build of this checkout (to compare two versions on the same input).
if [[ -z ${ORRINRC_BENCH_BIN:-} || -z ${ORRINRC_BENCH_DUMP_BIN:-} || -z ${ORRINRC_BENCH_CHECK_BIN:-} ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DORRINRC_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target orrinrc orrinrc-dump orrinrc-check orrinrc-bench-floor >/dev/null
    floor=$build/orrinrc-bench-floor
fi
floor=${ORRINRC_BENCH_FLOOR_BIN:-${floor:-}}
[[ -n $floor ]] && floor=$(realpath "$floor")
orrinrc=$(realpath "${ORRINRC_BENCH_BIN:-$build/orrinrc}")
dump=$(realpath "${ORRINRC_BENCH_DUMP_BIN:-$build/orrinrc-dump}")
checker=$(realpath "${ORRINRC_BENCH_CHECK_BIN:-$build/orrinrc-check}")

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
${CXX:-c++} -O2 -std=c++17 -o "$tmp/gen_rc" "$root/bench/gen_rc.cpp"

# now_us: the wall clock in microseconds.
now_us() { local t=${EPOCHREALTIME/./}; echo "${t#0}"; }

# mbps <bytes> <microseconds>
mbps() { awk -v b="$1" -v us="$2" 'BEGIN { printf "%.1f", (b / 1048576) / (us / 1e6) }'; }
secs() { awk -v us="$1" 'BEGIN { printf "%.3f", us / 1e6 }'; }
mb() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

# best_cpu_of <folder> <program> <arguments...>: the best of $runs CPU times
# (user + system, in microseconds) of the program run in the folder, its
# exit code ignored; nothing when there is no program.
best_cpu_of() {
    local dir=$1 program=$2 best=0 i cpu
    shift 2
    [[ -n $program ]] || return 0
    for ((i = 0; i < runs; i++)); do
        (cd "$dir" && /usr/bin/time -f '%U %S' -o "$dir/cpu" "$program" "$@" >/dev/null 2>&1) || true
        cpu=$(tail -n 1 "$dir/cpu" | awk '{ printf "%d\n", ($1 + $2) * 1e6 }')
        ((best == 0 || cpu < best)) && best=$cpu
    done
    echo "$best"
}

# measure <megabytes>: sets bytes, resources, imports, best_us, best_cpu,
# wc_us, peak_kb, check_cpu, check_kb, check_lines, bare_cpu and listened_cpu.
measure() {
    local dir=$tmp/$1
    mkdir -p "$dir"
    "$tmp/gen_rc" "$dir" "$1" "$seed"
    bytes=$(stat -c %s "$dir/bench.rc")
    resources=$(grep -c '^#END_' "$dir/bench.rc" || true)
    imports=$(grep -ci '[._]FILE=' "$dir/bench.rc" || true)
    best_us=0
    best_cpu=0
    peak_kb=0
    local i start end kb cpu
    for ((i = 0; i < runs; i++)); do
        # Each run starts from an output folder without resource.bin and
        # resource.h, as a clean build does.
        rm -f "$dir"/resource.bin "$dir"/resource.h
        start=$(now_us)
        if ! (cd "$dir" && /usr/bin/time -f '%M %U %S' -o "$dir/rss" "$orrinrc" bench.rc >/dev/null); then
            echo "orrinrc failed on the generated input:" >&2
            (cd "$dir" && "$orrinrc" bench.rc | tail -n 3) >&2
            exit 1
        fi
        end=$(now_us)
        read -r kb cpu < <(tail -n 1 "$dir/rss" | awk '{ printf "%d %d\n", $1, ($2 + $3) * 1e6 }')
        ((kb > peak_kb)) && peak_kb=$kb
        ((best_us == 0 || end - start < best_us)) && best_us=$((end - start))
        ((best_cpu == 0 || cpu < best_cpu)) && best_cpu=$cpu
    done
    if [[ $(od -An -tu4 -N4 "$dir/resource.bin" | tr -d ' ') != $(stat -c %s "$dir/resource.bin") ]]; then
        echo "resource.bin's total-length field does not match its size" >&2
        exit 1
    fi
    # The listing of what was just compiled, then its resource text.
    rm -f "$dir"/resource.bin "$dir"/resource.h
    (cd "$dir" && "$orrinrc" bench.rc >/dev/null)
    list_us=0
    list_kb=0
    for ((i = 0; i < runs; i++)); do
        start=$(now_us)
        (cd "$dir" && /usr/bin/time -f '%M' -o "$dir/rss" "$dump" resource.bin resource.h >/dev/null) ||
            { echo "orrinrc-dump failed on the compiled input" >&2; exit 1; }
        end=$(now_us)
        kb=$(tail -n 1 "$dir/rss")
        ((kb > list_kb)) && list_kb=$kb
        ((list_us == 0 || end - start < list_us)) && list_us=$((end - start))
    done
    rm -rf "$dir/text"
    start=$(now_us)
    (cd "$dir" && /usr/bin/time -f '%M' -o "$dir/rss" "$dump" --text text resource.bin resource.h >/dev/null) ||
        { echo "orrinrc-dump --text failed on the compiled input" >&2; exit 1; }
    end=$(now_us)
    text_us=$((end - start))
    text_kb=$(tail -n 1 "$dir/rss")
    bin_bytes=$(stat -c %s "$dir/resource.bin")
    rm -rf "$dir/text"
    # The checker on the same text; its exit code is 0 or 1 (warnings).
    check_cpu=0
    check_kb=0
    for ((i = 0; i < runs; i++)); do
        (cd "$dir" && /usr/bin/time -f '%M %U %S' -o "$dir/rss" "$checker" bench.rc >/dev/null 2>&1) || true
        read -r kb cpu < <(tail -n 1 "$dir/rss" | awk '{ printf "%d %d\n", $1, ($2 + $3) * 1e6 }')
        ((kb > check_kb)) && check_kb=$kb
        ((check_cpu == 0 || cpu < check_cpu)) && check_cpu=$cpu
    done
    check_lines=$(cd "$dir" && "$checker" bench.rc 2>&1 >/dev/null | wc -l || true)
    bare_cpu=$(best_cpu_of "$dir" "$floor" bench.rc)
    listened_cpu=$(best_cpu_of "$dir" "$floor" --listener bench.rc)
    wc_us=0
    for ((i = 0; i < runs; i++)); do
        start=$(now_us)
        wc -l <"$dir/bench.rc" >/dev/null
        end=$(now_us)
        ((wc_us == 0 || end - start < wc_us)) && wc_us=$((end - start))
    done
    rm -f "$dir"/resource.bin "$dir"/resource.h
}

report() {
    local label=$1
    printf '%-28s %s MB, %s resources, %s bitmap imports (seed %s)\n' "$label input" "$(mb "$bytes")" "$resources" "$imports" "$seed"
    printf '%-28s %s s\n' "$label compile time" "$(secs "$best_us")"
    printf '%-28s %s s (user + system)\n' "$label CPU time" "$(secs "$best_cpu")"
    printf '%-28s %s s\n' "$label wc -l time" "$(secs "$wc_us")"
    printf '%-28s %s x wc -l\n' "$label ratio" "$(awk -v a="$best_us" -v b="$wc_us" 'BEGIN { printf "%.1f", a / b }')"
    printf '%-28s %s MB\n' "$label peak memory" "$(awk -v k="$peak_kb" 'BEGIN { printf "%.1f", k / 1024 }')"
    printf '%-28s %s s, %s x the compile time, peak %s MB (resource.bin %s MB)\n' "$label dump listing" \
        "$(secs "$list_us")" "$(awk -v a="$list_us" -v b="$best_us" 'BEGIN { printf "%.2f", a / b }')" \
        "$(awk -v k="$list_kb" 'BEGIN { printf "%.1f", k / 1024 }')" "$(mb "$bin_bytes")"
    printf '%-28s %s s, peak %s MB\n' "$label dump --text" "$(secs "$text_us")" \
        "$(awk -v k="$text_kb" 'BEGIN { printf "%.1f", k / 1024 }')"
    printf '%-28s %s s CPU, %s x the compile CPU time, peak %s MB (%s lines of diagnostics)\n' "$label check" \
        "$(secs "$check_cpu")" "$(awk -v a="$check_cpu" -v b="$best_cpu" 'BEGIN { printf "%.2f", a / b }')" \
        "$(awk -v k="$check_kb" 'BEGIN { printf "%.1f", k / 1024 }')" "$check_lines"
    [[ -n $bare_cpu ]] || return 0
    printf '%-28s %s s CPU, %s x the compile CPU time\n' "$label run, no listener" \
        "$(secs "$bare_cpu")" "$(awk -v a="$bare_cpu" -v b="$best_cpu" 'BEGIN { printf "%.2f", a / b }')"
    printf '%-28s %s s CPU, %s x the compile CPU time\n' "$label run, empty listener" \
        "$(secs "$listened_cpu")" "$(awk -v a="$listened_cpu" -v b="$best_cpu" 'BEGIN { printf "%.2f", a / b }')"
}

measure "$small"
small_bytes=$bytes small_us=$best_us
report "${small} MB:"
printf '%-28s %s MB/s\n' "${small} MB: throughput" "$(mbps "$bytes" "$best_us")"

measure "$big"
report "${big} MB:"
printf '%-28s %s x the time for %s x the bytes\n' "linear time" \
    "$(awk -v a="$best_us" -v b="$small_us" 'BEGIN { printf "%.2f", a / b }')" \
    "$(awk -v a="$bytes" -v b="$small_bytes" 'BEGIN { printf "%.2f", a / b }')"
printf '%-28s %s MB/s\n' "${big} MB: throughput" "$(mbps "$bytes" "$best_us")"
