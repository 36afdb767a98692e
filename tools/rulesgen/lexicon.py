"""Frequency-ranked word lists ("common_words") for en, ru and uk.

A word earns its place by being frequent, not merely valid: rare valid forms
that equal a frequent word of the other language typed on the wrong layout
would block good corrections. Each list is ranked by an estimated frequency
per million words and cut to a size that keeps the rules file quick to load.
"""

import json
import math

import layouts
from packed import rank_band
from text import ALPHABETS

LIST_SIZE = {"en": 60000, "ru": 130000, "uk": 120000}
# Unseen forms of a paradigm that occurs in the training text: at least this long.
PARADIGM_FORM_MIN_LENGTH = 5
# Forms the corpus never shows are ranked as if they occurred this often (per
# million), scaled by how often their paradigm occurs.
UNSEEN_FORM_SHARE = 0.05

CONTRACTIONS = ("i'm i've i'll i'd you're you've you'll you'd he's he'll he'd she's she'll she'd "
                "it's it'll we're we've we'll we'd they're they've they'll they'd that's that'll "
                "there's here's what's who's where's how's let's don't doesn't didn't isn't aren't "
                "wasn't weren't haven't hasn't hadn't won't wouldn't can't couldn't shouldn't "
                "mustn't needn't ain't y'all o'clock").split()
ABBREVIATIONS = "e.g i.e etc vs a.m p.m mr mrs ms dr jr sr st no".split()


def _subtlex(path):
    with open(path, encoding="utf-8") as f:
        entries = json.load(f)
    counts = {}
    for e in entries:
        w = e["word"].lower()
        if w and all(c in ALPHABETS["en"] or c == "'" for c in w):
            counts[w] = counts.get(w, 0) + e["count"]
    return counts


def english_frequencies(subtlex_path, wordlist_path, counts, cyrillic_counts):
    """Per-million estimates for English: the subtitle counts first, then running text,
    then technical words seen in the Cyrillic documents and in code snippets."""
    sub = _subtlex(subtlex_path)
    total = sum(sub.values())
    with open(wordlist_path, encoding="utf-8", errors="replace") as f:
        valid = {l.strip().lower() for l in f}
    freq = {}
    for w, c in sub.items():
        if c >= 3 and (w in valid or c >= 200 or "'" in w):
            freq[w] = c * 1e6 / total
    brown_total = max(1, counts.tokens)
    for w, c in counts.words.items():
        if c >= 2 and w in valid:
            freq[w] = max(freq.get(w, 0.0), c * 1e6 / brown_total)
    # Latin words in Cyrillic prose are commands, product names and abbreviations.
    for cyr in cyrillic_counts:
        cyr_total = max(1, cyr.tokens)
        for w, c in cyr.latin_words.items():
            if c >= 3 and len(w) >= 2:
                freq[w] = max(freq.get(w, 0.0), 0.2 * c * 1e6 / cyr_total)
        for w, c in cyr.technical_tokens.items():
            if c >= 3 and len(w) >= 2 and all(ch in ALPHABETS["en"] or ch == "'" for ch in w):
                freq[w] = max(freq.get(w, 0.0), 0.1 * c * 1e6 / cyr_total)
    for w in CONTRACTIONS + ABBREVIATIONS:
        freq[w] = max(freq.get(w, 0.0), 1.0)
    return freq


