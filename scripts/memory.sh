#!/usr/bin/env bash
# Shows that the compiler's peak memory does not grow with its input: builds
# the release binary, generates inputs of about 1 MB and 100 MB from every
# golden input that compiles cleanly (all twelve kinds, their BMP files side
# by side), compiles both and prints both peak resident sizes. They should
# differ by less than 2 MB; the script exits 1 when they do not.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/build.sh build >/dev/null
if [ ! -x /usr/bin/time ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq time >/dev/null
fi

work=$root/build-memory
rm -rf "$work" && mkdir -p "$work"
# One round: the golden inputs that end with exit code 0 and need no setup
# or arguments of their own; a Ctrl-Z would end the input early.
for dir in tests/golden/*/; do
    [ -f "$dir/args" ] || [ -f "$dir/setup" ] && continue
    [ "$(cat "$dir/expected/exit_code")" = 0 ] || continue
    grep -q $'\x1a' "$dir/input.rc" && continue
    cat "$dir/input.rc"
    echo
    cp "$dir"/*.bmp "$work"/ 2>/dev/null || true
done >"$work/round.rc"

# Repeats round.rc until the file holds at least $2 bytes: doubling while
# that stays below the size, then one round at a time.
grow() {
    local out=$1 want=$2
    cp "$work/round.rc" "$out"
    while [ $(($(stat -c %s "$out") * 2)) -le "$want" ]; do
        cat "$out" "$out" >"$out.next" && mv "$out.next" "$out"
    done
    while [ "$(stat -c %s "$out")" -lt "$want" ]; do
        cat "$work/round.rc" >>"$out"
    done
}
grow "$work/small.rc" $((1024 * 1024))
grow "$work/large.rc" $((100 * 1024 * 1024))

peak_kb() {
    (cd "$work" && /usr/bin/time -f '%M' -o "$work/time.txt" "$root/build/orrinrc" "$1" >/dev/null) ||
        { echo "orrinrc failed on $1" >&2; exit 1; }
    cat "$work/time.txt"
}
small=$(peak_kb small.rc)
large=$(peak_kb large.rc)
size_small=$(stat -c %s "$work/small.rc")
size_large=$(stat -c %s "$work/large.rc")
diff=$((large - small))
printf 'input %9d bytes (%d definitions): peak resident %6d KB\n' "$size_small" \
    "$(grep -c '^#END_' "$work/small.rc" || true)" "$small"
printf 'input %9d bytes (%d definitions): peak resident %6d KB\n' "$size_large" \
    "$(grep -c '^#END_' "$work/large.rc" || true)" "$large"
printf 'difference: %d KB\n' "$diff"
if [ "$diff" -ge 2048 ]; then
    echo "peak memory grows with the input"
    exit 1
fi
echo "peak memory is flat"
