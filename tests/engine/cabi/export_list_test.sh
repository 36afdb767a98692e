#!/bin/sh
# The shared library exports exactly the functions the public header declares.
#   export_list_test.sh LIBRARY HEADER
set -eu
expected=$(grep -o '^QM_API[^(]*(' "$2" | sed 's/.*[ *]\([A-Za-z_0-9]*\)($/\1/' | sort)
actual=$(nm -D --defined-only "$1" | awk '{print $NF}' | sort)
[ -n "$expected" ] || { echo "no QM_API declarations found in $2"; exit 1; }
if [ "$expected" != "$actual" ]; then
    echo "exported symbols differ from the header's functions:"
    printf '%s\n' "$expected" >"${TMPDIR:-/tmp}/qm-expected.$$"
    printf '%s\n' "$actual" | diff "${TMPDIR:-/tmp}/qm-expected.$$" - || true
    rm -f "${TMPDIR:-/tmp}/qm-expected.$$"
    exit 1
fi
echo "$(printf '%s\n' "$actual" | wc -l) exports, all declared in the header"