def cyrillic_frequencies(lang, counts, paradigm_list, extra_valid=(), valid_only=False):
    """Per-million estimates for ru or uk: training text counts, plus the unseen
    forms of every paradigm that the training text shows at all. With
    valid_only, a word the dictionaries do not know is left out however often
    it occurs (translations of games hold misspellings and made-up names)."""
    total = max(1, counts.tokens)
    valid = set(extra_valid)
    for p in paradigm_list:
        valid.update(p)
    freq = {}
    for w, c in counts.words.items():
        if w in valid or (not valid_only and c >= 2):
            freq[w] = c * 1e6 / total
    for p in paradigm_list:
        seen = sum(counts.words.get(w, 0) for w in p)
        if seen == 0:
            continue
        share = UNSEEN_FORM_SHARE * seen * 1e6 / total / len(p)
        for w in p:
            if w not in freq and len(w) >= PARADIGM_FORM_MIN_LENGTH:
                freq[w] = share
    if lang == "ru":
        # Most running text writes е for ё; users type both.
        for w in [w for w in freq if "ё" in w]:
            plain = w.replace("ё", "е")
            freq[plain] = max(freq.get(plain, 0.0), freq[w])
    return freq


def with_everyday(documentation, everyday):
    """Each word at the higher of its two estimates: a word frequent in
    documentation (файл) or in everyday text (руку) ranks as frequent."""
    merged = dict(documentation)
    for w, f in everyday.items():
        if f > merged.get(w, 0.0):
            merged[w] = f
    return merged


def rank_positions(freqs):
    """{lang: {word: 1-based rank}} of every estimated word."""
    return {lang: {w: i + 1 for i, w in enumerate(ranked(freq, len(freq)))} for lang, freq in freqs.items()}


def technical_latin_words(documentation, cyrillic_counts):
    """English words that the Cyrillic documentation writes in Latin letters
    (cd, tls, evt) and that the documentation alone keeps as words: everyday
    text says nothing about how often they are typed in technical writing, so
    its evidence never drops them as the rarer twin."""
    seen = set()
    for cyr in cyrillic_counts:
        seen.update(w for w, c in cyr.latin_words.items() if c >= 3 and len(w) >= 2)
        seen.update(w for w, c in cyr.technical_tokens.items() if c >= 3 and len(w) >= 2)
    alone = {lang: dict(f) for lang, f in documentation.items()}
    alone, dropped = resolve_collisions(alone)
    return (seen & set(alone["en"])) - drop_sanitised_twins(alone)


def resolve_collisions(freqs, ratio=3.0, keep=frozenset()):
    """Drops a word when the same keys give a word of another language that is
    clearly more frequent: that reading is the likelier intent. English words
    in keep stay."""
    dropped = {lang: set() for lang in freqs}
    pairs = [("en", "ru"), ("en", "uk"), ("ru", "en"), ("uk", "en"), ("ru", "uk"), ("uk", "ru")]
    maps = {(s, t): layouts.engine_map(s, t) for s, t in pairs}
    for s, t in pairs:
        table = maps[(s, t)]
        for w, f in freqs[s].items():
            twin = "".join(table.get(c, c) for c in w)
            if twin == w:
                continue
            g = freqs[t].get(twin)
            if g is not None and g > ratio * f and not (s == "en" and w in keep):
                dropped[s].add(w)
    return {lang: {w: f for w, f in fr.items() if w not in dropped[lang]} for lang, fr in freqs.items()}, dropped


def protect_twins(freqs, paradigm_forms):
    """A valid form whose same-script twin is a listed word of the other language
    is listed too, so the correctly typed form is never turned into the twin."""
    added = {"ru": 0, "uk": 0}
    for s, t in (("ru", "uk"), ("uk", "ru")):
        table = layouts.engine_map(s, t)
        for w in paradigm_forms[s]:
            if w in freqs[s]:
                continue
            twin = "".join(table.get(c, c) for c in w)
            if twin != w and twin in freqs[t]:
                freqs[s][w] = min(freqs[t][twin], 1.0) * 0.1
                added[s] += 1
    return added


def ranked(freq, size):
    """Most frequent first; ties by the word itself, so the order is stable."""
    items = sorted(freq.items(), key=lambda kv: (-kv[1], kv[0]))
    return [w for w, _ in items[:size]]


def log_weight(value):
    return math.log10(max(value, 1e-9))


