"""Hunspell dictionaries expanded into paradigms (all forms of one entry), cached.

The expansion (affixes.py) runs once per dictionary and is cached in the cache
folder under a name that changes with the expanding code.
"""

import hashlib
import os

import affixes

HERE = os.path.dirname(os.path.abspath(__file__))


def _code_digest():
    digest = hashlib.sha1()
    for module in ("affixes.py", "paradigms.py"):
        with open(os.path.join(HERE, module), "rb") as f:
            digest.update(f.read())
    return digest.hexdigest()[:12]


def normalise(word):
    return word.lower().replace("\u2019", "'").replace("\u02bc", "'")


def paradigms(dic_path, aff_path, cache_folder, lang, alphabet):
    """List of paradigms, each a sorted tuple of lower-case forms within the alphabet."""
    cache_file = os.path.join(cache_folder, f"{lang}-{_code_digest()}.paradigms")
    if not os.path.isfile(cache_file):
        os.makedirs(cache_folder, exist_ok=True)
        groups = set()
        for forms in affixes.expand(dic_path, aff_path):
            kept = {w for w in map(normalise, forms) if w and all(c in alphabet for c in w)}
            if kept:
                groups.add(" ".join(sorted(kept)))
        with open(cache_file + ".tmp", "w", encoding="utf-8") as f:
            f.write("\n".join(sorted(groups)) + "\n")
        os.replace(cache_file + ".tmp", cache_file)
    with open(cache_file, encoding="utf-8") as f:
        return [tuple(line.split()) for line in f if line.strip()]
