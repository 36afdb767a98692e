#!/usr/bin/env python3
"""Proposes the golden tests of the rules file and checks them with the engine.

    python3 tools/rulesgen/golden_cases.py --quillom PATH/TO/quillom [--rules FILE]

Each case states what a user means and how it was typed; the expected result
is the intended word (or the input, for words that must stay). The engine
only supplies the reason string of cases it already gets right. Cases it gets
wrong are printed, not written. Writes tools/rulesgen/golden_cases.tsv, which
generate.py folds into the rules file.
"""

import argparse
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import golden    # noqa: E402
import layouts   # noqa: E402

# Russian words without a Ukrainian twin on the same keys: the golden runner
# has en, uk and ru active, and the Ukrainian reading of a twin wins there.
RU_WORDS = ("привет мир не на да нет как так уже это что все они она его её "
            "если только может можно файл таблица документ программа система сервер пакет "
            "параметр значение строка страница изображение выберите нажмите откройте сохранить "
            "человек работа время жизнь хорошо сейчас сегодня вопрос ответ объект "
            "журнал чтобы через между после также здесь").split()
UK_WORDS = ("привіт світ не на так ні як це що все був було були була вони вона його її "
            "якщо тільки може можна файл файли таблиця документ програма система сервер пакунок "
            "параметр значення рядок сторінка зображення виберіть натисніть відкрийте зберегти "
            "людина робота час життя кохання добре зараз сьогодні питання відповідь також тут "
            "між їхній їжа єдиний має знає п'ять українська").split()
EN_WORDS = ("hello world the and you that was for are with his they this have from one had word "
            "but not what all were when your can said there use each which she how their will "
            "other about many then them these some would make like into time has look two more "
            "write see number way could people than first water been call who now find long down "
            "day did get come made may part file open save window system").split()
EN_KEPT = ("the people window sudo apt grep linux gnome kernel debian html json python server "
           "github config README NASA USB PDF okay email hello world").split()
RU_KEPT = "привет текущее выше ещё это было файлы система программа человек".split()
UK_KEPT = "привіт кут решту таблиці файли система програма людина дуже між".split()
PROTECTED = ["example.com", "www.example", "readme.txt", "main.cpp", "getElementById", "XmlHttpRequest",
             "deadbeefcafe", "https", "org.gnome.desktop"]
CONVERSIONS = [("convert", "ghbdtn vbh", "привет мир"), ("convert", "руддщ цщкдв", "hello world"),
               ("convert_uk", "ghbdsn cdsn", "привіт світ"), ("convert_en", "привіт", "ghbdsn"),
               ("convert_ru", "ghbdtn", "привет"), ("convert_en", "руддщ", "hello")]


def typed_on(word, intended_layout, active_layout):
    keys = layouts.key_for_char(intended_layout)
    out = []
    for ch in word:
        vk, shift = keys.get(ch, (None, False))
        out.append(ch if vk is None else layouts.LAYOUTS[active_layout][vk][1 if shift else 0])
    return "".join(out)


