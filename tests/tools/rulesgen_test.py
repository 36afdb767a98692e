"""Tests of the rules generator's hunspell expansion, packed lexicon and everyday texts.

    python3 tests/tools/rulesgen_test.py

The checks against the real dictionaries use the generator's cache
(QUILLOM_RULESGEN_CACHE, default build/rulesgen-cache) or the system's
dictionaries, and `hunspell -l`; they are skipped when neither is there.
"""

import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tools", "rulesgen"))

import affixes        # noqa: E402
import capitals       # noqa: E402
import corpus         # noqa: E402
import devtext        # noqa: E402
import everyday       # noqa: E402
import later_members  # noqa: E402
import lexicon        # noqa: E402
import pack_fixture   # noqa: E402
import training       # noqa: E402
import packed         # noqa: E402
import sources        # noqa: E402

AFF = """SET UTF-8
IGNORE \u0301
# a comment
PFX P Y 1
PFX P 0 не .
PFX Q N 1
PFX Q а о а
SFX A Y 3
SFX A ь я [^т]ь
SFX A 0 ы [бвгд]
SFX A ть ла ать ###
SFX B N 1
SFX B 0 ом .
"""
DIC = """5
конь/A
дуб/AP
знать/AB
ар/Q
по\u0301ле
"""


def write(folder, name, text):
    path = os.path.join(folder, name)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


