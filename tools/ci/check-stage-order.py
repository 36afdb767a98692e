#!/usr/bin/env python3
"""Fails when the engine's scoring includes a header of a later stage.

engine/scoring/ is split into stages, in the order a word goes through them;
a file of a stage includes only headers of its own stage and of earlier ones,
so that the code reads top-down. Every source file of engine/scoring/ belongs
to a stage, and no file of it includes the layers built on the scoring
(session/, cabi/).

    tools/ci/check-stage-order.py [ENGINE_DIR]   (default: the checkout's engine/)
"""

import re
import sys
from pathlib import Path

# The stages of engine/scoring/, in the order a word goes through them.
STAGES = [
    "read",  # the typed word: its characters, capitals, key marks, protected forms
    "score",  # the score of one reading in one language
    "judge",  # one direction judged: thresholds, bypass, votes, mixed script; the reasons
    "choose",  # one decision among the directions and the readings of a trailing mark
    "evaluate",  # one word evaluated: vetoes, edge marks, the engine
]
# The engine's layers built on the scoring: no stage may include them.
LATER_LAYERS = ["session", "cabi"]

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCES = {".h", ".hpp", ".cpp"}


def stage_of(path, scoring):
    """The stage folder holding `path` (a resolved path), or None outside engine/scoring/."""
    try:
        parts = path.relative_to(scoring).parts
    except ValueError:
        return None
    return parts[0] if len(parts) > 1 else ""


def resolve(include, including, engine):
    """Where the compiler finds a quoted include: beside the file, else under engine/."""
    beside = (including.parent / include).resolve()
    return beside if beside.exists() else (engine / include).resolve()


def problems(engine):
    engine = Path(engine).resolve()
    scoring = engine / "scoring"
    found = []
    for path in sorted(scoring.rglob("*")):
        if path.suffix not in SOURCES:
            continue
        name = path.relative_to(engine)
        stage = stage_of(path, scoring)
        if stage not in STAGES:
            found.append(f"{name}: not in a stage folder of scoring/ ({', '.join(STAGES)})")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            target = resolve(match.group(1), path, engine)
            layer = target.relative_to(engine).parts[0] if target.is_relative_to(engine) else None
            if layer in LATER_LAYERS:
                found.append(f"{name}:{number}: includes {match.group(1)}, of {layer}/, built on the scoring")
                continue
            included = stage_of(target, scoring)
            if included is None:
                continue
            if included not in STAGES:
                found.append(f"{name}:{number}: includes {match.group(1)}, which is in no stage")
            elif STAGES.index(included) > STAGES.index(stage):
                found.append(f"{name}:{number}: stage {stage} includes {match.group(1)} of the later stage {included}")
    return found


def main(argv):
    engine = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parents[2] / "engine"
    found = problems(engine)
    for problem in found:
        print(problem)
    if found:
        print(f"== {len(found)} problem(s) with the order of the stages: {' > '.join(STAGES)}")
        return 1
    print(f"== the scoring's stages include only themselves and earlier stages: {' > '.join(STAGES)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