def cases():
    """(input, expected, mode, active layout, session) tuples."""
    out = []

    def wrong(words, lang, active, session=""):
        for w in words:
            for form in (w, w.capitalize()):
                t = typed_on(form, lang, active)
                if t != form:
                    out.append((t, form, "auto", active, session))

    wrong(RU_WORDS, "ru", "en")
    wrong(UK_WORDS, "uk", "en")
    wrong(EN_WORDS, "en", "ru")
    wrong(EN_WORDS[:40], "en", "uk")
    wrong(["інформація", "відкрити", "зберігання", "вікно", "сторінці", "користувачі"], "uk", "ru")
    wrong(["информация", "открыть", "объект", "этот", "пользователь", "страницы"], "ru", "uk")
    for w in ("hello,", "world.", "time,", "people."):
        out.append((typed_on(w, "en", "ru"), w, "auto", "ru", ""))
    out += [(typed_on(w.upper(), "ru", "en"), w.upper(), "auto", "en", "") for w in ("привет", "сервер", "файлы")]
    out += [(w, w, "auto", "en", "") for w in EN_KEPT + PROTECTED]
    out += [(w, w, "auto", "ru", "") for w in RU_KEPT]
    out += [(w, w, "auto", "uk", "") for w in UK_KEPT]
    # Length rules: one letter is too short; two letters need a listed word and
    # the session language's agreement.
    out += [("d", "d", "auto", "en", ""), ("ф", "ф", "auto", "ru", ""), ("yt", "не", "auto", "en", ""),
            ("yt", "yt", "auto", "en", "en"), ("qx", "qx", "auto", "en", ""), ("jy", "он", "auto", "en", "ru"),
            ("ds", "вы", "auto", "en", "ru"), ("nj", "то", "auto", "en", "ru")]
    # Digits and mixed scripts are never corrected automatically.
    out += [("ghbdtn2", "ghbdtn2", "auto", "en", ""), ("приvet", "приvet", "auto", "en", ""),
            ("abc123", "abc123", "auto", "en", "")]
    return out


def run_golden(quillom, rules_path, tests):
    """Runs the cases through `quillom golden --verbose`; returns (output, reason) per case."""
    with open(rules_path, encoding="utf-8") as f:
        rules = json.load(f)
    rules["golden_tests"] = tests
    probe = os.path.join(HERE, ".golden-probe.json")
    with open(probe, "w", encoding="utf-8") as f:
        json.dump(rules, f, ensure_ascii=False)
    try:
        out = subprocess.run([quillom, "golden", "--verbose", "--rules", probe],
                             capture_output=True, text=True).stdout
    finally:
        os.remove(probe)
    results = []
    for line in out.splitlines():
        if not line.startswith(("PASS [", "FAIL [")):
            continue
        got = line.rsplit(", got ", 1)[1]
        if got.endswith(")") and " (" in got:
            output, detail = got[:-1].rsplit(" (", 1)
            results.append((output, detail.split(", ")[0]))
        else:
            results.append((got, ""))
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quillom", required=True)
    parser.add_argument("--rules", default=os.path.join(os.path.dirname(os.path.dirname(HERE)),
                                                         "data", "quillom_rules.json"))
    args = parser.parse_args()
    unique, seen = [], set()
    for case in cases():
        if (case[0], case[3], case[4]) not in seen:
            seen.add((case[0], case[3], case[4]))
            unique.append(case)
    tests = []
    for word, expected, mode, layout, session in unique:
        test = {"input": word, "expected": expected, "mode": mode, "reason": "?", "active_input_source": layout}
        if session:
            test["session_language"] = session
        tests.append(test)
    tests += [{"input": t, "expected": e, "mode": m, "reason": "conversion"} for m, t, e in CONVERSIONS]
    results = run_golden(args.quillom, args.rules, tests)
    if len(results) != len(tests):
        sys.exit(f"quillom golden reported {len(results)} results for {len(tests)} cases")
    rows, rejected = [], []
    for test, (output, reason) in zip(tests, results):
        if output != test["expected"]:
            rejected.append(f"{test['input']} [{test.get('active_input_source', '')}"
                            f"{', session ' + test['session_language'] if 'session_language' in test else ''}]:"
                            f" expected {test['expected']}, got {output} ({reason})")
            continue
        if test["mode"] == "auto":
            test["reason"] = reason
        rows.append(tuple(test.get(k, "") for k in golden.FIELDS))
    path = os.path.join(HERE, "golden_cases.tsv")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("# " + "\t".join(golden.FIELDS) + "\n")
        for row in rows:
            f.write("\t".join(row) + "\n")
    print(f"{len(rows)} cases written to {path}; {len(rejected)} rejected:")
    for line in rejected:
        print("  " + line)


if __name__ == "__main__":
    main()
