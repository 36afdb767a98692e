#!/usr/bin/env python3
"""A second development text for the accuracy benchmark, from packages the
rules generator never reads.

    tools/rulesgen/devtext.py --output DIR [--cache build/devtext-cache]

DIR gets what `quillom_accuracy --data` reads: en.txt, ru.txt and uk.txt
(interface and help strings of programs, one message a line, 40 to a
document), everyday-LANG.txt (the sentences of games' messages),
keyboard_layouts.txt (written from the layouts the generator knows) and
tech.txt (copied from the generator's held-out folder: these packages hold no
technical text of their own).

The packages are development text only: never trained on.
"""

import argparse
import gettext
import glob
import os
import re
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import layouts  # noqa: E402
import text     # noqa: E402
from sources import ensure_debian, unpacked_dir  # noqa: E402

# name, version, licence, what it is used for
DOCUMENTATION = [
    ("kdenlive-data", "22.12.3-2+deb12u2", "GPL-2+ (and others, per file)",
     "en, ru and uk interface strings and handbook"),
    ("knights", "22.12.3-1", "GPL-2 or GPL-3",
     "en, ru and uk interface strings and handbook"),
    ("ktouch-data", "4:22.12.3-1", "GPL-2+ / GFDL-1.2+ (per file)", "en, ru and uk handbook"),
    ("ktouch", "4:22.12.3-1", "GPL-2+ / LGPL-2+ (per file)", "en, ru and uk interface strings"),
    ("kbounce", "4:22.12.3-1", "GPL-2+ / LGPL-2+ / GFDL-1.2+ (per file)",
     "en, ru and uk interface strings and handbook"),
    ("simutrans-data", "123.0.1-1", "Artistic-1.0 (and others, per file)",
     "en, ru and uk interface strings of a transport game (text/*.tab)"),
]
EVERYDAY = [
    ("minetest-data", "5.6.1+dfsg+~1.9.0mt8+dfsg-2", "LGPL-2.1+ (and others, per file)", "en, ru and uk game messages (sentences)"),
    ("manaplus-data", "2.1.3.17-5", "GPL-2 (and others, per file)", "en, ru and uk game messages (sentences)"),
    ("pingus-data", "0.7.6-5.1", "GPL-2+", "en, ru and uk game messages (sentences)"),
    ("enigma-data", "1.20-dfsg.1-2.2", "GPL-2", "en, ru and uk game messages and level hints (sentences)"),
]
PACKAGES = DOCUMENTATION + EVERYDAY
LANGS = ("ru", "uk")
DOC_SIZE = 40
MIN_WORDS = {"documentation": 3, "everyday": 4}

PLACEHOLDER_RE = re.compile(
    r"%\(\w+\)[a-z]"                       # %(name)s
    r"|%[-+ 0#]*\d*(?:\.\d+)?l*[sdiufgxXcp]"  # %s %d %5.2f
    r"|%\d+"                               # %1
    r"|\{[^{}]*\}"                         # {0} {name}
    r"|\$\{?\w+\}?"                        # $name ${name}
    r"|<[^>]*>"                            # <b> </p>
    r"|\[/?\w+\]")                         # [b]
CONTEXT_RE = re.compile(r"^[\w ]+\^")       # "female^Hello" -> "Hello"
ACCELERATOR_RE = re.compile(r"(?<!\w)[&_~](?=\w)|(?<=\w)&(?=\w)")
# Entities a handbook spells marks with; any other one names a product and
# leaves the line out (its text is not in the catalogue).
MARK_ENTITIES = {"amp": "&", "lt": "<", "gt": ">", "quot": '"', "apos": "'", "nbsp": " ",
                 "mdash": "-", "ndash": "-", "hellip": "..."}
ENTITY_RE = re.compile(r"&([#\w.-]+);")
EMPTY_PAIR_RE = re.compile(r"\(\s*\)|\[\s*\]|\"\s*\"|'\s*'|«\s*»")
SPACE_BEFORE_MARK_RE = re.compile(r"\s+([,.;:!?)])")
# Addresses, links and command-line options are not text anyone types as prose.
NOT_PROSE_RE = re.compile(r"\S@\S|://|\bwww\.|\bWikipedia:|^-{1,2}\w")
# Marks a left-out placeholder leaves behind: "%1, Position: %2" -> ", Position:".
ORPHAN_MARKS_RE = re.compile(r"^[,.;:%+=)\]]|[,:;(]\s*[,.;:)]|\(\s*-?\s*\)")
ONLY_RU = set("ёъыэ")
ONLY_UK = set("ґєії")


