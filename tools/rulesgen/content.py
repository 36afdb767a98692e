"""Per-language scoring content estimated from the training text.

Bigram log weights, word starts and ends, suffix boosts, micro-dictionaries,
phrase-start words, and the impossible and rare patterns (each candidate
pattern is kept only when the training text shows it is true of the language).
"""

import collections
import math
import re

import layouts

# Log weights, log-linear in a pair's count: the most frequent pair gets
# BIGRAM_TOP, the pair at which the running text's pairs reach BIGRAM_COVERAGE
# of all pairs gets 0 (so ordinary words score above 0 and mistyped ones below),
# and rarer pairs fall to BIGRAM_FLOOR at the least.
BIGRAM_TOP, BIGRAM_FLOOR, BIGRAM_COVERAGE = 3.0, -4.0, 0.95
BIGRAM_MIN_COUNT = 2
UNKNOWN_BIGRAM = -4.5
# Small enough that a listed word with odd pairs (pdf, dpkg) stays a listed word.
NGRAM_SCALE = 14.0

VOWELS = {"en": "aeiouy", "ru": "аеёиоуыэюя", "uk": "аеєиіїоуюя"}


# Share of the pair and affix statistics that comes from the whole dictionary
# (each form counted once) rather than from running text: the training text is
# documentation, and everyday words must not look foreign.
LEXICON_SHARE = 0.3


def _blend(running, types):
    """running + types scaled to LEXICON_SHARE of the blended mass."""
    r_total, t_total = sum(running.values()), sum(types.values())
    if not t_total:
        return collections.Counter(running)
    factor = LEXICON_SHARE / (1 - LEXICON_SHARE) * r_total / t_total
    blended = collections.Counter({k: float(v) for k, v in running.items()})
    for k, v in types.items():
        blended[k] += v * factor
    return blended


def lexicon_bigrams(forms):
    found = collections.Counter()
    for w in forms:
        for i in range(len(w) - 1):
            found[w[i:i + 2]] += 1
    return found


def bigram_weights(counts, lexicon_pairs):
    # Pairs the running text never shows twice stay unknown, whatever the dictionary says.
    running = {b: c for b, c in counts.bigrams.items() if c >= BIGRAM_MIN_COUNT}
    blended = _blend(running, {b: c for b, c in lexicon_pairs.items() if b in running})
    pairs = sorted(((c, b) for b, c in blended.items()), reverse=True)
    total, running, zero_at = sum(c for c, _ in pairs), 0, pairs[-1][0]
    for c, _ in pairs:
        running += c
        if running >= BIGRAM_COVERAGE * total:
            zero_at = c
            break
    top = pairs[0][0]
    slope = BIGRAM_TOP / math.log(top / zero_at)
    return {b: round(max(BIGRAM_FLOOR, BIGRAM_TOP + slope * math.log(c / top)), 2) for c, b in pairs}


def _affix_counts(counts, length, at_start, min_word, forms):
    running, types = collections.Counter(), collections.Counter()
    for w, c in counts.words.items():
        if len(w) >= min_word:
            running[w[:length] if at_start else w[-length:]] += c
    for w in forms:
        if len(w) >= min_word:
            types[w[:length] if at_start else w[-length:]] += 1
    return _blend(running, types)


def _top(counter, n):
    return [k for k, _ in sorted(counter.items(), key=lambda kv: (-kv[1], kv[0]))[:n]]


def word_starts_and_ends(counts, forms, n_strong=150, n_weak=100):
    return {
        "strong_word_starts": _top(_affix_counts(counts, 3, True, 4, forms), n_strong),
        "weak_word_starts": _top(_affix_counts(counts, 2, True, 3, forms), n_weak),
        "strong_word_ends": _top(_affix_counts(counts, 3, False, 4, forms), n_strong),
        "weak_word_ends": _top(_affix_counts(counts, 2, False, 3, forms), n_weak),
    }


def suffix_boosts(counts, lexicon, n=150, low=3.0, high=10.0):
    """Endings shared by many different listed words, boosted by how many."""
    types = collections.Counter()
    for w in lexicon:
        for k in (3, 4, 5):
            if len(w) >= k + 2:
                types[w[-k:]] += 1
    best = _top(types, n)
    if not best:
        return {}
    most, least = math.log(types[best[0]]), math.log(types[best[-1]])
    span = max(most - least, 1e-9)
    return {s: round(low + (high - low) * (math.log(types[s]) - least) / span, 1) for s in best}


def micro_dictionary(ranked_words, n=60):
    return sorted(ranked_words[:n])


def phrase_start_words(counts, n=300, everyday=None):
    """The words that most often start a sentence, in documentation and (when
    given) everyday text, each counted as often as it starts one."""
    starts = collections.Counter(counts.sentence_starts)
    if everyday is not None:
        starts.update(everyday.sentence_starts)
    return sorted(_top(starts, n))


