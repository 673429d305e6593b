#!/usr/bin/env bash
# The README's examples, run: they must print what the README shows.
#
#   readme_examples.sh README BIN_DIR SOURCE_DIR
#
# The README marks them with HTML comments, which do not show when it is
# rendered; each applies to the indented block that follows it:
#
#   <!-- file: NAME -->         the block is the content of the file NAME
#   <!-- session -->            the block is a terminal session: lines
#   <!-- session: SETUP -->     starting with "$ " are commands, the lines
#                               after each what it prints (both streams)
#
# Every session runs in a fresh folder holding every file block and dot.bmp
# (a 4 x 2 picture, as app.rc needs), after the shell commands SETUP, with
# BIN_DIR first in PATH and $ORRINRC_SOURCE_DIR naming the source tree.
set -euo pipefail
readme=$1
bin=$(cd "$2" && pwd)
ORRINRC_SOURCE_DIR=$(cd "$3" && pwd)
export ORRINRC_SOURCE_DIR
export PATH="$bin:$PATH"
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
mkdir "$work/files" "$work/sessions"

# Splits the README into files/NAME and sessions/N/{setup,block}.
awk -v work="$work" '
function finish() {
    while (n > 0 && lines[n] == "") n--
    for (i = 1; i <= n; i++) print substr(lines[i], indent + 1) > target
    close(target)
    n = 0; target = ""
}
target != "" {
    if ($0 == "") { if (n > 0) lines[++n] = ""; next }
    match($0, /^ */)
    if (indent < 0) indent = RLENGTH
    if (RLENGTH >= indent && indent >= 4) { lines[++n] = $0; next }
    finish()
}
/^ *<!-- file: .* -->$/ {
    name = $0; sub(/^ *<!-- file: /, "", name); sub(/ -->$/, "", name)
    target = work "/files/" name; indent = -1; next
}
/^ *<!-- session(: .*)? -->$/ {
    setup = $0; sub(/^ *<!-- session:? ?/, "", setup); sub(/ ?-->$/, "", setup)
    dir = work "/sessions/" sprintf("%03d", ++sessions)
    system("mkdir " dir)
    printf "%s\n", setup > (dir "/setup"); close(dir "/setup")
    target = dir "/block"; indent = -1; next
}
END { if (target != "") finish() }
' "$readme"

# dot.bmp: 4 x 2 pixels, 24 bits, four greys a row.
le32() {
    # shellcheck disable=SC2059
    printf "$(printf '\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"
}
{
    printf 'BM'; le32 78; le32 0; le32 54
    le32 40; le32 4; le32 2; printf '\x01\x00\x18\x00'; le32 0; le32 24; le32 2835; le32 2835; le32 0; le32 0
    for grey in 00 55 aa ff ff aa 55 00; do printf "\\x$grey\\x$grey\\x$grey"; done
} >"$work/files/dot.bmp"

failed=0
count=0
for dir in "$work"/sessions/*/; do
    [ -e "$dir/block" ] || continue
    count=$((count + 1))
    run=$work/run
    rm -rf "$run"
    cp -r "$work/files" "$run"
    transcript=$dir/transcript
    : >"$transcript"
    (
        cd "$run"
        eval "$(cat "$dir/setup")" || true  # a setup may compile a broken text on purpose
        while IFS= read -r line; do
            case $line in
            '$ '*)
                printf '%s\n' "$line" >>"$transcript"
                eval "${line#\$ }" >>"$transcript" 2>&1 </dev/null || true
                ;;
            esac
        done <"$dir/block"
    )
    if ! diff -u "$dir/block" "$transcript" >"$dir/diff"; then
        echo "FAIL: the README's session starting with '$(head -1 "$dir/block")' prints otherwise:" >&2
        cat "$dir/diff" >&2
        failed=1
    fi
done
[ "$count" -gt 0 ] || { echo "FAIL: no session found in $readme" >&2; exit 1; }
[ "$failed" = 0 ] || exit 1
echo "$count sessions as shown"
