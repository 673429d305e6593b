#!/usr/bin/env bash
# The installed package as its users meet it.
#
#   install_test.sh install SOURCE_DIR BUILD_DIR VERSION
#       installs BUILD_DIR into BUILD_DIR/install-test/prefix and checks the layout
#   install_test.sh consumer SOURCE_DIR BUILD_DIR GENERATOR
#       builds examples/consumer against that prefix with GENERATOR: first
#       build, no-op build, a touched picture that recompiles only the
#       resources, a changed one that recompiles only what holds it, a broken
#       resource text that fails with a located diagnostic and leaves the
#       outputs as they were, then the repaired text
#   install_test.sh deb SOURCE_DIR BUILD_DIR
#       makes the Debian package and checks its contents and dependencies
set -euo pipefail
mode=$1 src=$2 bin=$3
work=$bin/install-test
prefix=$work/prefix

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

case $mode in
install)
    version=$4
    rm -rf "$prefix"
    cmake --install "$bin" --prefix "$prefix" >/dev/null
    for f in bin/orrinrc bin/orrinrc-check bin/orrinrc-dump bin/orrinrc-lsp bin/orrinrc-preview \
        lib/cmake/OrrinRC/OrrinRCConfig.cmake lib/cmake/OrrinRC/OrrinRCConfigVersion.cmake \
        share/doc/orrinrc/README.md share/doc/orrinrc/examples/consumer/CMakeLists.txt; do
        [ -e "$prefix/$f" ] || fail "$f is not installed"
    done
    for page in "$src"/man/*.[15]; do
        [ -e "$page" ] || continue
        name=$(basename "$page")
        [ -e "$prefix/share/man/man${name##*.}/$name" ] || fail "man page $name is not installed"
    done
    # The package's version is the one the programs print.
    "$prefix/bin/orrinrc" --version | grep -q "version $version\$" || fail "orrinrc --version is not $version"
    for program in orrinrc-check orrinrc-dump orrinrc-lsp orrinrc-preview; do
        [ "$("$prefix/bin/$program" --version)" = "$program $version" ] || fail "$program --version is not $version"
    done
    # Every link of the installed guides to a file leads to an installed file.
    doc=$prefix/share/doc/orrinrc
    for guide in "$doc/README.md" "$doc/editors/README.md"; do
        { grep -o '](\([^)#]*\))' "$guide" || true; } | sed 's/^](//; s/)$//' | while read -r link; do
            case $link in *://* | mailto:*) continue ;; esac
            [ -z "$link" ] || [ -e "$(dirname "$guide")/$link" ] || fail "${guide#"$doc"/} links to $link, which is not installed"
        done
    done
    ;;

consumer)
    generator=$4
    [ "$generator" != Ninja ] || command -v ninja >/dev/null || fail "ninja is missing (scripts/setup.sh installs it)"
    dir=$work/${generator// /-}
    rm -rf "$dir"
    mkdir -p "$dir/src"
    # The consumer and the pictures it names one folder up, as in examples/.
    cp -r "$src"/examples/consumer "$src"/examples/*.bmp "$dir/src/"
    rc=$dir/src/consumer/about.rc
    out=$dir/build/orrinrc/about
    (cd "$dir/src" && find . | sort) >"$dir/source-files"

    build() { cmake --build "$dir/build" >"$dir/log" 2>&1; }
    cmake -S "$dir/src/consumer" -B "$dir/build" -G "$generator" -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_BUILD_TYPE=Release >"$dir/log" 2>&1 || { cat "$dir/log"; fail "configure"; }
    build || { cat "$dir/log"; fail "first build"; }
    "$dir/build/about" >"$dir/embedded" || fail "about (embedded resources)"
    grep -q '^FORM *3000 FORM_ABOUT' "$dir/embedded" || { cat "$dir/embedded"; fail "FORM_ABOUT not listed"; }
    [ "$(wc -l <"$dir/embedded")" = 4 ] || { cat "$dir/embedded"; fail "expected 4 records"; }
    "$dir/build/about" --file | cmp -s - "$dir/embedded" || fail "resource.bin differs from the embedded bytes"

    build || fail "second build"
    grep -q 'Compiling resources' "$dir/log" && { cat "$dir/log"; fail "an up-to-date build compiled the resources"; }

    # A picture that only the depfile names, touched: the resources are
    # compiled again, but outputs whose bytes did not change keep their time
    # stamps, so no C file is compiled again, and the next build does nothing.
    stamps() { stat -c %y "$out/resource.bin" "$out/resource.h" "$out/resource_bin.c"; }
    before=$(stamps)
    sleep 1
    touch "$dir/src/arrow_up.bmp"
    build || { cat "$dir/log"; fail "build after touching a picture"; }
    grep -q 'Compiling resources' "$dir/log" || { cat "$dir/log"; fail "touching a picture did not rebuild"; }
    [ "$(stamps)" = "$before" ] || fail "unchanged outputs were rewritten"
    grep -q 'Building C object' "$dir/log" && { cat "$dir/log"; fail "touching a picture compiled C files"; }
    build || fail "build after the picture's rebuild"
    grep -qE 'Compiling resources|Building C object' "$dir/log" && { cat "$dir/log"; fail "the build after a rebuild did something"; }

    # A picture whose bytes change: resource.bin and the embedded bytes, not
    # main.c, whose resource.h stays as it was.
    cp "$dir/src/arrow_up.bmp" "$dir/arrow_up.bmp.good"
    cp "$out/resource.bin" "$dir/resource.bin.before"
    cp "$dir/src/arrow_down.bmp" "$dir/src/arrow_up.bmp"
    build || { cat "$dir/log"; fail "build after changing a picture"; }
    grep -q 'Building C object CMakeFiles/about.dir/orrinrc/about/resource_bin.c.o' "$dir/log" ||
        { cat "$dir/log"; fail "a changed picture did not compile the embedded bytes"; }
    grep -q 'main.c.o' "$dir/log" && { cat "$dir/log"; fail "a changed picture compiled main.c"; }
    cmp -s "$out/resource.bin" "$dir/resource.bin.before" && fail "resource.bin does not hold the changed picture"
    "$dir/build/about" --file | cmp -s - "$dir/embedded" || fail "resource.bin differs from the embedded bytes"
    cp "$dir/arrow_up.bmp.good" "$dir/src/arrow_up.bmp"
    build || { cat "$dir/log"; fail "build after restoring the picture"; }
    cmp -s "$out/resource.bin" "$dir/resource.bin.before" || fail "resource.bin differs after restoring the picture"

    # A broken text: the checker's diagnostic, and the previous outputs kept.
    cp "$out/resource.bin" "$dir/resource.bin.good"
    cp "$out/resource.h" "$dir/resource.h.good"
    (cd "$out" && ls -A) >"$dir/out-files"
    cp "$rc" "$dir/about.rc.good"
    sleep 1
    sed -i 's/^BOUNDS.WIDTH=40$/BOUNDS.WIDTH=4x0/' "$rc"
    line=$(grep -n '^BOUNDS.WIDTH=4x0$' "$rc" | cut -d: -f1)
    [ -n "$line" ] || fail "could not break the resource text"
    for attempt in 1 2; do
        build && { cat "$dir/log"; fail "a broken resource text built (attempt $attempt)"; }
        grep -q "^$rc:$line:14: error: " "$dir/log" || { cat "$dir/log"; fail "no located diagnostic (attempt $attempt)"; }
        cmp -s "$out/resource.bin" "$dir/resource.bin.good" || fail "resource.bin changed by a failed build"
        cmp -s "$out/resource.h" "$dir/resource.h.good" || fail "resource.h changed by a failed build"
        (cd "$out" && ls -A) | cmp -s - "$dir/out-files" || fail "a failed build left files behind"
    done

    # A dropped definition: an indented #FORM line is copied to standard
    # output by the compiler, which succeeds; the checker's -Werror=stray-text
    # fails the build at that line.
    cp "$dir/about.rc.good" "$rc"
    sed -i 's/^#FORM$/  #FORM/' "$rc"
    line=$(grep -n '^  #FORM$' "$rc" | head -1 | cut -d: -f1)
    [ -n "$line" ] || fail "could not indent a #FORM line"
    build && { cat "$dir/log"; fail "a dropped definition built"; }
    grep -q "^$rc:$line:3: error: .*\[-Werror=stray-text\]" "$dir/log" || { cat "$dir/log"; fail "no located stray-text error"; }

    cp "$dir/about.rc.good" "$rc"
    build || { cat "$dir/log"; fail "build after repairing the text"; }
    "$dir/build/about" | cmp -s - "$dir/embedded" || fail "about differs after the repair"
    # Nothing was written next to the sources.
    (cd "$dir/src" && find . | sort) | cmp -s - "$dir/source-files" || fail "the build wrote into the source tree"

    # The language server, started without -I as an editor starts it, finds
    # the pictures of PICTURE_DIRS through the listing the build wrote; with
    # the listing gone, it cannot.
    lsp_session() {
        frame() { printf 'Content-Length: %d\r\n\r\n%s' "$(printf %s "$1" | wc -c)" "$1"; }
        local text
        text=$(sed -e 's/\\/\\\\/g' -e 's/"/\\"/g' "$rc" | awk '{ printf "%s\\n", $0 }')
        {
            frame '{"jsonrpc":"2.0","id":1,"method":"initialize","params":{"capabilities":{}}}'
            frame '{"jsonrpc":"2.0","method":"initialized","params":{}}'
            frame '{"jsonrpc":"2.0","method":"textDocument/didOpen","params":{"textDocument":{"uri":"file://'"$rc"'","languageId":"orrinrc","version":1,"text":"'"$text"'"}}}'
            frame '{"jsonrpc":"2.0","id":2,"method":"shutdown"}'
            frame '{"jsonrpc":"2.0","method":"exit"}'
        } | (cd / && "$prefix/bin/orrinrc-lsp") >"$dir/lsp.out" || fail "orrinrc-lsp failed"
        grep -q '"method":"textDocument/publishDiagnostics"' "$dir/lsp.out" || { cat "$dir/lsp.out"; fail "no diagnostics from orrinrc-lsp"; }
    }
    lsp_session
    grep -q "logo.bmp" "$dir/lsp.out" && { cat "$dir/lsp.out"; fail "orrinrc-lsp did not find the pictures"; }
    mv "$dir/build/orrinrc_picture_dirs.txt" "$dir/listing"
    lsp_session
    grep -q "logo.bmp" "$dir/lsp.out" || { cat "$dir/lsp.out"; fail "orrinrc-lsp found pictures without the listing"; }
    mv "$dir/listing" "$dir/build/orrinrc_picture_dirs.txt"

    # A picture beside the resource text comes before the PICTURE_DIRS one.
    cp "$dir/src/arrow_down.bmp" "$dir/src/consumer/arrow_up.bmp"
    touch "$rc"
    build || { cat "$dir/log"; fail "build with a picture beside the text"; }
    cmp -s "$out/resource.bin" "$dir/resource.bin.good" && fail "the picture beside the text was not used"
    grep -q "$dir/src/consumer/arrow_up.bmp" "$out/resource.d" || fail "the depfile does not name the picture used"
    ;;

deb)
    dir=$work/deb
    rm -rf "$dir"
    (cd "$bin" && cpack -G DEB -B "$dir" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
    deb=$(ls "$dir"/orrinrc_*.deb)
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libc6 libstdc++6 libpng16-16; do
        [[ "$depends" == *"$lib "* || "$depends" == *"$lib" ]] || fail "Depends lacks $lib: $depends"
    done
    dpkg-deb -c "$deb" | awk '{ print $6 }' >"$dir/contents"
    for f in ./usr/bin/orrinrc ./usr/bin/orrinrc-check ./usr/bin/orrinrc-dump ./usr/bin/orrinrc-lsp ./usr/bin/orrinrc-preview \
        ./usr/lib/cmake/OrrinRC/OrrinRCConfig.cmake ./usr/share/doc/orrinrc/README.md \
        ./usr/share/doc/orrinrc/copyright; do
        grep -qx "$f" "$dir/contents" || fail "$f is not in $(basename "$deb")"
    done
    ;;

*)
    fail "unknown mode $mode"
    ;;
esac
