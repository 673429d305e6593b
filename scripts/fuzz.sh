#!/usr/bin/env bash
# Coverage-guided fuzzing of orrinrc.
#
#   scripts/fuzz.sh compile MINUTES    whole compilations in memory under
#                                      libFuzzer: a resource text and the
#                                      pictures it names, each run checked
#                                      and repeated (fuzz/compile_fuzz.cpp)
#   scripts/fuzz.sh check MINUTES      orrinrc-check in-process over the same
#                                      inputs, checked against the compiler
#                                      (fuzz/check_fuzz.cpp)
#   scripts/fuzz.sh bmp MINUTES        the BMP import alone under libFuzzer
#   scripts/fuzz.sh dump MINUTES       orrinrc-dump's reading of resource.bin
#                                      (decoding, listing, resource text)
#                                      under libFuzzer
#   scripts/fuzz.sh compiler MINUTES   the orrinrc program under AFL++, one
#                                      process per input: reading the text
#                                      from a file, pictures from disk through
#                                      the run's picture cache, outputs as
#                                      real files under a file size limit
#
# The compile and check inputs are a resource text followed by sections
# that start at a line beginning with "%%": "%%picture NAME" and the BMP
# file of that name, "%%limit BIN H" and the size limits of resource.bin
# and resource.h (fuzz/harness.h; docs/fuzzing.md). Their corpus is seeded
# from every golden case's resource text with the BMP files beside it, from
# the examples, and from the BMP import's seeds as BITMAP pictures. Their
# builds flush the outputs every few hundred bytes (ORRINRC_SMALL_BUFFERS).
#
# All builds have AddressSanitizer and UndefinedBehaviorSanitizer; the
# libFuzzer ones run a single job in one process (no -jobs, no -fork). Work
# folders live in build-fuzz/<target>/ and are kept between runs (the corpus
# grows). Findings land in build-fuzz/<target>/findings/ (libFuzzer) and in
# build-fuzz/compiler/out/default/crashes and hangs (AFL++). A hang is a run
# over 1 second (2 for compile, check and dump) on an input under 64 KB.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

