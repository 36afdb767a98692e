"""Golden tests of the rules file, kept as a reviewed table beside the generator.

golden_cases.tsv: one case a line, tab-separated: input, expected, mode,
reason, active input source, expected source language, session language
(the last three may be empty). Lines starting with # are comments.
"""

import os

FIELDS = ("input", "expected", "mode", "reason", "active_input_source", "expected_source_lang",
          "session_language")


def load(path):
    if not os.path.isfile(path):
        return []
    tests = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            cells = line.split("\t")
            cells += [""] * (len(FIELDS) - len(cells))
            test = {k: v for k, v in zip(FIELDS, cells) if v or k in FIELDS[:4]}
            tests.append(test)
    return tests