class Expansion(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.aff = write(self.dir, "t.aff", AFF)
        self.dic = write(self.dir, "t.dic", DIC)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def test_rules_conditions_and_cross_products(self):
        got = affixes.expand(self.dic, self.aff)
        self.assertEqual(got, [
            {"конь", "коня"},                              # ь -> я, not after т
            {"дуб", "дубы", "недуб", "недубы"},            # suffix, prefix, and both (cross product)
            {"знать", "знала", "знатьом"},                 # strip with a condition; B has no cross product
            {"ар", "ор"},                                  # a prefix that strips
            {"поле"},                                      # IGNORE removes the stress mark
        ])

    def test_unsupported_features_stop_the_expansion(self):
        for extra in ("FLAG long\n", "NEEDAFFIX X\n", "SFX C Y 1\nSFX C 0 а/B .\n", "SFX D Y 2\nSFX D 0 а .\n"):
            aff = write(self.dir, "bad.aff", AFF + extra)
            with self.assertRaises(ValueError, msg=extra):
                affixes.expand(self.dic, aff)


def dictionary_folder():
    cache = os.environ.get("QUILLOM_RULESGEN_CACHE", os.path.join(ROOT, "build", "rulesgen-cache"))
    for lang, stem in (("ru", "ru_RU"), ("uk", "uk_UA")):
        candidates = [os.path.join(cache, "x", f"hunspell-{lang}", "usr", "share", "hunspell"), "/usr/share/hunspell"]
        found = next((c for c in candidates if os.path.isfile(os.path.join(c, stem + ".aff"))), None)
        yield lang, stem, found


@unittest.skipIf(shutil.which("hunspell") is None, "hunspell is not installed")
class RealDictionaries(unittest.TestCase):
    KNOWN = {"ru": ["прочту", "прочтёшь", "прочтёт", "тебе", "любовь", "вдруг", "знаю", "девушка", "мужа", "мысли"],
             "uk": ["розлетілися", "розлетітися", "розлетівся", "кохання", "дякую", "знаю", "дівчина"]}
    WRONG = {"ru": ["прочела", "прочело"], "uk": []}

    def test_forms_are_accepted_by_hunspell_and_known_forms_are_there(self):
        tested = 0
        for lang, stem, folder in dictionary_folder():
            if folder is None:
                continue
            tested += 1
            forms = set()
            for group in affixes.expand(os.path.join(folder, stem + ".dic"), os.path.join(folder, stem + ".aff")):
                forms |= group
            for word in self.KNOWN[lang]:
                self.assertIn(word, forms, lang)
            for word in self.WRONG[lang]:
                self.assertNotIn(word, forms, lang)
            sample = random.Random(12).sample(sorted(forms), 3000)
            result = subprocess.run(["hunspell", "-d", os.path.join(folder, stem), "-l"], input="\n".join(sample),
                                    capture_output=True, text=True, check=True)
            self.assertEqual(result.stdout.split(), [], f"{lang}: forms hunspell rejects")
        if not tested:
            self.skipTest("no hunspell dictionaries")


class LexiconMembers(unittest.TestCase):
    LISTS = {"en": ["here", "her", "the"], "ru": ["мир", "файлы"], "uk": ["файлі", "світ"]}
    FORMS = {"ru": {"руку", "рук", "мирами", "файлы", "кот", "ещё"}, "uk": {"файли", "світу", "рук"}}

    def lexicons(self, keep):
        return lexicon.packed_lexicons(self.LISTS, self.FORMS, {"en": set(), "ru": {"рук"}, "uk": set()},
                                       keep_cross_script_twins=keep)

    def test_cross_script_twins_are_kept_only_when_asked(self):
        before, after = self.lexicons(False), self.lexicons(True)
        # руку and рук are here and her on the US layout; рук was dropped as the rarer twin.
        self.assertNotIn("руку", before["ru"])
        self.assertNotIn("рук", before["ru"])
        self.assertEqual((after["ru"]["руку"], after["ru"]["рук"], after["uk"]["рук"]), (0, 0, 0))
        # Everything else is as before: listed bands, 4+ letter forms, no short forms.
        for lang in ("ru", "uk"):
            self.assertEqual({w: b for w, b in after[lang].items() if w not in ("руку", "рук")}, before[lang])
        self.assertEqual(after["ru"]["мирами"], 0)
        self.assertNotIn("кот", after["ru"])
        self.assertEqual(after["ru"]["файлы"], packed.rank_band(2))

    def test_a_kept_twin_carries_the_band_of_its_rank(self):
        ranks = {"ru": {"руку": 700, "рук": 3000}}
        lexicons = lexicon.packed_lexicons(self.LISTS, self.FORMS, {"en": set(), "ru": {"рук"}, "uk": set()},
                                           keep_cross_script_twins=True, twin_ranks=ranks)
        self.assertEqual((lexicons["ru"]["руку"], lexicons["ru"]["рук"]), (packed.rank_band(700),
                                                                            packed.rank_band(3000)))
        self.assertEqual(lexicons["uk"]["рук"], 0)

    def test_a_form_with_a_listed_twin_of_its_own_script_stays_out(self):
        # руі is "hes" on the US layout and руы on the Russian one.
        def uk_lexicon(ru_list):
            lists = {"en": ["hes"], "ru": ru_list, "uk": []}
            return lexicon.packed_lexicons(lists, {"ru": set(), "uk": {"руі"}},
                                           {"en": set(), "ru": set(), "uk": set()}, keep_cross_script_twins=True)["uk"]
        self.assertIn("руі", uk_lexicon(["мир"]))
        self.assertNotIn("руі", uk_lexicon(["руы"]))


    def test_a_form_another_language_of_its_script_lists_as_the_same_text_enters_with_its_rank(self):
        # бомба is a Ukrainian listed word and a Russian form.
        lists = {"en": ["the"], "ru": ["мир"], "uk": ["бомба", "бомбі"]}
        forms = {"ru": {"бомба", "бомбы", "бомбой"}, "uk": set()}
        nothing = {"en": set(), "ru": set(), "uk": set()}
        ranked = lexicon.packed_lexicons(lists, forms, nothing, keep_cross_script_twins=True,
                                         twin_ranks={"ru": {"бомба": 40000, "бомбой": 9000}})["ru"]
        self.assertEqual(ranked["бомба"], packed.rank_band(40000))
        self.assertEqual(ranked["бомбой"], 0)  # a word of Russian alone keeps "no estimate"
        unranked = lexicon.packed_lexicons(lists, forms, nothing)["ru"]
        self.assertEqual(unranked["бомба"], 0)

    def test_a_form_whose_twin_of_its_own_script_is_listed_enters_with_a_band(self):
        # бомбы reads бомбі on the Ukrainian layout; лазерный, dropped as the
        # rarer twin of лазерній, is a Russian word all the same.
        lists = {"en": ["the"], "ru": ["мир"], "uk": ["бомба", "бомбі", "лазерній"]}
        forms = {"ru": {"бомбы", "лазерный", "котами"}, "uk": set()}
        dropped = {"en": set(), "ru": {"лазерный", "котами"}, "uk": set()}
        ru = lexicon.packed_lexicons(lists, forms, dropped, keep_cross_script_twins=True,
                                     twin_ranks={"ru": {"бомбы": 9000}})["ru"]
        self.assertEqual(ru["бомбы"], packed.rank_band(9000))  # its own rank
        self.assertEqual(ru["лазерный"], packed.rank_band(3))  # none: its twin's
        self.assertNotIn("котами", ru)  # dropped, with no twin of its script listed


class UnrankedEnglish(unittest.TestCase):
    # nhtl typed on the Russian layout is тред, imps on the Ukrainian one шьзі.
    LISTS = {"en": ["here", "keel"], "ru": ["тред", "мир"], "uk": ["шьзі", "світ"]}

    def test_dictionary_words_enter_unless_a_listed_cyrillic_word_has_their_keys(self):
        dropped = {"en": {"keal"}, "ru": set(), "uk": set()}
        cases = [
            ("keith", True, "a name no list holds"),
            ("rhythmist", True, "a rare word no list holds"),
            ("here", False, "already ranked"),
            ("keal", False, "dropped as the rarer twin"),
            ("nhtl", False, "тред on the Russian layout"),
            ("imps", False, "шьзі on the Ukrainian layout"),
            ("imp", False, "shorter than four letters"),
            ("gwyn", True, "four letters"),
        ]
        words = {w for w, _, _ in cases}
        added = lexicon.unranked_english(words, self.LISTS, dropped)
        for word, enters, why in cases:
            self.assertEqual(word in added, enters, f"{word}: {why}")

    def test_what_the_engine_keeps_of_a_listed_cyrillic_word_stays_out(self):
        lists = {"en": [], "ru": ["жители"], "uk": ["юрта"]}
        # жители on the US layout is ;bntkb, read as "bntkb"; юрта is .hnf, read as "hnf".
        self.assertEqual(lexicon.sanitised_remainders(lists), {"bntkb", "hnf"})
        added = lexicon.unranked_english({"bntkb", "bntk", "hnfs"}, lists, {"en": set()})
        self.assertEqual(added, {"bntk", "hnfs"})


class PackedLexicon(unittest.TestCase):
    def test_round_trip_of_every_word_and_band(self):
        rng = random.Random(5)
        alphabet = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя'"
        words = {"".join(rng.choice(alphabet) for _ in range(rng.randint(1, 12))): rng.randint(0, 90)
                 for _ in range(20000)}
        data = packed.pack({"ru": words, "en": {"the": 1, "a's": 0}, "uk": {}})
        reader = packed.Reader(data)
        self.assertEqual(reader.words("ru"), sorted(words.items()))
        self.assertEqual(reader.words("uk"), [])
        for w in rng.sample(sorted(words), 2000):
            self.assertEqual(reader.band("ru", w), words[w])
            for absent in (w + "ж", w[:-1], w + "q"):
                if absent not in words:
                    self.assertIsNone(reader.band("ru", absent))
        self.assertIsNone(reader.band("en", "th"))
        self.assertEqual(data, packed.pack({"uk": {}, "en": {"a's": 0, "the": 1}, "ru": dict(sorted(words.items()))}))

    def test_shared_suffixes_are_stored_once(self):
        stems = [f"{a}{b}{c}" for a in "бвгд" for b in "аоу" for c in "кмнпрст"]
        endings = ["ами", "ах", "ов", "у", "ом", "е", "ы", "а"]
        words = {s + e: 0 for s in stems for e in endings}
        edges = len(packed.Reader(packed.pack({"ru": words})).languages["ru"][1])
        self.assertLess(edges, sum(len(w) for w in words) / 10)

    def test_rank_bands(self):
        self.assertEqual([packed.rank_band(r) for r in (None, 1, 2, 3, 1023, 1024, 1217, 1218)],
                         [0, 1, 5, 7, 40, 41, 41, 42])

    def test_too_many_symbols_is_an_error(self):
        with self.assertRaises(ValueError):
            packed.pack({"x": {chr(0x4e00 + i): 0 for i in range(64)}})

    def test_engine_fixture_is_what_the_writer_makes(self):
        folder = os.path.join(ROOT, "tests", "engine", "config", "data")
        with open(os.path.join(folder, "small_lexicon.bin"), "rb") as f:
            fixture = f.read()
        self.assertEqual(fixture, packed.pack(pack_fixture.lexicons_of(os.path.join(folder, "small_lexicon.tsv"))))
        self.assertEqual(packed.file_id(fixture), "50a5c6be7ff0b352")

    def test_scoring_fixture_is_what_the_writer_makes(self):
        folder = os.path.join(ROOT, "tests", "engine", "scoring", "data")
        with open(os.path.join(folder, "twins_lexicon.bin"), "rb") as f:
            fixture = f.read()
        self.assertEqual(fixture, packed.pack(pack_fixture.lexicons_of(os.path.join(folder, "twins_lexicon.tsv"))))
        self.assertEqual(packed.file_id(fixture), "dbd21c67fcaf86df")


def mo_file(path, messages):
    """A GNU message catalogue of {original: translation} (plus the header)."""
    entries = sorted({"": "Content-Type: text/plain; charset=UTF-8\n", **messages}.items())
    ids = [k.encode("utf-8") for k, _ in entries]
    strs = [v.encode("utf-8") for _, v in entries]
    n, start = len(entries), 28
    data_at = start + 16 * n
    table, data = [], b""
    for blob in ids + strs:
        table.append((len(blob), data_at + len(data)))
        data += blob + b"\0"
    header = struct.pack("<7I", 0x950412de, 0, n, start, start + 8 * n, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(header + b"".join(struct.pack("<2I", *e) for e in table) + data)


class EverydayTexts(unittest.TestCase):
    # Sixty messages of four words and more, and one label too short to be prose.
    MESSAGES = {f"We met the captain {i} times near the river.": f"Мы встретили капитана {i} раз у реки."
                for i in range(60)}
    MESSAGES["Open file"] = "Открыть файл"

    def setUp(self):
        self.cache = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.cache)
        for package, _, _, _ in everyday.PACKAGES:
            folder = os.path.join(self.cache, "x", package, "usr", "share", "locale", "ru", "LC_MESSAGES")
            mo_file(os.path.join(folder, "scenario_story.mo"), self.MESSAGES)

    def test_clean_leaves_what_a_user_types(self):
        cases = [
            ("female^Welcome, <b>$unit.name</b>!", ["Welcome, !"]),
            ("Save _game\nand quit %s now", ["Save game", "and quit now"]),
            ("\u00abДа\u00bb, \u2014 сказал он&#8230;", ['"Да", - сказал он']),
        ]
        for message, lines in cases:
            self.assertEqual(everyday.clean(message), lines, message)

    def test_training_messages_split_and_evaluation_sources_held_out_whole(self):
        texts = everyday.load(self.cache)
        trained = {p for d in texts.training["ru"] if d.source == "wesnoth-1.16-data" for p in d.paragraphs}
        held = {name.split("/")[0]: set(ps) for name, ps in texts.held_out["ru"].items() if ps}
        everything = {everyday.clean(v)[0] for k, v in self.MESSAGES.items() if len(k.split()) >= 4}
        for package, _, _, _ in everyday.EVALUATION:
            if package != "klavaro":
                self.assertEqual(held[package], everything, package)
        wesnoth = held["wesnoth-1.16-data"]
        # A fifth or so is held out, never a message also trained on, and the
        # short label neither.
        self.assertTrue(5 <= len(wesnoth) <= 20, len(wesnoth))
        self.assertFalse(wesnoth & trained)
        self.assertEqual(wesnoth | trained, everything)
        self.assertNotIn("freeciv-data", held)
        # The English originals of exactly the held-out messages, none of a label.
        english = set(texts.held_out["en"]["wesnoth-1.16-data/usr/share/locale/ru/LC_MESSAGES/scenario_story.mo"])
        self.assertEqual(len(english), len(wesnoth))
        self.assertTrue(all(e.startswith("We met the captain") for e in english))

    def test_held_out_files_write_each_paragraph_once(self):
        texts = everyday.load(self.cache)
        everyday.write_held_out(texts, self.cache)
        with open(os.path.join(self.cache, "everyday-en.txt"), encoding="utf-8") as f:
            lines = [l for l in f.read().splitlines() if not l.startswith("#doc ")]
        self.assertEqual(len(lines), len(set(lines)))
        self.assertEqual(len(lines), len(self.MESSAGES) - 1)


class EverydayRanks(unittest.TestCase):
    class Counts:
        def __init__(self, words):
            self.words, self.tokens = words, sum(words.values())

    def test_everyday_counts_rank_valid_forms_only_and_the_higher_estimate_wins(self):
        paradigms = [{"рука", "руку", "рук", "руками"}, {"файл", "файлы"}]
        docs = lexicon.cyrillic_frequencies("ru", self.Counts({"файл": 90, "рука": 1, "кгм": 9}), paradigms)
        daily = lexicon.cyrillic_frequencies("ru", self.Counts({"руку": 40, "рук": 20, "файл": 1, "орчий": 39}),
                                             paradigms, valid_only=True)
        self.assertNotIn("орчий", daily)
        self.assertIn("кгм", docs)
        merged = lexicon.with_everyday(docs, daily)
        self.assertEqual(merged["файл"], docs["файл"])
        self.assertEqual(merged["руку"], daily["руку"])
        self.assertEqual(lexicon.ranked(merged, 3), ["файл", "руку", "рук"])

    def test_everyday_twins_never_drop_technical_words_of_the_documentation(self):
        # cd is св, tls еды, evt уме on the Russian layout; ye is ну.
        cyr = self.Counts({})
        cyr.latin_words, cyr.technical_tokens = {"cd": 40, "tls": 3, "ye": 1, "lev": 4}, {"evt": 5}
        documentation = {"en": {"cd": 5.0, "tls": 2.0, "ye": 3.0, "evt": 1.0, "lev": 1.0},
                         "ru": {"св": 1.0, "дум": 9.0}, "uk": {}}
        keep = lexicon.technical_latin_words(documentation, [cyr])
        # дум outnumbers lev in the documentation already: lev is no technical word to keep.
        self.assertEqual(keep, {"cd", "tls", "evt"})
        everyday = {"en": dict(documentation["en"]), "ru": {"св": 30.0, "еды": 40.0, "уме": 20.0, "ну": 500.0, "дум": 9.0},
                    "uk": {}}
        _, dropped = lexicon.resolve_collisions(everyday, keep=keep)
        self.assertEqual(dropped["en"], {"ye", "lev"})
        _, dropped = lexicon.resolve_collisions(everyday)
        self.assertEqual(dropped["en"], {"cd", "tls", "evt", "ye", "lev"})


class Abbreviations(unittest.TestCase):
    """Words written in capitals in the training documents and the dictionaries."""

    @staticmethod
    def document(name, lang, paragraphs, held_out):
        # The split is by a hash of the name: pick a name on the wanted side.
        for n in range(1000):
            doc = corpus.Document("test", f"{name}{n}", lang)
            if training.is_held_out(doc) == held_out:
                doc.paragraphs = paragraphs
                return doc
        raise AssertionError("no name on that side of the split")

    def test_capitals_of_the_training_text(self):
        prose = ["ДНК и РНК, ДНК. ВСЕ файлы, все папки, все окна, все кнопки: ДНК",
                 "Протокол TLS и TLS, TLS; часы UTC. Мир МИР МИР МИР мир мир мир мир.",
                 "ВВС ВВС ВВС"]
        docs = {"ru": [self.document("train", "ru", prose, False),
                       self.document("held", "ru", ["ПВО ПВО ПВО ПВО"], True)],
                "en": [], "uk": []}
        found = capitals.text_capitals(docs)
        self.assertEqual(found["ru"], {"днк", "ввс"})  # ВСЕ and МИР are words, ПВО only held out
        self.assertEqual(found["en"], {"tls"})  # Latin capitals in Cyrillic prose; UTC too rare
        self.assertEqual(found["uk"], set())

    def test_capitalised_dictionary_entries(self):
        words = ["США", "сша", "Москва", "ООН", "ЮНЕСКОАБ", "Ы", "ABC", "ВПК"]
        self.assertEqual(capitals.dictionary_capitals(words, "ru"), {"сша", "оон", "впк"})
        self.assertEqual(capitals.dictionary_capitals(["USA", "NaN", "TCP", "X"], "en"), {"usa", "tcp"})


class LaterMembers(unittest.TestCase):
    """The shipped file asks for generation 2 and leaves out what it gives."""

    TABLE = [("tokenization", "edge_punctuation_auto", "Bool", False, True),
             ("decision.auto_thresholds", "gibberish_bypass_min_length", "Integer", 0, 3),
             ("decision.language_evidence", "window", "Integer", 0, 8),
             ("decision.language_evidence", "min_lead", "Integer", 2, 1)]

    def test_members_equal_to_the_generation_go_and_others_stay(self):
        members = {"tokenization": {"edge_punctuation_auto": True, "word_boundaries": ["."]},
                   "decision": {"auto_thresholds": {"gibberish_bypass_min_length": 4, "min_confidence": 0.82},
                                "language_evidence": {"window": 8, "min_lead": 1}}}
        out = later_members.for_generation(members, self.TABLE)
        self.assertEqual(out, {"tokenization": {"word_boundaries": ["."]},
                               "decision": {"auto_thresholds": {"gibberish_bypass_min_length": 4,
                                                                "min_confidence": 0.82},
                                            "generation": 2}})
        self.assertIn("edge_punctuation_auto", members["tokenization"])  # the input is left alone

    def test_a_value_of_another_type_stays(self):
        members = {"tokenization": {"edge_punctuation_auto": 1}, "decision": {"language_evidence": {"window": True}}}
        out = later_members.for_generation(members, self.TABLE)
        self.assertEqual(out["tokenization"], {"edge_punctuation_auto": 1})
        self.assertEqual(out["decision"]["language_evidence"], {"window": True})

    def test_the_engine_table_is_read(self):
        rows = later_members.rows()
        keys = [(section, key) for section, key, _, _, _ in rows]
        self.assertIn(("tokenization", "edge_punctuation_auto"), keys)
        self.assertIn(("decision.language_evidence", "min_lead"), keys)
        self.assertEqual(len(keys), len(set(keys)))
        for section, key, kind, first, second in rows:
            self.assertIn(kind, ("Bool", "Integer"), key)
            self.assertNotEqual(first, second, key)


class SourcesFile(unittest.TestCase):
    """The generator rewrites data/SOURCES.md: what is written there by hand is lost."""

    def test_the_committed_file_is_the_generated_one(self):
        with open(os.path.join(ROOT, "data", "SOURCES.md"), encoding="utf-8") as f:
            committed = f.read()
        self.assertEqual(sources.sources_markdown(everyday.PACKAGES, devtext.PACKAGES), committed)

    def test_reserved_and_development_packages_are_named(self):
        text = sources.sources_markdown(everyday.PACKAGES, devtext.PACKAGES)
        for name in ("`stellarium-data`", "`openttd-data`", "`kdenlive-data`", "`manpages-*`"):
            self.assertIn(name, text)


if __name__ == "__main__":
    unittest.main()
