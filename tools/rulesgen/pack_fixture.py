#!/usr/bin/env python3
"""Writes a packed lexicon from a table of "language<TAB>word<TAB>band" lines.

    python3 tools/rulesgen/pack_fixture.py TABLE OUTPUT
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import packed  # noqa: E402


def lexicons_of(table_path):
    out = {}
    with open(table_path, encoding="utf-8") as f:
        for line in f:
            if line.strip():
                lang, word, band = line.rstrip("\n").split("\t")
                out.setdefault(lang, {})[word] = int(band)
    return out


if __name__ == "__main__":
    with open(sys.argv[2], "wb") as out:
        out.write(packed.pack(lexicons_of(sys.argv[1])))