# Pieces that subtitle tokenisation cut out of contractions (don't -> don + t)
# and single letters other than the two English one-letter words.
FRAGMENTS = set("s t ll re ve m d don doesn didn isn wasn weren couldn wouldn shouldn haven hasn "
                "hadn aren ain mustn needn".split())


def drop_fragments(freq):
    for w in list(freq):
        if w in FRAGMENTS or (len(w) == 1 and w not in ("a", "i")):
            del freq[w]


def apostrophe_free_forms(words):
    """The engine scores a typed English word without its apostrophes (that key
    is a letter on the Cyrillic layouts), so "don't" is looked up as "dont"."""
    listed = set(words)
    extra = {w.replace("'", "") for w in words if "'" in w and w[0] != "'"}
    return sorted(extra - listed)


RU_ONLY, UK_ONLY = set("ыэъё"), set("іїєґ'")


def share_cyrillic(lists, n):
    """Each Cyrillic list also takes the other's frequent words written only with
    letters both alphabets have. The engine scores a typed Cyrillic word as a word
    of every Cyrillic language whose alphabet holds it, so a Russian word must not
    look like Ukrainian gibberish (and be "corrected" to English), nor the reverse."""
    ru, uk = lists["ru"], lists["uk"]
    from_uk = [w for w in uk[:n] if not set(w) & UK_ONLY]
    from_ru = [w for w in ru[:n] if not set(w) & RU_ONLY]
    ru_set, uk_set = set(ru), set(uk)
    lists["ru"] = ru + [w for w in from_uk if w not in ru_set]
    lists["uk"] = uk + [w for w in from_ru if w not in uk_set]


def drop_sanitised_twins(freqs, ratio=3.0, keep=frozenset()):
    """The engine scores a typed Latin word without the keys that are letters on
    the target layout (ж typed as ; and so on), so уже typed on the US layout
    (e;t) is scored as "et". An English word that equals such a remainder of a
    clearly more frequent Cyrillic word is dropped."""
    dropped = set()
    for lang in ("ru", "uk"):
        to_latin = layouts.engine_map(lang, "en")
        letter_keys = {c for c in to_latin.values() if not c.isalpha()}
        for w, g in freqs[lang].items():
            typed = "".join(to_latin.get(c, c) for c in w)
            rest = "".join(c for c in typed if c not in letter_keys)
            if rest != typed and len(rest) >= 2:
                f = freqs["en"].get(rest)
                if f is not None and g > ratio * f and rest not in keep:
                    dropped.add(rest)
    for w in dropped:
        del freqs["en"][w]
    return dropped


def drop_short_punctuation_twins(freqs, keep_above=200.0):
    """A two-letter Cyrillic word ending in б or ю is a Latin letter and a comma
    or full stop on the US layout (n, -> тб): listed only when frequent (об, цю)."""
    for lang in ("ru", "uk"):
        for w in [w for w, f in freqs[lang].items() if len(w) == 2 and w[-1] in "бю" and f < keep_above]:
            del freqs[lang][w]


# Forms of a paradigm that no ranked list holds enter the packed lexicon from
# this length on: shorter valid forms are mostly rare and too often equal a
# frequent word typed on the wrong layout.
EXTRA_FORM_MIN_LENGTH = 4
# A form whose keys give a listed word on the layout of another script (руку,
# here) enters from this length on when the engine is to weigh the two by
# frequency and by the words typed around them.
CROSS_SCRIPT_TWIN_MIN_LENGTH = 3


def sanitised_remainders(lists):
    """The Latin keys of each listed Cyrillic word typed on the US layout without
    the keys that are letters on its own layout (уже: e;t -> et), the way the
    engine scores such a typed word."""
    remainders = set()
    for lang in ("ru", "uk"):
        to_latin = layouts.engine_map(lang, "en")
        letter_keys = {c for c in to_latin.values() if not c.isalpha()}
        for w in lists[lang]:
            typed = "".join(to_latin.get(c, c) for c in w)
            rest = "".join(c for c in typed if c not in letter_keys)
            if rest != typed:
                remainders.add(rest)
    return remainders


