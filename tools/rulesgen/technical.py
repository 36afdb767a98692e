"""Technical words: command names and C library identifiers.

They are typed on the English layout on purpose, also inside Cyrillic text,
and look like gibberish to letter statistics (fsck, sftp, fcntl); the engine
never applies its gibberish bypass to them.
"""

import os
import re

import sources

IDENTIFIER = re.compile(r"\b([a-z][a-z0-9_]*)\s*\(")
DEFINE = re.compile(r"^#\s*define\s+([A-Za-z_][A-Za-z0-9_]*)", re.M)


def _letters_only(names):
    """Lower-cased names made of Latin letters only (what the engine scores as a word)."""
    return {n.lower() for n in names if n.isascii() and n.isalpha() and len(n) >= 2}


PROGRAM_PACKAGES = ("util-linux", "e2fsprogs", "coreutils", "procps", "openssh-client", "iproute2")
PROGRAM_FOLDERS = ("bin", "sbin", "usr/bin", "usr/sbin")


def program_names(cache):
    """File names of the programs these packages install."""
    names = set()
    for package in PROGRAM_PACKAGES:
        for folder in PROGRAM_FOLDERS:
            path = os.path.join(sources.unpacked_dir(cache, package), folder)
            if os.path.isdir(path):
                names.update(n for part in sorted(os.listdir(path)) for n in part.split("."))
    return _letters_only(names)


def command_names(cache):
    folder = os.path.join(sources.unpacked_dir(cache, "bash-completion"), "usr", "share", "bash-completion",
                          "completions")
    names = set()
    for name in sorted(os.listdir(folder)):
        names.add(name)
        # A completion file may serve several commands through links of other names.
        target = os.path.join(folder, name)
        if os.path.islink(target):
            names.add(os.path.basename(os.readlink(target)))
    return _letters_only(names)


def header_identifiers(cache):
    names = set()
    for path in sources.find(cache, "libc6-dev", "usr/include/**/*.h"):
        with open(path, encoding="utf-8", errors="replace") as f:
            body = f.read()
        names.update(IDENTIFIER.findall(body))
        names.update(DEFINE.findall(body))
    return _letters_only(names)


def technical_words(cache, english_words):
    """Names from both sources that are not ordinary English words."""
    known = set(english_words)
    return sorted((program_names(cache) | command_names(cache) | header_identifiers(cache)) - known)
