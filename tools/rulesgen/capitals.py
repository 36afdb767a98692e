"""Abbreviations: words a language writes in capitals (США, ВВС, TLS, ID).

An all-capital word typed on the wrong layout is meant when its reading is
one of the target language's abbreviations, and typed on purpose when it is
one of its own language's. The lists come from the capitalised entries of the
dictionaries and from the words the training documents write in capitals
(Latin ones inside Cyrillic prose count for English); held-out documents are
never read.
"""

import collections
import re

import training
from text import ALPHABETS

MIN_LENGTH = 2
MAX_LENGTH = 6
# A word of the training text is an abbreviation when written in capitals at
# least this often, and in at least this share of its occurrences: ВСЕ in a
# heading is still the word все, ОК and ДНК are abbreviations.
MIN_CAPITAL_COUNT = 3
MIN_CAPITAL_SHARE = 0.5

TOKEN_RE = {
    "latin": re.compile(r"(?<![A-Za-z0-9])[A-Za-z]+(?![A-Za-z0-9])"),
    "cyrillic": re.compile(r"(?<![\w'])[\u0400-\u04ff]+(?![\w'])"),
}


def _is_capitalised(word):
    return MIN_LENGTH <= len(word) <= MAX_LENGTH and word.isupper()


def dictionary_capitals(words, lang):
    """The entries of a word list written all in capitals, lower-cased."""
    alphabet = ALPHABETS[lang]
    return {w.lower() for w in words if _is_capitalised(w) and all(c in alphabet for c in w.lower())}


def hunspell_words(dic_path):
    with open(dic_path, encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")[1:]
    return [line.split("/")[0].strip() for line in lines if line.strip()]


def _count(counter_caps, counter_all, paragraph, script):
    for token in TOKEN_RE[script].findall(paragraph):
        lower = token.lower()
        counter_all[lower] += 1
        if _is_capitalised(token):
            counter_caps[lower] += 1


def text_capitals(docs_by_lang):
    """{lang: words the training documents write in capitals}, by the thresholds above."""
    caps = {lang: collections.Counter() for lang in ALPHABETS}
    seen = {lang: collections.Counter() for lang in ALPHABETS}
    for lang, docs in docs_by_lang.items():
        for doc in docs:
            if training.is_held_out(doc):
                continue
            for paragraph in doc.paragraphs:
                if lang != "en":
                    _count(caps[lang], seen[lang], paragraph, "cyrillic")
                _count(caps["en"], seen["en"], paragraph, "latin")
    result = {}
    for lang in ALPHABETS:
        alphabet = ALPHABETS[lang]
        result[lang] = {w for w, c in caps[lang].items()
                        if c >= MIN_CAPITAL_COUNT and c >= MIN_CAPITAL_SHARE * seen[lang][w]
                        and all(ch in alphabet for ch in w)}
    return result


def abbreviations(docs_by_lang, dictionary_words):
    """{lang: sorted abbreviations}: the dictionaries' capitalised entries and the text's."""
    from_text = text_capitals(docs_by_lang)
    return {lang: sorted(dictionary_capitals(dictionary_words.get(lang, ()), lang) | from_text[lang])
            for lang in ALPHABETS}