target=${1:-}
minutes=${2:-}
if [[ ! "$target" =~ ^(compile|check|bmp|dump|compiler)$ || ! "$minutes" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 compile|check|bmp|dump|compiler MINUTES" >&2
    exit 1
fi
seconds=$((minutes * 60))

bash scripts/setup.sh build
install_packages() {
    echo "installing: $*"
    local sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$@" >/dev/null
}
need=()
command -v clang++ >/dev/null 2>&1 || need+=(clang)
[ "$target" = dump ] && ! command -v xxd >/dev/null 2>&1 && need+=(xxd)
[ "$target" = compiler ] && ! command -v afl-fuzz >/dev/null 2>&1 && need+=(afl++)
[ ${#need[@]} -eq 0 ] || install_packages "${need[@]}"
# libFuzzer's runtime comes with clang's runtime libraries, which a minimal
# install of clang may lack.
if [ "$target" != compiler ]; then
    probe=$(mktemp -d)
    echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/p.cpp"
    clang++ -fsanitize=fuzzer "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1 || install_packages libclang-rt-dev
    rm -rf "$probe"
fi

work=$root/build-fuzz/$target
mkdir -p "$work"

# The dictionary of resource text: every quoted literal of the rule file
# (keywords, "=" and the like), the line structure around them, and the
# picture names of the golden cases. For the in-memory targets also the
# section lines.
write_text_dict() {
    local dict=$1 sections=$2
    {
        sed -n '/^%%$/,/^%%$/p' src/scanner/resource.l | grep -o '"[^"\\%]\{1,40\}"' | sort -u |
            awk '{ printf "k%d=%s\n", NR, $0 }'
        printf 'nl="\\x0a"\ncrlf="\\x0d\\x0a"\ncr="\\x0d"\nctrl_z="\\x1a"\nnul="\\x00"\n'
        printf 'eq="="\nprefix="(x) "\nminus="-"\nbig="65535"\nhuge="4294967296"\n'
        find tests/golden examples -name '*.bmp' -printf '%f\n' | sort -u | while read -r f; do
            printf 'bmp_%s="%s"\n' "$(basename "$f" .bmp | tr -c 'A-Za-z0-9_\n' _)" "$f"
        done
        if [ "$sections" = yes ]; then
            printf 'picture="\\x0a%%%%picture "\nlimit="\\x0a%%%%limit "\nbm="BM"\n'
        fi
    } >"$dict"
}

# Seeds of the in-memory targets: each resource text of the golden cases and
# the examples, followed by the BMP files of its folder; the golden cases
# that run under a file size limit or on a full disk get the matching limits.
write_text_seeds() {
    local seeds=$1 dir f name limit
    mkdir -p "$seeds"
    for dir in tests/golden/*/ examples/; do
        dir=${dir%/}
        limit=
        if [ -f "$dir/setup" ]; then
            if blocks=$(grep -o 'ulimit -f [0-9]*' "$dir/setup" | grep -o '[0-9]*$'); then
                limit="$((blocks * 512)) $((blocks * 512))"
            fi
            grep -q '/dev/full resource.bin' "$dir/setup" && limit="0 4194304"
            grep -q '/dev/full resource.h' "$dir/setup" && limit="4194304 0"
        fi
        for f in "$dir"/*.rc; do
            [ -f "$f" ] || continue
            [ "$(stat -c %s "$f")" -lt 65536 ] || continue
            name=$(basename "$dir")_$(basename "$f" .rc)
            {
                cat "$f"
                # A section starts a line.
                [ -z "$(tail -c 1 "$f")" ] || printf '\n'
                [ -z "$limit" ] || printf '%%%%limit %s\n' "$limit"
                for bmp in "$dir"/*.bmp; do
                    [ -f "$bmp" ] || continue
                    printf '%%%%picture %s\n' "$(basename "$bmp")"
                    cat "$bmp"
                done
            } >"$seeds/$name"
        done
    done
    # The BMP import's seeds as the picture of a BITMAP definition of the
    # width, height and depth that their first six bytes give.
    for f in fuzz/seeds/bmp/*; do
        [ -f "$f" ] || continue
        read -r width height depth < <(echo $(od -An -t d2 -N 4 "$f") $(od -An -t u1 -j 4 -N 1 "$f"))
        word=Q_FOUR_BIT
        [ "$depth" = 2 ] && word=Q_TWO_BIT
        {
            printf 'NAME=Picture\n#BITMAP\nID=1\nOBJECT.TYPE=BITMAP\nBITMAP_BITMAP.WIDTH=%s\nBITMAP_BITMAP.HEIGHT=%s\n' \
                "$width" "$height"
            printf 'BITMAP_BITMAP.FILE=%s, p.bmp\n#END_BITMAP\n%%%%picture p.bmp\n' "$word"
            tail -c +7 "$f"
        } >"$seeds/bmp_$(basename "$f")"
    done
    # A picture that is an empty file.
    if [ -f tests/golden/hostile_bmp_empty/input.rc ]; then
        { cat tests/golden/hostile_bmp_empty/input.rc; printf '%%%%picture empty.bmp\n'; } >"$seeds/hostile_bmp_empty_input"
    fi
}

# Runs a libFuzzer target over its corpus; prints the final statistics and
# the findings.
run_libfuzzer() {
    local binary=$1
    shift
    mkdir -p "$work/corpus" "$work/findings"
    export ASAN_OPTIONS=abort_on_error=1:detect_leaks=0:allocator_may_return_null=0
    export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
    "$binary" "$work/corpus" "$@" -use_value_profile=1 \
        -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -malloc_limit_mb=1024 \
        -artifact_prefix="$work/findings/" -print_final_stats=1 >"$work/libfuzzer.log" 2>&1 ||
        { tail -60 "$work/libfuzzer.log"; exit 1; }
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$work/libfuzzer.log"
    grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)' "$work/libfuzzer.log" || true
    ls "$work/findings"
}

configure_libfuzzer() {
    build=$work/build
    CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORRINRC_SANITIZE=ON -DORRINRC_FUZZ=ON -DORRINRC_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target "$1"
}

case "$target" in
compile | check)
    configure_libfuzzer "${target}_fuzz"
    write_text_seeds "$work/seeds"
    write_text_dict "$work/orrinrc.dict" yes
    # A run compiles its input three times (and the checker twice), with
    # output buffers of a few hundred bytes: a grid of 65535 cells declared in
    # a few lines takes most of a second under the sanitizers.
    timeout=2
    cd "$work"
    run_libfuzzer "$build/${target}_fuzz" "$work/seeds" -dict="$work/orrinrc.dict" -timeout="$timeout"
    ;;
bmp)
    configure_libfuzzer bmp_fuzz
    # The target writes each input to a temporary file: keep it in memory.
    [ -d /dev/shm ] && export TMPDIR=/dev/shm
    cd "$work"
    run_libfuzzer "$build/bmp_fuzz" "$root/fuzz/seeds/bmp" -dict="$root/fuzz/bmp.dict" -timeout=1
    ;;
dump)
    configure_libfuzzer dump_fuzz
    # Seeds: the resource.bin of every golden case (kept there as a hex
    # listing), finished or not.
    mkdir -p "$work/seeds"
    for f in tests/golden/*/expected/resource.bin.hex; do
        [ -s "$f" ] && [ "$(head -c 9 "$f")" != "<no file>" ] || continue
        xxd -r "$f" >"$work/seeds/$(basename "$(dirname "$(dirname "$f")")").bin"
    done
    cd "$work"
    run_libfuzzer "$build/dump_fuzz" "$work/seeds" -timeout=2
    ;;
compiler)
    build=$work/build
    CC=afl-clang-fast CXX=afl-clang-fast++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORRINRC_SANITIZE=ON -DORRINRC_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target orrinrc

    # Seeds: every golden input small enough to count, and the examples.
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
    write_text_dict "$work/orrinrc.dict" no

    export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 AFL_AUTORESUME=1
    # Allocating gigabytes is a finding too.
    export ASAN_OPTIONS=abort_on_error=1:detect_leaks=0:symbolize=0:allocator_may_return_null=0:max_allocation_size_mb=1024:hard_rss_limit_mb=2048
    export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:symbolize=0
    # A few lines can declare a table of gigabytes that the compiler rightly
    # writes out; past 64 MB a run stops with its write error (exit 3)
    # instead of filling the disk and passing for a hang.
    ulimit -f $((64 * 1024))
    cd "$work/run"
    afl-fuzz -i "$work/seeds" -o "$work/out" -x "$work/orrinrc.dict" -t 1000 -G 65535 -V "$seconds" \
        -- "$build/orrinrc" @@ >"$work/afl.log" 2>&1 || { tail -30 "$work/afl.log"; exit 1; }
    stats=$work/out/default/fuzzer_stats
    grep -E '^(run_time|execs_done|execs_per_sec|corpus_count|saved_crashes|saved_hangs|bitmap_cvg)' "$stats"
    ls "$work/out/default/crashes" "$work/out/default/hangs" 2>/dev/null | grep -v README || true
    ;;
esac
