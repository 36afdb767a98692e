"""The fixed parts of the rules file: tokenisation, thresholds, weights,
protected patterns, and the JSON writer that keeps the output byte-stable."""

import json

TOKENIZATION = {
    # Not ";": on the Cyrillic layouts that key is a letter, and a Cyrillic word
    # never ends in a semicolon typed on the US layout.
    "word_boundaries": [".", ",", ":", "!", "?", "\"", ")", "(", "\u00bb", "\u2026"],
    "strip_boundary_before_scoring": True,
    "preserve_boundary_after_replacement": True,
    "max_token_length_for_auto": 32,
    "min_token_length_for_auto": 2,
    "auto_skip_length_1": True,
    "auto_length_2_requires_exact_common_or_override": True,
    "mixed_script_auto": False,
    "digits_in_token_auto": False,
    "edge_punctuation_auto": True,
    "prefer_whole_known_word": True,
    # A quote typed on the US layout before a capitalised word ("He) is a
    # quote: as the letter of its key the word would be cased as none is (ЭРу).
    "leading_mark_before_capital_kept": True,
    # A capital and the key of a colon typed on a Cyrillic layout (ЙЖ) is the
    # letter of an English question, answer or heading (Q:).
    "edge_colon_letter_auto": True,
    # Full stop keys typed on a Cyrillic layout before an English word
    # (юююсфттще) are an ellipsis opening it (...cannot).
    "edge_leading_ellipsis_auto": True,
}

DECISION = {
    "auto_thresholds": {
        "min_delta_by_length": {"5": 26.0, "6": 24.0, "7+": 22.0},
        "min_candidate_score_by_length": {"5": 26.0, "6": 26.0, "7+": 26.0},
        "min_confidence": 0.82,
        "phrase_start_bonus_threshold_discount": 6.0,
        "original_exact_common_word_requires_extra_delta": 28.0,
        "same_script_extra_delta": 15.0,
        "same_script_min_length": 4,
        "protected_pattern_override_min_score": 60.0,
        # Words of one or two letters are too short for letter statistics to
        # say they are gibberish; protected ones (KB, W.) are abbreviations.
        "gibberish_bypass_min_length": 3,
        "protected_override_min_length": 3,
        # A protected word typed all in capitals whose reading is no
        # abbreviation of the target is corrected only to a word ranked within
        # the first ~30,000 of the target (band 60; ALPHA is 53, NEXUS 59) that
        # the words typed before do not go against: UTC is not the rare ГЕС
        # (band 69), HEIF not the unranked form РУША, JYJ in English text not ОНО.
        "capitals_word_max_band": 60,
    },
    # A word typed on a layout of another script than the word kept just
    # before it, in one application, was typed so on purpose: the user changed
    # the layout by hand (db, DCT, kbd in Russian text; the hook changes it
    # only after a correction). Russian false corrections in documentation
    # went from 20 to 6 of 205,769 words, no recall moved. Corrections within
    # a script (Ukrainian typed on the Russian layout) still apply.
    "keep_word_after_script_switch": True,
    # A Cyrillic word that one active language lists is weighed as its word
    # whichever Cyrillic layout it is read from: read from the Ukrainian
    # layout, the Russian ешь is no Ukrainian gibberish to turn into English.
    "typed_word_known_in_script": True,
    # A word kept at the start of a text because nothing yet supports its far
    # more frequent reading on the other script's layout (Еру, The) counts for
    # no language, so the word corrected after it takes it along.
    "kept_twin_counts_for_none": True,
    "scoring_weights": {
        "exact_common_word": 90.0,
        "exact_phrase_start_word": 24.0,
        "exact_seed_pair": 120.0,
        "has_language_vowel": 8.0,
        "missing_language_vowel_len_4_plus": -26.0,
        "strong_word_start": 9.0,
        "weak_word_start": 4.0,
        "strong_word_end": 9.0,
        "weak_word_end": 4.0,
        "strong_bigram": 3.0,
        "strong_trigram": 5.0,
        "rare_bigram": -10.0,
        "rare_trigram": -16.0,
        "impossible_pattern": -120.0,
        "rare_pattern": -34.0,
        "layout_suspicion": 12.0,
        "dictionary_never_correct_raw": -10000.0,
        "protected_pattern_raw": -10000.0,
        "frequent_token_bonus": 15.0,
    },
    "confidence": {"scale": 18.0},
    "dynamic_threshold_curve": {
        "enabled": True,
        "candidate_base_at_len_5": 38.0,
        "candidate_decay_per_shorter_len": -3.0,
        "candidate_floor": 14.0,
        "delta_base_at_len_5": 30.0,
        "delta_decay_per_shorter_len": 8.0,
        "delta_floor": 10.0,
    },
    # Russian and Ukrainian words that read as words of both languages (файлы
    # and файлі are the same keys) go to the language of the last eight words
    # of a single language, when it leads by one; else to a reading at least
    # eight rank bands (four times) more frequent; else as before. A lead of
    # one lets the first words of the text's language bring a text begun on
    # the other Cyrillic layout back (мы typed as мі after a word read as
    # Ukrainian); false corrections measured the same as with a lead of two.
    # A word both languages write alike counts for one only ten bands apart:
    # their bands come from corpora of different size and genre. At the start
    # of a text, of two listed readings one five bands more frequent wins
    # (Порядковый 58, Порядковій 65; a smaller gap, as Системі 39 against
    # Системы 35, is left to the score and to the words after it), and of two
    # unlisted ones the one ending in a listed word of four letters or more
    # (Супертяжелый: тяжелый), the candidate scores of two languages being no
    # measure of which one the user writes. A correction that reads the same in
    # both (теперь) switches the layout to the language where it is sixteen
    # bands (sixteen times) more frequent: Рисунок, 28 in Russian and 42 in
    # Ukrainian, is a word of Ukrainian documentation too; with twelve bands
    # the everyday Ukrainian blocks lost three of 472, with ten as many.
    "language_evidence": {"window": 8, "min_lead": 1, "twin_rank_margin": 8, "same_text_rank_margin": 10,
                          "text_start_twin_rank_margin": 5, "twin_known_tail_min_length": 4,
                          "same_text_layout_rank_margin": 16},
}