def unranked_english(words, lists, dropped, min_length=EXTRA_FORM_MIN_LENGTH):
    """Dictionary words no ranked English list holds (names, places, rare words),
    to enter the lexicon with no frequency estimate. Left out: forms dropped as
    the rarer twin, forms whose keys on a Cyrillic layout spell a listed word of
    that language and forms that are what the engine keeps of a listed Cyrillic
    word typed on the US layout: with no frequency of their own they are the
    rarer reading, and typing the Cyrillic word on the wrong layout must still
    be corrected."""
    listed = {lang: set(ws) for lang, ws in lists.items()}
    tables = {t: layouts.engine_map("en", t) for t in ("ru", "uk")}
    remainders = sanitised_remainders(lists)
    out = set()
    for w in words:
        if len(w) < min_length or w in listed["en"] or w in dropped["en"] or w in remainders:
            continue
        if any("".join(table.get(c, c) for c in w) in listed[t] for t, table in tables.items()):
            continue
        out.add(w)
    return out


def packed_lexicons(lists, forms, dropped, keep_cross_script_twins=False, twin_ranks=None):
    """{lang: {word: rank band}}: every listed word with the band of its place in
    its list, plus (band 0) every other valid form of 4+ letters, except forms
    dropped as the rarer twin and forms whose reading on another layout is a
    listed word of another language (typing that word on the wrong layout must
    still be corrected). With keep_cross_script_twins, forms of 3+ letters whose
    reading on the layout of another script is a listed word are kept (band 0),
    dropped or not: the engine tells them apart by frequency and context, so
    such a form carries the band of its rank in twin_ranks when it has one. A form
    that another language of its script lists as the same text (бомба) is a word
    of both: it enters too, with the band of its rank in twin_ranks, so that its
    frequency, not the gaps of one list, tells which language it belongs to. So
    does a form whose reading on the layout of another language of its script
    is a listed word (лазерный, лазерній), even one dropped as the rarer twin:
    typed on its own layout it is that word; the engine tells the two apart by
    the words around them. With no rank of its own it takes its twin's band:
    nothing says it is the rarer one."""
    listed = {lang: set(words) for lang, words in lists.items()}
    position = {lang: {w: i + 1 for i, w in reversed(list(enumerate(words)))} for lang, words in lists.items()}
    out = {}
    for lang, words in lists.items():
        bands = {}
        for i, w in enumerate(words):
            bands.setdefault(w, rank_band(i + 1))
        others = [(t, layouts.engine_map(lang, t)) for t in lists if t != lang]

        def twin_listed(form, same_script):
            return any("".join(table.get(c, c) for c in form) in listed[t]
                       for t, table in others if ((t == "en") == (lang == "en")) == same_script)

        for w in sorted(forms.get(lang, ())):
            for form in {w, w.replace("ё", "е")}:
                if form in bands:
                    continue
                if (keep_cross_script_twins and len(form) >= CROSS_SCRIPT_TWIN_MIN_LENGTH
                        and twin_listed(form, False) and not twin_listed(form, True)):
                    bands[form] = rank_band((twin_ranks or {}).get(lang, {}).get(form))
                    continue
                if len(form) < EXTRA_FORM_MIN_LENGTH:
                    continue
                readings = [(t, "".join(table.get(c, c) for c in form)) for t, table in others]
                cross_script = [(t, r) for t, r in readings if (t == "en") != (lang == "en")]
                if any(reading != form and reading in listed[t] for t, reading in cross_script):
                    continue
                twins = [rank_band(position[t][r]) for t, r in readings if r != form and r in listed[t]]
                if form in dropped[lang] and not twins:
                    continue
                shared = any(reading == form and reading in listed[t] for t, reading in readings)
                own = (twin_ranks or {}).get(lang, {}).get(form)
                bands[form] = rank_band(own) if shared or (twins and own) else min(twins, default=0)
        out[lang] = bands
    return out
