"""Expands a hunspell dictionary into all its word forms.

A .dic entry "stem/FLAGS" stands for the stem and, for every flag, each
affix rule of that flag whose condition the stem meets: a suffix rule
"SFX F strip append condition" removes strip from the end and adds append;
a prefix rule does the same at the start. A suffixed form also takes each
prefix when both rules allow cross products. Conditions are sequences of
characters, "." and bracketed classes ([abc], [^abc]) matched at the end
(suffixes) or the start (prefixes) of the stem before stripping.

Only what the packaged dictionaries use is supported (one-character flags,
no continuation classes); anything else stops the expansion rather than
losing forms silently.
"""

import re

_SUPPORTED_SETTINGS = {"SET", "WORDCHARS", "BREAK", "IGNORE", "ICONV", "OCONV", "TRY", "KEY", "REP", "MAP",
                       "LANG", "NOSUGGEST", "SFX", "PFX", "NAME", "VERSION", "HOME", "LICENSE"}


def _condition_regex(condition, at_end):
    if condition == ".":
        return None
    parts, i = [], 0
    while i < len(condition):
        ch = condition[i]
        if ch == "[":
            close = condition.index("]", i + 1)
            body = condition[i + 1:close]
            negated = body.startswith("^")
            chars = "".join(re.escape(c) for c in (body[1:] if negated else body))
            parts.append(f"[{'^' if negated else ''}{chars}]")
            i = close + 1
        else:
            parts.append("." if ch == "." else re.escape(ch))
            i += 1
    pattern = "".join(parts)
    return re.compile(f"(?:{pattern})$" if at_end else f"^(?:{pattern})", re.S)


class Rule:
    __slots__ = ("strip", "append", "condition", "cross")

    def __init__(self, strip, append, condition, cross):
        self.strip, self.append, self.condition, self.cross = strip, append, condition, cross


class Affixes:
    """The affix rules of one .aff file, by flag."""

    def __init__(self, aff_path):
        self.suffixes, self.prefixes = {}, {}
        self.ignore = ""
        self._cross = {}
        with open(aff_path, encoding="utf-8") as f:
            lines = [l.split() for l in f if l.strip() and not l.lstrip().startswith("#")]
        pending = {}
        for fields in lines:
            kind = fields[0]
            if kind == "IGNORE":
                self.ignore = fields[1]
            elif kind == "FLAG" or kind not in _SUPPORTED_SETTINGS and kind.isupper() and kind.isalpha():
                raise ValueError(f"unsupported affix setting {kind}")
            elif kind in ("SFX", "PFX"):
                self._read_rule(kind, fields, pending)
        if any(pending.values()):
            raise ValueError("affix block shorter than its header says")

    def _clean(self, text):
        return "" if text == "0" else "".join(c for c in text if c not in self.ignore)

    def _read_rule(self, kind, fields, pending):
        flag = fields[1]
        table = self.suffixes if kind == "SFX" else self.prefixes
        if (kind, flag) not in pending or pending[(kind, flag)] == 0:
            # A block header: SFX flag cross count
            if flag in table:
                raise ValueError(f"affix flag {flag} defined twice")
            table[flag] = []
            pending[(kind, flag)] = int(fields[3])
            self._cross[(kind, flag)] = fields[2] == "Y"
            return
        strip, append, condition = fields[2], fields[3], fields[4] if len(fields) > 4 else "."
        if "/" in append:
            raise ValueError(f"continuation classes are not supported ({' '.join(fields)})")
        rule = Rule(self._clean(strip), self._clean(append),
                    _condition_regex(condition, kind == "SFX"), self._cross[(kind, flag)])
        table[flag].append(rule)
        pending[(kind, flag)] -= 1

    def forms(self, stem, flags):
        """The stem and every form its flags give (a set)."""
        stem = self._clean(stem)
        out = {stem}
        suffixed = []
        for flag in flags:
            for rule in self.suffixes.get(flag, ()):
                if len(stem) > len(rule.strip) and stem.endswith(rule.strip) and (
                        rule.condition is None or rule.condition.search(stem)):
                    form = stem[:len(stem) - len(rule.strip)] + rule.append
                    out.add(form)
                    if rule.cross:
                        suffixed.append(form)
        for flag in flags:
            for rule in self.prefixes.get(flag, ()):
                for base in [stem] + (suffixed if rule.cross else []):
                    if len(stem) > len(rule.strip) and base.startswith(rule.strip) and (
                            rule.condition is None or rule.condition.match(stem)):
                        out.add(rule.append + base[len(rule.strip):])
        return out


def dictionary_entries(dic_path):
    """(stem, flags) of every entry of a .dic file (its first line is the count)."""
    with open(dic_path, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()[1:]
    for line in lines:
        field = line.split()[0] if line.split() else ""
        if not field:
            continue
        slash = field.find("/", 1)
        while slash > 0 and field[slash - 1] == "\\":
            slash = field.find("/", slash + 1)
        if slash < 0:
            yield field.replace("\\/", "/"), ""
        else:
            yield field[:slash].replace("\\/", "/"), field[slash + 1:]


def expand(dic_path, aff_path):
    """Every entry's forms: a list of sets, in the order of the .dic file."""
    affixes = Affixes(aff_path)
    return [affixes.forms(stem, flags) for stem, flags in dictionary_entries(dic_path)]