def _entities(message):
    """Mark entities resolved, or None when the message names a product by one."""
    names = ENTITY_RE.findall(message)
    if any(name not in MARK_ENTITIES for name in names):
        return None
    return ENTITY_RE.sub(lambda m: MARK_ENTITIES[m.group(1)], message)


def _sentences(message):
    """Lines of a message; a line that starts in lower case continues the one before
    (catalogues wrap long sentences)."""
    lines = []
    for line in message.split("\n"):
        line = line.strip()
        if lines and line[:1].islower() and lines[-1]:
            lines[-1] += " " + line
        else:
            lines.append(line)
    return lines


def clean(message):
    """The lines of a message as a user would type them, markup left out."""
    message = _entities(CONTEXT_RE.sub("", message).replace("\\n", "\n"))
    if message is None:
        return []
    message = ACCELERATOR_RE.sub("", PLACEHOLDER_RE.sub(" ", message))
    lines = (EMPTY_PAIR_RE.sub(" ", SPACE_BEFORE_MARK_RE.sub(r"\1", text.normalise(l))) for l in _sentences(message))
    return [" ".join(line.split()) for line in lines if line.strip()]


def is_of_language(line, lang):
    """English lines are Latin throughout; Cyrillic lines are mostly Cyrillic and
    hold no letter that only the other Cyrillic language has."""
    letters = [c for c in line.lower() if c.isalpha()]
    if not letters:
        return False
    if lang == "en":
        return all("a" <= c <= "z" for c in letters)
    if text.cyrillic_share(line) < 0.75:
        return False
    return not set(letters) & (ONLY_UK if lang == "ru" else ONLY_RU)


def keep(line, lang, kind):
    return (len(line.split()) >= MIN_WORDS[kind] and is_of_language(line, lang)
            and not NOT_PROSE_RE.search(line) and not ORPHAN_MARKS_RE.search(line))


def mo_messages(path):
    """(original, translation) of every translated message, in a stable order."""
    with open(path, "rb") as f:
        catalog = gettext.GNUTranslations(f)._catalog
    for key in sorted(catalog, key=str):
        if isinstance(key, tuple) and key[1] != 0:
            continue
        original = (key[0] if isinstance(key, tuple) else key).split("\x04")[-1]
        value = catalog[key]
        if original and isinstance(value, str) and value.strip() and value != original:
            yield original, value


PO_ENTRY_RE = re.compile(r'^(msgctxt|msgid|msgstr)\s+(".*")\s*$')
PO_CONT_RE = re.compile(r'^(".*")\s*$')


def _po_string(quoted):
    return quoted[1:-1].replace('\\"', '"').replace("\\t", " ").replace("\\\\", "\\")


def po_messages(path):
    """(original, translation) of every translated, not fuzzy message of a .po file."""
    entries, current, field, fuzzy = [], {}, None, False
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines() + [""]
    for line in lines:
        m = PO_ENTRY_RE.match(line)
        if m:
            field = m.group(1)
            current[field] = _po_string(m.group(2))
            continue
        m = PO_CONT_RE.match(line)
        if m and field:
            current[field] += _po_string(m.group(1))
            continue
        if line.startswith("#,") and "fuzzy" in line:
            fuzzy = True
        if not line.strip() and current:
            if not fuzzy and current.get("msgid") and current.get("msgstr"):
                entries.append((current["msgid"], current["msgstr"]))
            current, field, fuzzy = {}, None, False
    return entries


class _Docbook:
    """Paragraphs of a KDE handbook: the text of every <para>, markup left out."""
    PARA_RE = re.compile(r"<para\b[^>]*>(.*?)</para>", re.S)

    @classmethod
    def paragraphs(cls, path):
        with open(path, encoding="utf-8", errors="replace") as f:
            source = re.sub(r"<!--.*?-->", " ", f.read(), flags=re.S)
        for body in cls.PARA_RE.findall(source):
            if "<para" in body:
                continue
            yield " ".join(body.split())


