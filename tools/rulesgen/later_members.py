"""The rules members of the engine's later behaviours and their values by
generation, read from the engine's own table (engine/config/later_members.cpp)
so that the engine, the generator and engine/README.md cannot disagree.

    python3 tools/rulesgen/later_members.py --check-readme engine/README.md
"""

import copy
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TABLE = os.path.join(ROOT, "engine", "config", "later_members.cpp")
# The generation the shipped rules file asks for.
GENERATION = 2

_ROW = re.compile(r'\{"([a-z_.]+)",\s*"([a-z0-9_]+)",\s*Type::(Bool|Integer),\s*(-?\d+),\s*(-?\d+),')


def rows(path=TABLE):
    """(section, key, type, generation 1 value, generation 2 value) per row, in order."""
    with open(path, encoding="utf-8") as f:
        found = [(s, k, t, _typed(t, int(a)), _typed(t, int(b))) for s, k, t, a, b in _ROW.findall(f.read())]
    if not found:
        raise SystemExit(f"no rows found in {path}")
    return found


def _typed(kind, number):
    return bool(number) if kind == "Bool" else number


def _same(kind, value, wanted):
    if kind == "Bool":
        return isinstance(value, bool) and value == wanted
    return isinstance(value, int) and not isinstance(value, bool) and value == wanted


def for_generation(members, table=None):
    """A copy of the rules members (a dict holding "tokenization", "decision"...)
    that asks for GENERATION and leaves out every later member whose value that
    generation gives anyway; a value that differs stays, and wins."""
    out = copy.deepcopy(members)
    for section, key, kind, _, current in table or rows():
        path = section.split(".")
        parents = [out]
        for name in path:
            child = parents[-1].get(name)
            if not isinstance(child, dict):
                break
            parents.append(child)
        else:
            if key in parents[-1] and _same(kind, parents[-1][key], current):
                del parents[-1][key]
            # Objects left empty go too.
            for name, parent in zip(reversed(path), reversed(parents[:-1])):
                if parent[name]:
                    break
                del parent[name]
    out.setdefault("decision", {})["generation"] = GENERATION
    return out


def readme_rows(text):
    """The rows of the table of later members in the README: (section, key, first, second) as written."""
    found = re.findall(r"^\| `([a-z_.]+)` \| `([a-z0-9_]+)` \| `([^`]+)` \| `([^`]+)` \|", text, re.M)
    return [(s, k, a, b) for s, k, a, b in found]


def _shown(value):
    return ("true" if value else "false") if isinstance(value, bool) else str(value)


def check_readme(path):
    with open(path, encoding="utf-8") as f:
        written = readme_rows(f.read())
    wanted = [(s, k, _shown(a), _shown(b)) for s, k, _, a, b in rows()]
    if written != wanted:
        for row in wanted:
            if row not in written:
                print(f"{path}: missing or wrong: | `{row[0]}` | `{row[1]}` | `{row[2]}` | `{row[3]}` |")
        for row in written:
            if row not in wanted:
                print(f"{path}: not in the engine's table: {row}")
        return 1
    return 0


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--check-readme":
        sys.exit(check_readme(sys.argv[2]))
    for row in rows():
        print(*row, sep="\t")
