"""Tests of the accuracy benchmark's development text (tools/rulesgen/devtext.py).

    python3 tests/tools/devtext_test.py
"""

import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(HERE)), "tools", "rulesgen"))

import devtext                  # noqa: E402
from rulesgen_test import mo_file  # noqa: E402


class Cleaning(unittest.TestCase):
    def test_clean_leaves_what_a_user_types(self):
        cases = [
            ("Could not open %1 in %2.", ["Could not open in."]),
            ("Saved %s of %d files, %(name)s said", ["Saved of files, said"]),
            ("Track {0} of ${count} moved", ["Track of moved"]),
            ("&Open the <b>project</b> file", ["Open the project file"]),
            ("_Save game", ["Save game"]),
            ("Tom &amp; Jerry &lt;3", ["Tom & Jerry <3"]),
            ("&kdenlive; can render video", []),
            ("Press \"%1\" to continue", ["Press to continue"]),
            ("First line of a long\nsentence that wraps.\nSecond one.", ["First line of a long sentence that wraps.",
                                                                       "Second one."]),
            ("female^Welcome back, friend", ["Welcome back, friend"]),
            ("\u00abДа\u00bb, \u2014 сказал он\u2026", ['"Да", - сказал он...']),
        ]
        for message, lines in cases:
            self.assertEqual(devtext.clean(message), lines, message)

    def test_lines_of_another_script_or_language_are_left_out(self):
        cases = [
            ("Render the whole project", "en", True),
            ("Render the проект now", "en", False),
            ("Открыть файл проекта", "ru", True),
            ("Відкрити файл проєкту", "ru", False),
            ("Відкрити файл проєкту", "uk", True),
            ("Объект был удалён", "uk", False),
            ("Открыть OpenGL файл проекта", "ru", True),
            ("Open the project файл", "ru", False),
            ("1 2 3", "en", False),
        ]
        for line, lang, kept in cases:
            self.assertEqual(devtext.is_of_language(line, lang), kept, (line, lang))

    def test_short_lines_are_left_out_by_kind(self):
        self.assertTrue(devtext.keep("Open the file", "en", "documentation"))
        self.assertFalse(devtext.keep("Open file", "en", "documentation"))
        self.assertFalse(devtext.keep("Open the file", "en", "everyday"))
        self.assertTrue(devtext.keep("Open the old file", "en", "everyday"))

    def test_addresses_links_and_options_are_left_out(self):
        for line in ("Mail the authors at team@example.org please", "See https://example.org for more",
                     "Read www.example.org for more", "See Wikipedia:Dash for the rules",
                     "-C --config-dir: Configuration directory to use", "--help shows this text"):
            self.assertFalse(devtext.keep(line, "en", "documentation"), line)
        self.assertTrue(devtext.keep("Use the -C option or a config file", "en", "documentation"))

    def test_marks_a_placeholder_left_behind_leave_the_line_out(self):
        for message in ("%1, Position: %2, Duration: %3", "Clips lost: %1, use only proxies",
                        "(%1 -), Position of the clip", "%1% of the picture moved"):
            self.assertFalse([l for l in devtext.clean(message) if devtext.keep(l, "en", "documentation")], message)
        for message in ("Could not open %1 in the editor.", "Speed (frames per second): %1"):
            self.assertTrue([l for l in devtext.clean(message) if devtext.keep(l, "en", "documentation")], message)


def written_file(test, name, text):
    """A file of that name holding text, in a folder removed after the test."""
    folder = tempfile.mkdtemp()
    test.addCleanup(shutil.rmtree, folder)
    path = os.path.join(folder, name)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


