#!/bin/sh
# Builds the accuracy benchmark, makes sure the held-out texts exist (the rules
# generator writes them into its cache, outside git), runs it on the shipped
# rules file and prints the figures. Results: bench/accuracy/results/.
#
#   bench/accuracy/run.sh [--rules FILE]
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${QUILLOM_ACCURACY_BUILD:-$ROOT/build/accuracy}
CACHE=${QUILLOM_RULESGEN_CACHE:-$ROOT/build/rulesgen-cache}
RULES=$ROOT/data/quillom_rules.json
if [ "${1:-}" = "--rules" ]; then RULES=$2; fi

if [ ! -f "$CACHE/heldout/tech.txt" ] || [ ! -f "$CACHE/heldout/everyday-en.txt" ] ||
    [ ! -f "$CACHE/heldout/keyboard_layouts.txt" ]; then
    # The generator fetches its sources when they are missing; its output must
    # equal the committed file, which this check confirms.
    python3 "$ROOT/tools/rulesgen/generate.py" --cache "$CACHE" --output "$BUILD/regenerated_rules.json"
    cmp -s "$BUILD/regenerated_rules.json" "$ROOT/data/quillom_rules.json" ||
        echo "note: the regenerated rules file differs from data/quillom_rules.json" >&2
fi
if [ ! -f "$BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLOM_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$BUILD" -j2 --target quillom_accuracy >/dev/null
"$BUILD/bench/accuracy/quillom_accuracy" --rules "$RULES" --data "$CACHE/heldout" \
    --out "$ROOT/bench/accuracy/results" --work "$BUILD/accuracy-work"