# Matched against the whole word as the engine receives it. The word capture
# already cuts text at / \ : _ and resets at - @ # and digits stop automatic
# correction, so these see the pieces that remain.
PROTECTED_PATTERNS = [
    {"id": "url_scheme", "regex": r"^(?:https?|ftp|file|mailto|ssh|git)$", "case_insensitive": True},
    {"id": "www_host", "regex": r"^www\.", "case_insensitive": True},
    {"id": "domain", "regex": r"^[a-z0-9-]+(?:\.[a-z0-9-]+)*\.(?:com|net|org|io|me|co|ru|ua|by|kz|uk|us|eu|de|fr|pl|nl|info|biz|app|dev|ai|edu|gov|int|html?|php|local|lan|onion)$", "case_insensitive": True},
    {"id": "file_name", "regex": r"^[A-Za-z0-9-]+\.(?:txt|md|rst|cpp|cc|cxx|hpp|hh|h|c|py|pyc|js|mjs|ts|tsx|jsx|json|xml|xsl|xhp|yml|yaml|toml|ini|cfg|conf|log|sh|bash|zsh|ps1|bat|cmd|exe|dll|so|a|o|lib|deb|rpm|iso|img|zip|gz|tgz|xz|bz2|tar|7z|rar|pdf|odt|ods|odp|doc|docx|xls|xlsx|ppt|pptx|csv|tsv|png|jpe?g|gif|svg|bmp|ico|webp|tiff?|xcf|mp3|mp4|ogg|wav|flac|mkv|avi|webm|html?|css|scss|php|rb|pl|java|kt|rs|go|swift|sql|db|sqlite|lock|bak|tmp|desktop|service|page|po|pot|mo|ttf|otf|woff2?)$", "case_insensitive": True},
    {"id": "dotted_identifier", "regex": r"^[a-z][a-z0-9]*(?:\.[a-z][a-z0-9]*){2,}$", "case_insensitive": True},
    {"id": "inner_capital", "regex": r"[a-z][A-Z]|[а-яёіїєґ][А-ЯЁІЇЄҐ]"},
    # Abbreviations: a mistyped all-capital word is still corrected when its
    # reading is a listed word (the override score), not on letter statistics.
    {"id": "short_abbreviation", "regex": r"^[A-Z][a-z]{0,2}\.$"},
    {"id": "all_caps_abbreviation", "regex": r"^(?:[A-Z]{2,5}|[А-ЯЁІЇЄҐ]{2,5})$"},
    {"id": "hex_number", "regex": r"^(?:0x[0-9a-f]+|[0-9a-f]{8,})$", "case_insensitive": True},
    {"id": "hex_colour", "regex": r"^#[0-9a-f]{3,8}$", "case_insensitive": True},
    {"id": "version", "regex": r"^v?[0-9]+(?:\.[0-9]+)+[a-z0-9.-]*$", "case_insensitive": True},
    {"id": "number_with_unit", "regex": r"^[0-9]+(?:[.,][0-9]+)?(?:px|pt|em|rem|ms|s|kb|mb|gb|tb|mhz|ghz|hz|k|m|g|x|dpi|fps|%)$", "case_insensitive": True},
    {"id": "email", "regex": r"^[a-z0-9._%+-]+@[a-z0-9.-]+\.[a-z]{2,}$", "case_insensitive": True},
]


def _compact(value):
    return json.dumps(value, ensure_ascii=False, sort_keys=True, separators=(",", ":"))


def dump(rules):
    """Stable text: sorted keys, no timestamps. One line per top-level member,
    per language member and per golden test, so that changes read well in a diff."""
    lines = ["{"]
    keys = sorted(rules)
    for i, key in enumerate(keys):
        value = rules[key]
        comma = "," if i + 1 < len(keys) else ""
        if key == "languages":
            lines.append(f'"{key}":{{')
            langs = sorted(value)
            for j, lang in enumerate(langs):
                lines.append(f'"{lang}":{{')
                members = sorted(value[lang])
                for k, member in enumerate(members):
                    sep = "," if k + 1 < len(members) else ""
                    lines.append(f'{_compact(member)}:{_compact(value[lang][member])}{sep}')
                lines.append("}" + ("," if j + 1 < len(langs) else ""))
            lines.append("}" + comma)
        elif key in ("golden_tests", "protected_patterns"):
            lines.append(f'"{key}":[')
            lines += [_compact(t) + ("," if n + 1 < len(value) else "") for n, t in enumerate(value)]
            lines.append("]" + comma)
        else:
            lines.append(f'"{key}":{_compact(value)}{comma}')
    lines.append("}")
    return "\n".join(lines) + "\n"
