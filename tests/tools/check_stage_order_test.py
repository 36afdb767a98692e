#!/usr/bin/env python3
"""The stage-order check on small engine trees: what it must refuse and what it must let pass."""

import runpy
import sys
import tempfile
import unittest
from pathlib import Path
from types import SimpleNamespace

CHECK = Path(__file__).resolve().parents[2] / "tools" / "ci" / "check-stage-order.py"
check = SimpleNamespace(**runpy.run_path(str(CHECK)))

# A tree that keeps the order: each stage includes itself, earlier stages and lower layers.
ORDERED = {
    "config/rules_config.h": "",
    "session/session.h": '#include "scoring/evaluate/rules_engine.h"\n',
    "scoring/read/text_chars.h": "#include <string>\n",
    "scoring/score/token_scorer.h": '#include "config/rules_config.h"\n#include "scoring/read/text_chars.h"\n',
    "scoring/judge/pair_diagnosis.cpp": '#include "scoring/judge/pair_diagnosis.h"\n#include "token.h"\n',
    "scoring/judge/pair_diagnosis.h": '#include "scoring/score/token_scorer.h"\n',
    "scoring/judge/token.h": "",
    "scoring/evaluate/rules_engine.h": '#include "scoring/judge/pair_diagnosis.h"\n',
}


class StageOrderTest(unittest.TestCase):
    def problems(self, changes):
        with tempfile.TemporaryDirectory() as root:
            for name, text in {**ORDERED, **changes}.items():
                path = Path(root) / name
                path.parent.mkdir(parents=True, exist_ok=True)
                path.write_text(text, encoding="utf-8")
            return check.problems(root)

    def test_an_ordered_tree_passes(self):
        self.assertEqual(self.problems({}), [])

    def test_what_breaks_the_order_is_refused(self):
        cases = {
            "an include of a later stage": (
                {"scoring/read/text_chars.h": '#include "scoring/score/token_scorer.h"\n'},
                "read/text_chars.h:1: stage read includes scoring/score/token_scorer.h of the later stage score",
            ),
            "a relative include of a later stage": (
                {"scoring/score/token_scorer.cpp": '#include <string>\n  #  include "../judge/token.h"\n'},
                "token_scorer.cpp:2: stage score includes ../judge/token.h of the later stage judge",
            ),
            "a file outside every stage": (
                {"scoring/reason.h": ""},
                "scoring/reason.h: not in a stage folder",
            ),
            "a stage folder nobody ordered": (
                {"scoring/misc/helper.cpp": ""},
                "scoring/misc/helper.cpp: not in a stage folder",
            ),
            "an include of a layer built on the scoring": (
                {"scoring/evaluate/rules_engine.cpp": '#include "session/session.h"\n'},
                "rules_engine.cpp:1: includes session/session.h, of session/",
            ),
        }
        for case, (changes, expected) in cases.items():
            with self.subTest(case):
                found = self.problems(changes)
                self.assertEqual(len(found), 1, found)
                self.assertIn(expected, found[0])


if __name__ == "__main__":
    sys.exit(unittest.main())