# Candidate patterns per language; validate() keeps those the training text bears out.
IMPOSSIBLE_CANDIDATES = {
    "en": [r"[\[\]`;{}<>~:\"]", r"[,.][a-z']", r"^['.,]", r"''"],
    "ru": [r"^[ьъы]", r"[ьъ][ьъ]", r"[аеёиоуыэюя][ьъ]", r"[жшчщ]ы", r"[жчщ]я", r"ъ[^еёюя]",
           r"ъ$", r"ыы", r"ёё", r"йй", r"[аеёиоуэюя]ы", r"щщ", r"[йь]ь"],
    "uk": [r"[ыэёъ]", r"^[ь']", r"[ь'][ь']", r"'$", r"[аеєиіїоуюя]ь", r"[аеєиіїоуюяь]'",
           r"'[^єїюя]", r"ьь", r"йй", r"ьй"],
}
RARE_CANDIDATES = {
    "en": [r"[bcdfghjklmnpqrstvwxz]{5,}", r"^[bcdfghjklmnpqrstvwxz]{4,}$", r"q[^u]"],
    "ru": [r"[бвгджзйклмнпрстфхцчшщ]{5,}", r"^[бвгджзйклмнпрстфхцчшщ]{4,}$", r"[аеиоуыэюя]{4,}"],
    "uk": [r"[бвгґджзйклмнпрстфхцчшщ]{5,}", r"^[бвгґджзйклмнпрстфхцчшщ]{4,}$", r"[аеєиіїоуюя]{4,}"],
}


def validate(counts, candidates, max_token_share):
    """Keeps the patterns that match at most max_token_share of running words."""
    kept = []
    total = max(1, counts.tokens)
    for pattern in candidates:
        rx = re.compile(pattern)
        hits = sum(c for w, c in counts.words.items() if rx.search(w))
        if hits / total <= max_token_share:
            kept.append(pattern)
    return kept


def patterns(counts):
    lang = counts.lang
    return {"impossible_patterns": validate(counts, IMPOSSIBLE_CANDIDATES[lang], 2e-5),
            "rare_patterns": validate(counts, RARE_CANDIDATES[lang], 2e-3)}


# The keys that are letters on the Russian layout (х ъ ж э б ю ё) give
# punctuation on the US one; inside a Latin word, or at its start, or (for the
# four that never end an English word) at its end, they betray Russian typed on
# the wrong layout. The bonus stays below the engine's priority step (12), which
# these rules would otherwise overturn for Ukrainian twins of Russian words
# (the rules only ever favour the Russian reading).
LETTER_KEY_BONUS = 6.0
LETTER_KEY_RULES = [
    {"regex": r"[A-Za-z][\[\];`,.][A-Za-z]", "bonus_to_candidate": LETTER_KEY_BONUS},
    {"regex": r"^[\[\];`,.'][A-Za-z]", "bonus_to_candidate": LETTER_KEY_BONUS},
    {"regex": r"[A-Za-z][\[\]`;]$", "bonus_to_candidate": LETTER_KEY_BONUS},
]


def _ngram_counts(words, n):
    found = collections.Counter()
    for w, c in words:
        for i in range(len(w) - n + 1):
            found[w[i:i + n]] += c
    return found


def suspicion_rules(native, mistyped, bonus, max_native_share=2e-5, min_mistyped_share=0.02,
                    limit=24):
    """Letter pairs and triples common in words typed on the wrong layout and
    (almost) absent from correctly typed ones; each becomes a rule worth bonus."""
    native_total = max(1, sum(c for _, c in native))
    mistyped_total = max(1, sum(c for _, c in mistyped))
    rules = []
    for n in (2, 3):
        nat, mis = _ngram_counts(native, n), _ngram_counts(mistyped, n)
        for gram, c in mis.items():
            if not all(ch.isalpha() for ch in gram):
                continue
            if nat.get(gram, 0) / native_total <= max_native_share and c / mistyped_total >= min_mistyped_share:
                rules.append((c, gram))
    rules.sort(key=lambda cg: (-cg[0], cg[1]))
    chosen = []
    for _, gram in rules:
        if any(g in gram for g in chosen):
            continue
        chosen.append(gram)
        if len(chosen) == limit:
            break
    # Rules see the word as typed, so a capital letter must match too.
    return [{"regex": "".join(f"[{c}{c.upper()}]" for c in g), "bonus_to_candidate": bonus}
            for g in sorted(chosen)]


def mistyped_words(counts, source, target, min_count=2):
    """Training words of `source` as they come out when typed on the `target` layout."""
    return [(layouts.map_word(w, source, target), c) for w, c in counts.words.items() if c >= min_count]
