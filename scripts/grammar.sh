#!/usr/bin/env bash
# Rewrites the editor grammar (editors/vscode/syntaxes/orrinrc.tmLanguage.json)
# from the language's tables after they change. Builds into the given folder
# (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
bash scripts/build.sh "$dir"
"$dir/orrinrc_grammar_words" > "$dir/grammar-words.json"
node tests/grammar/generate_grammar.js "$dir/grammar-words.json" editors/vscode/syntaxes/orrinrc.tmLanguage.json
