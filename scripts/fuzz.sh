#!/usr/bin/env bash
# Coverage-guided fuzzing of orrinrc.
#
#   scripts/fuzz.sh compiler MINUTES   whole compiler runs under AFL++
#   scripts/fuzz.sh bmp MINUTES        the BMP import alone under libFuzzer
#   scripts/fuzz.sh dump MINUTES       orrinrc-dump's reading of resource.bin
#                                      (decoding, listing, resource text)
#                                      under libFuzzer
#
# The compiler ends the process on every error (exit codes 1 to 4), so it is
# fuzzed as a program: AFL++ starts it through its fork server, one process
# per input, which also gives every input fresh static records. The BMP
# import returns its error instead of exiting, so it runs in-process under
# libFuzzer, and so does the dump tool's reading, which reports faults as
# exceptions. All builds have AddressSanitizer and UndefinedBehaviorSanitizer.
#
# Work folders live in build-fuzz/<target>/ and are kept between runs (the
# corpus grows); findings land in build-fuzz/compiler/out/default/crashes and
# hangs, and in build-fuzz/bmp/findings and build-fuzz/dump/findings. A hang is a run over 1 second on an
# input under 64 KB.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

target=${1:-}
minutes=${2:-}
if [[ ! "$target" =~ ^(compiler|bmp|dump)$ || ! "$minutes" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 compiler|bmp|dump MINUTES" >&2
    exit 1
fi
seconds=$((minutes * 60))

bash scripts/setup.sh
need=()
command -v clang++ >/dev/null 2>&1 || need+=(clang)
[ "$target" = compiler ] && ! command -v afl-fuzz >/dev/null 2>&1 && need+=(afl++)
if [ ${#need[@]} -gt 0 ]; then
    echo "installing: ${need[*]}"
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${need[@]}" >/dev/null
fi

work=$root/build-fuzz/$target
mkdir -p "$work"

if [ "$target" = compiler ]; then
    build=$work/build
    CC=afl-clang-fast CXX=afl-clang-fast++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORRINRC_SANITIZE=ON -DORRINRC_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target orrinrc

    # Seeds: every golden input small enough to count, and the example.
    mkdir -p "$work/seeds" "$work/run"
    for f in tests/golden/*/input.rc examples/*.rc; do
        [ -f "$f" ] || continue
        [ "$(stat -c %s "$f")" -lt 65536 ] || continue
        name=$(basename "$(dirname "$f")")_$(basename "$f")
        cp "$f" "$work/seeds/$name"
    done
    # The BMP files that golden inputs name, side by side in the folder
    # where the compiler runs, so that mutated FILE= lines find pictures.
    find tests/golden -name '*.bmp' -exec cp {} "$work/run/" \;

    # Dictionary: every quoted literal of the rule file (keywords, "=" and
    # the like), and the line structure around them.
    dict=$work/orrinrc.dict
    {
        sed -n '/^%%$/,/^%%$/p' src/scanner/resource.l | grep -o '"[^"\\%]\{1,40\}"' | sort -u |
            awk '{ printf "k%d=%s\n", NR, $0 }'
        printf 'nl="\\x0a"\ncrlf="\\x0d\\x0a"\nctrl_z="\\x1a"\nnul="\\x00"\n'
        printf 'eq="="\nprefix="(x) "\nminus="-"\nbig="65535"\nhuge="4294967296"\n'
        for f in "$work"/run/*.bmp; do
            [ -f "$f" ] && printf 'bmp_%s="%s"\n' "$(basename "$f" .bmp | tr -c 'A-Za-z0-9_\n' _)" "$(basename "$f")"
        done
    } >"$dict"

    export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 AFL_AUTORESUME=1
    # Allocating gigabytes is a finding too.
    export ASAN_OPTIONS=abort_on_error=1:detect_leaks=0:symbolize=0:allocator_may_return_null=0:max_allocation_size_mb=1024:hard_rss_limit_mb=2048
    export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:symbolize=0
    # A few lines can declare a table of gigabytes that the compiler rightly
    # writes out; past 64 MB a run stops with its write error (exit 3)
    # instead of filling the disk and passing for a hang.
    ulimit -f $((64 * 1024))
    cd "$work/run"
    afl-fuzz -i "$work/seeds" -o "$work/out" -x "$dict" -t 1000 -G 65535 -V "$seconds" \
        -- "$build/orrinrc" @@ >"$work/afl.log" 2>&1 || { tail -30 "$work/afl.log"; exit 1; }
    stats=$work/out/default/fuzzer_stats
    grep -E '^(run_time|execs_done|execs_per_sec|corpus_count|saved_crashes|saved_hangs|bitmap_cvg)' "$stats"
    ls "$work/out/default/crashes" "$work/out/default/hangs" 2>/dev/null | grep -v README || true
elif [ "$target" = bmp ]; then
    build=$work/build
    CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORRINRC_SANITIZE=ON -DORRINRC_FUZZ=ON -DORRINRC_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target bmp_fuzz

    mkdir -p "$work/corpus" "$work/findings"
    export ASAN_OPTIONS=abort_on_error=1:detect_leaks=0:allocator_may_return_null=0
    export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
    # The target writes each input to a temporary file: keep it in memory.
    [ -d /dev/shm ] && export TMPDIR=/dev/shm
    "$build/bmp_fuzz" "$work/corpus" fuzz/seeds/bmp -dict=fuzz/bmp.dict -use_value_profile=1 \
        -max_total_time="$seconds" -timeout=1 -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
        -artifact_prefix="$work/findings/" -print_final_stats=1 >"$work/libfuzzer.log" 2>&1 ||
        { tail -40 "$work/libfuzzer.log"; exit 1; }
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$work/libfuzzer.log"
    ls "$work/findings"
else
    build=$work/build
    CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORRINRC_SANITIZE=ON -DORRINRC_FUZZ=ON -DORRINRC_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target dump_fuzz

    # Seeds: the resource.bin of every golden case (kept there as a hex
    # listing), finished or not.
    mkdir -p "$work/corpus" "$work/findings" "$work/seeds"
    command -v xxd >/dev/null 2>&1 || { echo "the dump seeds need xxd" >&2; exit 1; }
    for f in tests/golden/*/expected/resource.bin.hex; do
        [ -s "$f" ] && [ "$(head -c 9 "$f")" != "<no file>" ] || continue
        xxd -r "$f" >"$work/seeds/$(basename "$(dirname "$(dirname "$f")")").bin"
    done
    export ASAN_OPTIONS=abort_on_error=1:detect_leaks=0:allocator_may_return_null=0
    export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
    "$build/dump_fuzz" "$work/corpus" "$work/seeds" -use_value_profile=1 \
        -max_total_time="$seconds" -timeout=2 -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
        -artifact_prefix="$work/findings/" -print_final_stats=1 >"$work/libfuzzer.log" 2>&1 ||
        { tail -40 "$work/libfuzzer.log"; exit 1; }
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$work/libfuzzer.log"
    ls "$work/findings"
fi