def tab_messages(path):
    """(original, translation) of a game's translation table: after the
    header, an original line then its translation, comments (#) left out."""
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")
    first = next((i for i, line in enumerate(lines) if line.startswith("#")), len(lines))
    body = [line for line in lines[first:] if not line.startswith("#")]
    return [(body[i].replace("\\n", " "), body[i + 1].replace("\\n", " ")) for i in range(0, len(body) - 1, 2)]


def catalogues(cache, package, lang):
    root = unpacked_dir(cache, package)
    paths = glob.glob(os.path.join(root, "usr/share/**/locale", lang, "LC_MESSAGES/*.mo"), recursive=True)
    paths += glob.glob(os.path.join(root, "usr/share/**/po", lang + ".po"), recursive=True)
    paths += glob.glob(os.path.join(root, "usr/share/games/*/text", lang + ".tab"))
    for path in sorted(paths):
        if path.endswith(".tab"):
            messages = tab_messages(path)
        else:
            messages = po_messages(path) if path.endswith(".po") else list(mo_messages(path))
        yield os.path.relpath(path, root), messages


class Texts:
    """Lines per language and kind, grouped by document, each line written once."""

    def __init__(self):
        self.docs = {kind: {lang: {} for lang in ("en",) + LANGS} for kind in MIN_WORDS}
        self.seen = {kind: {lang: set() for lang in ("en",) + LANGS} for kind in MIN_WORDS}

    def add(self, kind, lang, name, message):
        for line in clean(message):
            if keep(line, lang, kind) and line not in self.seen[kind][lang]:
                self.seen[kind][lang].add(line)
                self.docs[kind][lang].setdefault(name, []).append(line)


def load(cache):
    texts = Texts()
    for kind, packages in (("documentation", DOCUMENTATION), ("everyday", EVERYDAY)):
        for package, _, _, _ in packages:
            for lang in LANGS:
                for name, messages in catalogues(cache, package, lang):
                    for original, translation in messages:
                        texts.add(kind, lang, f"{package}/{name}", translation)
                        english = name.replace(f"/{lang}/", "/C/").replace(f"/{lang}.po", "/C.po").replace(f"/{lang}.tab", "/en.tab")
                        texts.add(kind, "en", f"{package}/{english}", original)
            for lang in ("en",) + LANGS:
                pattern = os.path.join(unpacked_dir(cache, package), "usr/share/doc/HTML", lang, "*/index.docbook")
                for path in sorted(glob.glob(pattern)):
                    name = f"{package}/{os.path.relpath(path, unpacked_dir(cache, package))}"
                    for paragraph in _Docbook.paragraphs(path):
                        texts.add(kind, lang, name, paragraph)
    return texts


def write(texts, folder):
    os.makedirs(folder, exist_ok=True)
    for kind, prefix in (("documentation", ""), ("everyday", "everyday-")):
        for lang, docs in texts.docs[kind].items():
            with open(os.path.join(folder, f"{prefix}{lang}.txt"), "w", encoding="utf-8", newline="\n") as f:
                for name in sorted(docs):
                    lines = docs[name]
                    for i in range(0, len(lines), DOC_SIZE):
                        f.write(f"#doc {name}#{i // DOC_SIZE}\n" + "\n".join(lines[i:i + DOC_SIZE]) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--output", required=True)
    parser.add_argument("--cache", default="build/devtext-cache")
    parser.add_argument("--tech", default=os.path.join(os.environ.get("QUILLOM_RULESGEN_CACHE", "/work/rulesgen-cache"),
                                                       "heldout", "tech.txt"),
                        help="technical text to copy (these packages hold none)")
    args = parser.parse_args()
    ensure_debian(args.cache, PACKAGES)
    texts = load(args.cache)
    write(texts, args.output)
    layouts.write_key_table(os.path.join(args.output, "keyboard_layouts.txt"))
    shutil.copyfile(args.tech, os.path.join(args.output, "tech.txt"))
    for kind in MIN_WORDS:
        for lang, docs in texts.docs[kind].items():
            words = sum(len(l.split()) for lines in docs.values() for l in lines)
            print(f"{kind} {lang}: {sum(len(d) for d in docs.values())} lines, {words} words", file=sys.stderr)


if __name__ == "__main__":
    main()
