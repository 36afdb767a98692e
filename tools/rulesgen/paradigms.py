"""Hunspell dictionaries expanded into paradigms (all forms of one entry), cached.

unmunch prints the forms of all entries one after another; a separator entry
without flags between any two entries keeps each entry's forms together.
The expansion runs once and is cached in the cache folder.
"""

import os
import subprocess
import tempfile

SEPARATOR = "QQPARADIGMEND"


def _write_separated_dic(dic_path, out):
    with open(dic_path, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()
    entries = [l for l in lines[1:] if l.strip()]
    out.write(f"{2 * len(entries)}\n")
    for entry in entries:
        out.write(entry + "\n" + SEPARATOR + "\n")


def paradigms(dic_path, aff_path, cache_file, alphabet):
    """List of paradigms, each a sorted tuple of lower-case forms within the alphabet."""
    if not os.path.isfile(cache_file):
        os.makedirs(os.path.dirname(cache_file), exist_ok=True)
        with tempfile.NamedTemporaryFile("w", encoding="utf-8", suffix=".dic", delete=False) as tmp:
            _write_separated_dic(dic_path, tmp)
        try:
            result = subprocess.run(["nice", "-n", "10", "unmunch", tmp.name, aff_path],
                                    check=True, capture_output=True)
        finally:
            os.remove(tmp.name)
        groups, current = [], set()
        for line in result.stdout.decode("utf-8", errors="replace").splitlines():
            word = line.strip()
            if word == SEPARATOR:
                if current:
                    groups.append(" ".join(sorted(current)))
                current = set()
            elif word:
                word = word.lower().replace("\u2019", "'").replace("\u02bc", "'")
                if all(c in alphabet for c in word):
                    current.add(word)
        with open(cache_file + ".tmp", "w", encoding="utf-8") as f:
            f.write("\n".join(sorted(set(groups))) + "\n")
        os.replace(cache_file + ".tmp", cache_file)
    with open(cache_file, encoding="utf-8") as f:
        return [tuple(line.split()) for line in f if line.strip()]
