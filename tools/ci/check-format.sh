#!/bin/bash
# Fails when a C++ file under version control differs from what clang-format
# (the style in .clang-format) makes of it, and lists those files.
#   tools/ci/check-format.sh [FILE...]     (default: every tracked .cpp/.h/.hpp)
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/ci/packages.sh
ensure_packages $FORMAT_PACKAGES
FORMAT=clang-format-14

if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.hpp')
fi

unformatted=0
for f in "${files[@]}"; do
    if ! "$FORMAT" --style=file "$f" | cmp -s "$f" -; then
        echo "not formatted: $f"
        unformatted=$((unformatted + 1))
    fi
done
if [ "$unformatted" -gt 0 ]; then
    echo "== $unformatted of ${#files[@]} files need: $FORMAT -i --style=file FILE"
    exit 1
fi
echo "== all ${#files[@]} files formatted"
