"""Normalising running text and cutting it into words, per language."""

import re

from layouts import typeable_characters

WORD_RE = {
    "en": re.compile(r"[a-z]+(?:'[a-z]+)*"),
    "ru": re.compile(r"[а-яё]+"),
    "uk": re.compile(r"[абвгґдеєжзиіїйклмнопрстуфхцчшщьюя]+(?:'[абвгґдеєжзиіїйклмнопрстуфхцчшщьюя]+)*"),
}
LATIN_RE = re.compile(r"[a-z]+")
ALPHABETS = {
    "en": set("abcdefghijklmnopqrstuvwxyz"),
    "ru": set("абвгдеёжзийклмнопрстуфхцчшщъыьэюя"),
    "uk": set("абвгґдеєжзиіїйклмнопрстуфхцчшщьюя'"),
}

_REPLACEMENTS = {
    "\u00ab": '"', "\u00bb": '"', "\u201c": '"', "\u201d": '"', "\u201e": '"', "\u2033": '"',
    "\u2018": "'", "\u2019": "'", "\u02bc": "'", "\u2032": "'",
    "\u2013": "-", "\u2014": "-", "\u2212": "-", "\u2010": "-", "\u2011": "-",
    "\u2026": "...", "\u00a0": " ", "\u202f": " ", "\u2009": " ", "\u00ad": "",
}
_TYPEABLE = typeable_characters()


def normalise(text):
    """Text as a user types it: typographic marks replaced, untypeable characters dropped."""
    out = []
    for ch in text:
        ch = _REPLACEMENTS.get(ch, ch)
        for c in ch:
            out.append(c if c in _TYPEABLE else " ")
    return " ".join("".join(out).split())


def words(text, lang):
    return WORD_RE[lang].findall(text.lower())


def cyrillic_share(text):
    letters = [c for c in text if c.isalpha()]
    if not letters:
        return 0.0
    return sum(1 for c in letters if "\u0400" <= c <= "\u04ff") / len(letters)


def is_prose_of(paragraph, lang):
    """Cyrillic documents also hold untranslated English paragraphs; those are left out."""
    if lang == "en":
        return True
    return cyrillic_share(paragraph) >= 0.5
