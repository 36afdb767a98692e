"""Everyday prose and dialogue: translated game stories and typing-tutor texts.

The documentation sources say little about how often everyday words occur
(руку, знаю, тебе), so the Russian and Ukrainian frequency ranks also take the
dialogue and story text of translated games. Each message of a catalogue is
one translated text (its English original is the message id).

Training sources give four fifths of their messages to the ranks; the other
fifth (chosen by a hash of the message) is held out, except where a source is
used for the ranks only. Evaluation sources are
never trained on: with the held-out fifth they make the everyday texts that
the accuracy benchmark types (English from the message ids, which the
generator never learns from either).
"""

import gettext
import hashlib
import os
import re

import text
import training
from corpus import ACCELERATOR_RE, Document, ascii_letters_share
from sources import find, unpacked_dir

WESNOTH_CAMPAIGNS = "did dm dw ei httt l low nr sof sota sotbe thot trow tsg ttb utbs".split()
WESNOTH_VERSION = "1:1.16.9-1"

# name, version, licence, what it is used for
TRAINING = ([("wesnoth-1.16-data", WESNOTH_VERSION, "GPL-2+",
              "ru and uk everyday text: story, dialogue and unit descriptions (ranks; a fifth held out)")]
            + [(f"wesnoth-1.16-{c}", WESNOTH_VERSION, "GPL-2+",
                "ru and uk everyday text: campaign dialogue (ranks; a fifth held out)") for c in WESNOTH_CAMPAIGNS]
            + [("freeciv-data", "3.0.6-1+deb12u1", "GPL-2+",
                "ru and uk everyday text: nation legends and game encyclopedia (ranks; none held out)")])
# Sources trained on whole: their translations are too uneven to judge the engine by.
RANKS_ONLY = {"freeciv-data"}
EVALUATION = [
    ("widelands-data", "2:1.1-3", "GPL-2+", "everyday evaluation text only (scenario dialogue), never trained on"),
    ("warzone2100-data", "4.3.3-3", "GPL-2+", "everyday evaluation text only (campaign briefings), never trained on"),
    ("klavaro", "3.11-1+b1", "GPL-3+", "everyday evaluation text only (typing-lesson prose), never trained on"),
]
PACKAGES = TRAINING + EVALUATION

# Catalogues of interface or help text are left out: they are not everyday text.
SKIPPED_CATALOGUES = {"wesnoth-lib.mo", "wesnoth-editor.mo", "wesnoth-help.mo", "freeciv-ruledit.mo",
                      "widelands_editor.mo", "widelands_console.mo", "widelands.mo", "klavaro.mo"}
WIDELANDS_STORIES = ("scenario_", "map_", "mp_scenario_")
# A message of fewer words is mostly a label or a button.
MIN_WORDS = 4

CONTEXT_RE = re.compile(r"^[\w ]+\^")          # "female^Welcome" -> "Welcome"
VARIABLE_RE = re.compile(r"\$[\w.|\[\]]+|%\d*\$?[a-zA-Z]|%\(\w+\)[a-z]|@\w+")
MARKUP_RE = re.compile(r"<[^>]*>|&[#\w]+;|\[/?\w+\]")


def clean(message):
    message = CONTEXT_RE.sub("", message)
    message = ACCELERATOR_RE.sub("", VARIABLE_RE.sub(" ", MARKUP_RE.sub(" ", message)))
    return [line for line in (text.normalise(l) for l in re.split(r"\n+|\\n", message)) if line]


def is_held_out_message(key):
    digest = hashlib.sha1(key.encode("utf-8")).digest()
    return int.from_bytes(digest[:4], "big") % 100 < training.HELD_OUT_PERCENT


def _catalogues(cache, package, lang):
    root = unpacked_dir(cache, package)
    for path in find(cache, package, f"usr/share/**/locale/{lang}/LC_MESSAGES/*.mo"):
        name = os.path.basename(path)
        if name in SKIPPED_CATALOGUES:
            continue
        if package == "widelands-data" and not name.startswith(WIDELANDS_STORIES):
            continue
        yield os.path.relpath(path, root), path


def _messages(path):
    """(English original, translation) of every translated message, in a stable order."""
    with open(path, "rb") as f:
        catalog = gettext.GNUTranslations(f)._catalog
    for key in sorted(catalog, key=str):
        original = key[0] if isinstance(key, tuple) else key
        value = catalog[key]
        if original and isinstance(value, str) and value.strip() and value != original:
            yield original.split("\x04")[-1], value


def _klavaro(cache, lang, name):
    path = os.path.join(unpacked_dir(cache, "klavaro"), "usr", "share", "klavaro", name)
    if not os.path.isfile(path):
        return []
    with open(path, encoding="utf-8") as f:
        return [p for p in (text.normalise(l) for l in f) if p]


class Texts:
    """Everyday training documents (ru, uk) and held-out paragraphs (en, ru, uk)."""

    def __init__(self):
        self.training = {"ru": [], "uk": []}
        self.held_out = {"en": {}, "ru": {}, "uk": {}}   # document -> paragraphs

    def add(self, package, name, lang, original, translation, held_out):
        translated = [p for p in clean(translation) if len(p.split()) >= MIN_WORDS and text.is_prose_of(p, lang)]
        if not translated:
            return
        if not held_out:
            doc = self.training[lang]
            if not doc or doc[-1].key != f"{package}/{name}":
                doc.append(Document(package, name, lang))
            doc[-1].paragraphs += translated
            return
        self.held_out[lang].setdefault(f"{package}/{name}", []).extend(translated)
        english = [p for p in clean(original) if len(p.split()) >= MIN_WORDS and ascii_letters_share(p) == 1.0]
        self.held_out["en"].setdefault(f"{package}/{name}", []).extend(english)


def load(cache):
    texts = Texts()
    for package, _, _, _ in PACKAGES:
        evaluation_only = package in {p[0] for p in EVALUATION}
        for lang in ("ru", "uk"):
            for name, path in _catalogues(cache, package, lang):
                for original, translation in _messages(path):
                    held = evaluation_only or (package not in RANKS_ONLY and is_held_out_message(f"{package}/{os.path.basename(name)}/{original}"))
                    texts.add(package, name, lang, original, translation, held)
    for lang, name in (("ru", "ru.paragraphs"), ("uk", "uk.paragraphs"), ("en", "C.paragraphs")):
        texts.held_out[lang][f"klavaro/{name}"] = _klavaro(cache, lang, name)
    return texts


def counts(texts):
    """Counts of the everyday training documents, per language (as training.Counts)."""
    result = {}
    for lang, docs in texts.training.items():
        c = training.Counts(lang)
        for doc in docs:
            training.count_document(c, doc)
        result[lang] = c
    return result


def write_held_out(texts, folder):
    """everyday-LANG.txt: "#doc NAME" lines, one paragraph a line; a paragraph
    that two catalogues share (the English of a message translated into both
    languages) is written once."""
    os.makedirs(folder, exist_ok=True)
    for lang, docs in texts.held_out.items():
        seen = set()
        with open(os.path.join(folder, f"everyday-{lang}.txt"), "w", encoding="utf-8", newline="\n") as f:
            for name in sorted(docs):
                lines = [p for p in docs[name] if p not in seen]
                seen.update(lines)
                if lines:
                    f.write(f"#doc {name}\n" + "\n".join(lines) + "\n")
