"""Splits the documents into a training part and a held-out part, and counts.

The split is by document (a stable hash of its name), so no sentence of the
held-out texts is ever seen by the generator. Only training documents feed
the counts below; held-out documents are only written out for the benchmark.
"""

import collections
import hashlib
import os
import re

import corpus
import text

HELD_OUT_PERCENT = 20


def is_held_out(doc):
    digest = hashlib.sha1(doc.key.encode("utf-8")).digest()
    return int.from_bytes(digest[:4], "big") % 100 < HELD_OUT_PERCENT


class Counts:
    """What one language's training documents give."""

    def __init__(self, lang):
        self.lang = lang
        self.words = collections.Counter()          # word -> occurrences
        self.doc_freq = collections.Counter()       # word -> documents
        self.sentence_starts = collections.Counter()
        self.bigrams = collections.Counter()        # two characters of running words
        self.latin_words = collections.Counter()    # Latin words inside the prose
        self.technical_tokens = collections.Counter()
        self.tokens = 0


SENTENCE_END_RE = re.compile(r"[.!?]\s+")
TECH_TOKEN_RE = re.compile(r"[A-Za-z][A-Za-z']*")


def count_document(counts, doc):
    lang = counts.lang
    seen = set()
    for paragraph in doc.paragraphs:
        paragraph = text.normalise(paragraph)
        if not text.is_prose_of(paragraph, lang):
            continue
        for sentence in SENTENCE_END_RE.split(paragraph):
            ws = text.words(sentence, lang)
            if ws:
                counts.sentence_starts[ws[0]] += 1
        for word in text.words(paragraph, lang):
            counts.words[word] += 1
            seen.add(word)
            counts.tokens += 1
        _count_bigrams(counts, paragraph)
        if lang != "en":
            for w in text.LATIN_RE.findall(paragraph.lower()):
                counts.latin_words[w] += 1
    for word in seen:
        counts.doc_freq[word] += 1
    for snippet in doc.technical:
        for token in TECH_TOKEN_RE.findall(snippet):
            counts.technical_tokens[token.lower().strip("'")] += 1


def _count_bigrams(counts, paragraph):
    """Pairs inside words, plus a word's last letter with a comma or full stop after it.

    The second kind scores English words typed on a Cyrillic layout, where the
    comma and full stop keys are letters and stay part of the word.
    """
    pattern = text.WORD_RE[counts.lang]
    lowered = paragraph.lower()
    for m in pattern.finditer(lowered):
        w = m.group(0)
        for i in range(len(w) - 1):
            counts.bigrams[w[i:i + 2]] += 1
        nxt = lowered[m.end():m.end() + 1]
        if nxt in (",", "."):
            counts.bigrams[w[-1] + nxt] += 1


def load_all(cache):
    return {"en": corpus.english_documents(cache),
            "ru": corpus.russian_documents(cache),
            "uk": corpus.ukrainian_documents(cache)}


def train(docs_by_lang):
    result = {}
    for lang, docs in docs_by_lang.items():
        counts = Counts(lang)
        for doc in docs:
            if not is_held_out(doc):
                count_document(counts, doc)
        result[lang] = counts
    return result


def write_held_out(docs_by_lang, folder):
    """Held-out prose per language and the technical strings of held-out documents.

    Prose files hold one document after another: a line "#doc NAME", then one
    paragraph a line. The technical file holds one string a line.
    """
    os.makedirs(folder, exist_ok=True)
    technical = []
    for lang, docs in sorted(docs_by_lang.items()):
        with open(os.path.join(folder, f"{lang}.txt"), "w", encoding="utf-8", newline="\n") as f:
            for doc in docs:
                if not is_held_out(doc):
                    continue
                lines = [text.normalise(p) for p in doc.paragraphs]
                lines = [p for p in lines if p and text.is_prose_of(p, lang)]
                if lines:
                    f.write(f"#doc {doc.key}\n")
                    f.write("\n".join(lines) + "\n")
                technical += [t for t in (text.normalise(s) for s in doc.technical)
                              if t and text.cyrillic_share(t) == 0 and any(c.isalpha() for c in t)]
    unique = sorted(set(technical))
    with open(os.path.join(folder, "tech.txt"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(unique) + "\n")