class PoFiles(unittest.TestCase):
    PO = '\n'.join([
        'msgid ""', 'msgstr ""', '"Content-Type: text/plain; charset=UTF-8\\n"', '',
        'msgid "Start the game now"', 'msgstr "Начать игру сейчас"', '',
        '#, fuzzy', 'msgid "Quit the game now"', 'msgstr "Выйти из игры"', '',
        'msgid ""', '"Long message "', '"on two lines"', 'msgstr ""', '"Длинное сообщение "', '"в двух строках"', '',
        'msgid "Untranslated message here"', 'msgstr ""', ''])

    def test_translated_not_fuzzy_messages_with_their_continuations(self):
        path = written_file(self, "ru.po", self.PO)
        self.assertEqual(devtext.po_messages(path), [("Start the game now", "Начать игру сейчас"),
                                                     ("Long message on two lines", "Длинное сообщение в двух строках")])


class TabFiles(unittest.TestCase):
    TAB = '\n'.join(['§Russian', 'PROP_FONT_FILE', 'cyr.bdf', '#### header ####',
                      '#__button_text__', 'Build a bridge here', 'Построить мост здесь',
                      'Line one\\nline two', 'Строка один\\nстрока два', ''])

    def test_pairs_after_the_header_with_their_line_breaks(self):
        path = written_file(self, "ru.tab", self.TAB)
        self.assertEqual(devtext.tab_messages(path), [("Build a bridge here", "Построить мост здесь"),
                                                      ("Line one line two", "Строка один строка два")])


class Folder(unittest.TestCase):
    """A fake cache of the packages, read and written as the benchmark's data folder."""
    MESSAGES = {f"Move the clip {i} frames to the left": f"Сдвинуть клип на {i} кадров влево" for i in range(50)}
    MESSAGES["Open file"] = "Открыть файл"
    MESSAGES["Remove the whole track"] = "Видалити всю доріжку"   # Ukrainian in a Russian catalogue
    HANDBOOK = "<book><para>The &kapp; window.</para><para>Press the big red button twice.</para></book>"

    def setUp(self):
        self.cache = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.cache)
        doc_package, game_package = devtext.DOCUMENTATION[0][0], devtext.EVERYDAY[0][0]
        for lang in devtext.LANGS:
            mo_file(os.path.join(self.cache, "x", doc_package, "usr/share/locale", lang, "LC_MESSAGES/app.mo"),
                    self.MESSAGES)
        mo_file(os.path.join(self.cache, "x", game_package, "usr/share/locale/ru/LC_MESSAGES/game.mo"),
                {"You found a key in the old chest.": "Вы нашли ключ в старом сундуке.", "Open door": "Дверь"})
        book = os.path.join(self.cache, "x", doc_package, "usr/share/doc/HTML/en/app/index.docbook")
        os.makedirs(os.path.dirname(book))
        with open(book, "w", encoding="utf-8") as f:
            f.write(self.HANDBOOK)
        self.out = os.path.join(self.cache, "out")
        devtext.write(devtext.load(self.cache), self.out)

    def documents(self, name):
        docs = []
        with open(os.path.join(self.out, name), encoding="utf-8") as f:
            for line in f.read().splitlines():
                if line.startswith("#doc "):
                    docs.append([])
                else:
                    docs[-1].append(line)
        return docs

    def test_documentation_in_documents_of_forty_lines(self):
        ru = self.documents("ru.txt")
        self.assertEqual([len(d) for d in ru], [40, 10])
        self.assertTrue(all(line.startswith("Сдвинуть клип") for d in ru for line in d))
        uk = [line for d in self.documents("uk.txt") for line in d]
        self.assertIn("Видалити всю доріжку", uk)

    def test_english_of_both_catalogues_once_with_the_handbook(self):
        english = [line for d in self.documents("en.txt") for line in d]
        self.assertEqual(len(english), len(set(english)))
        self.assertIn("Press the big red button twice.", english)
        self.assertNotIn("The window.", english)
        self.assertEqual(sum(line.startswith("Move the clip") for line in english), 50)
        self.assertIn("Remove the whole track", english)

    def test_everyday_text_from_the_games(self):
        self.assertEqual(self.documents("everyday-ru.txt"), [["Вы нашли ключ в старом сундуке."]])
        self.assertEqual(self.documents("everyday-en.txt"), [["You found a key in the old chest."]])
        self.assertEqual(self.documents("everyday-uk.txt"), [])


if __name__ == "__main__":
    unittest.main()
