#!/usr/bin/env python3
"""Writes engine/unicode/unicode_tables.cpp from the Unicode Character Database.

Usage: gen_unicode_tables.py [--ucd /usr/share/unicode] [--out engine/unicode/unicode_tables.cpp]

Reads UnicodeData.txt (general category, simple case mappings), PropList.txt
(White_Space), auxiliary/GraphemeBreakProperty.txt, emoji/emoji-data.txt
(Extended_Pictographic) and DerivedCoreProperties.txt (only to refuse data
with Indic_Conjunct_Break, which needs a segmenter rule we do not have yet).
"""

import argparse
import os
import re
import sys

# Must match the enums in engine/unicode/unicode_tables.h.
CATEGORY = {"Other": 0, "Upper": 1, "Letter": 2, "Digit": 3, "Number": 4}
GRAPHEME = {
    "Other": 0, "CR": 1, "LF": 2, "Control": 3, "Extend": 4, "ZWJ": 5,
    "Regional_Indicator": 6, "Prepend": 7, "SpacingMark": 8,
    "L": 9, "V": 10, "T": 11, "LV": 12, "LVT": 13, "Extended_Pictographic": 14,
}
MAX_SCALAR = 0x10FFFF
MAX_SPAN = 0xFFFF  # ranges store last - first in 16 bits
CYRILLIC_FIRST = 0x0400
HANGUL_FIRST, HANGUL_LAST, HANGUL_T_COUNT = 0xAC00, 0xD7A3, 28


def category_of(gc):
    if gc in ("Lu", "Lt"):
        return CATEGORY["Upper"]
    if gc in ("Ll", "Lm", "Lo"):
        return CATEGORY["Letter"]
    if gc == "Nd":
        return CATEGORY["Digit"]
    if gc in ("Nl", "No"):
        return CATEGORY["Number"]
    return CATEGORY["Other"]


def data_lines(path):
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def parse_range(text):
    first, _, last = text.partition("..")
    return int(first, 16), int(last or first, 16)


def file_version(path):
    with open(path, encoding="utf-8") as f:
        match = re.search(r"-(\d+\.\d+\.\d+)\.txt", f.readline())
    if not match:
        sys.exit(f"{path}: no version in the first line")
    return match.group(1)


def read_unicode_data(path):
    """Returns (category per scalar, lower map, upper map)."""
    categories = [0] * (MAX_SCALAR + 1)
    lower, upper = {}, {}
    range_start = None
    for fields in data_lines(path):
        cp, name, gc = int(fields[0], 16), fields[1], fields[2]
        value = category_of(gc)
        if name.endswith(", First>"):
            range_start = cp
            continue
        first = range_start if name.endswith(", Last>") else cp
        range_start = None
        for c in range(first, cp + 1):
            categories[c] = value
        if fields[12]:
            upper[cp] = int(fields[12], 16)
        if fields[13]:
            lower[cp] = int(fields[13], 16)
    return categories, lower, upper


def read_property(path, wanted):
    values = {}
    for fields in data_lines(path):
        if fields[1] in wanted:
            first, last = parse_range(fields[0])
            for c in range(first, last + 1):
                values[c] = fields[1]
    return values


def hangul_syllable_type(cp):
    return "LV" if (cp - HANGUL_FIRST) % HANGUL_T_COUNT == 0 else "LVT"


def read_grapheme(ucd):
    values = [0] * (MAX_SCALAR + 1)
    props = read_property(os.path.join(ucd, "auxiliary", "GraphemeBreakProperty.txt"),
                          set(GRAPHEME) - {"Other", "Extended_Pictographic"})
    for cp, name in props.items():
        if HANGUL_FIRST <= cp <= HANGUL_LAST:
            # Syllables are classified by arithmetic in the segmenter; check it holds.
            if name != hangul_syllable_type(cp):
                sys.exit(f"U+{cp:04X}: {name} breaks the Hangul syllable arithmetic")
            continue
        values[cp] = GRAPHEME[name]
    pictographic = read_property(os.path.join(ucd, "emoji", "emoji-data.txt"),
                                 {"Extended_Pictographic"})
    for cp in pictographic:
        if values[cp] != 0:
            sys.exit(f"U+{cp:04X} is Extended_Pictographic and has a grapheme break property")
        values[cp] = GRAPHEME["Extended_Pictographic"]
    return values


def check_no_indic_conjunct_break(ucd):
    path = os.path.join(ucd, "DerivedCoreProperties.txt")
    for fields in data_lines(path):
        if fields[1] == "InCB":
            sys.exit(f"{path} has InCB: the segmenter needs rule GB9c before these tables")


def without_fast_paths(values, cyrillic=True):
    """A copy with ASCII (and the Cyrillic block) cleared: the lookups answer those in code."""
    result = list(values)
    result[0:0x80] = [0] * 0x80
    if cyrillic:
        result[CYRILLIC_FIRST:CYRILLIC_FIRST + 256] = [0] * 256
    return result


def ranges_of(values):
    """Runs of equal non-zero values as (first, last, value)."""
    result = []
    cp = 0
    while cp <= MAX_SCALAR:
        value = values[cp]
        if value == 0:
            cp += 1
            continue
        first = cp
        while cp + 1 <= MAX_SCALAR and values[cp + 1] == value and cp + 1 - first <= MAX_SPAN:
            cp += 1
        result.append((first, cp, value))
        cp += 1
    return result


def case_ranges(mapping):
    """(first, span, stride, delta): every stride-th scalar of first..first+span maps by delta."""
    result = []
    cps = sorted(c for c in mapping
                 if c >= 0x80 and not CYRILLIC_FIRST <= c < CYRILLIC_FIRST + 256)
    i = 0
    while i < len(cps):
        first = cps[i]
        delta = mapping[first] - first
        stride, span = 1, 0
        if i + 1 < len(cps) and mapping[cps[i + 1]] - cps[i + 1] == delta and cps[i + 1] - first <= 2:
            stride = cps[i + 1] - first
            j = i + 1
            while (j < len(cps) and cps[j] - cps[j - 1] == stride
                   and mapping[cps[j]] - cps[j] == delta and cps[j] - first <= MAX_SPAN):
                j += 1
            span = cps[j - 1] - first
            i = j
        else:
            i += 1
        result.append((first, span, stride, delta))
    return result


def check_ascii(categories, lower, upper, grapheme, white):
    """The lookups answer ASCII in code; make sure the data agrees."""
    for cp in range(0x80):
        ch = chr(cp)
        expected = (CATEGORY["Upper"] if ch.isupper() else CATEGORY["Letter"] if ch.isalpha()
                    else CATEGORY["Digit"] if ch.isdigit() else CATEGORY["Other"])
        if categories[cp] != expected:
            sys.exit(f"U+{cp:04X}: unexpected category for the ASCII fast path")
        if lower.get(cp, cp) != ord(ch.lower()) or upper.get(cp, cp) != ord(ch.upper()):
            sys.exit(f"U+{cp:04X}: unexpected case mapping for the ASCII fast path")
        if white[cp] != (ch in " \t\n\v\f\r"):
            sys.exit(f"U+{cp:04X}: unexpected White_Space for the ASCII fast path")
        gb = {0x0D: "CR", 0x0A: "LF"}.get(cp, "Control" if cp < 0x20 or cp == 0x7F else "Other")
        if grapheme[cp] != GRAPHEME[gb]:
            sys.exit(f"U+{cp:04X}: unexpected grapheme property for the ASCII fast path")


def cyrillic_tables(categories, lower, upper, grapheme):
    info, lower_delta, upper_delta = [], [], []
    for cp in range(CYRILLIC_FIRST, CYRILLIC_FIRST + 256):
        info.append(categories[cp] | grapheme[cp] << 3)
        lower_delta.append(lower.get(cp, cp) - cp)
        upper_delta.append(upper.get(cp, cp) - cp)
    if any(not -32768 <= d <= 32767 for d in lower_delta + upper_delta):
        sys.exit("Cyrillic case delta does not fit in 16 bits")
    return info, lower_delta, upper_delta


def emit_list(out, items, per_line):
    for i in range(0, len(items), per_line):
        out.append("    " + " ".join(items[i:i + per_line]))


def emit_property_ranges(out, name, ranges):
    out.append(f"constexpr PropertyRange {name}[] = {{")
    emit_list(out, [f"{{0x{a:X}, {b - a}, {v}}}," for a, b, v in ranges], 6)
    out.append("};")


def emit_case_ranges(out, name, ranges):
    out.append(f"constexpr CaseRange {name}[] = {{")
    emit_list(out, [f"{{0x{a:X}, {s}, {st}, {d}}}," for a, s, st, d in ranges], 5)
    out.append("};")


def emit_array(out, ctype, name, values):
    out.append(f"constexpr {ctype} {name}[256] = {{")
    emit_list(out, [f"{v}," for v in values], 16)
    out.append("};")


def generate(ucd):
    version = file_version(os.path.join(ucd, "auxiliary", "GraphemeBreakProperty.txt"))
    for other in ("DerivedCoreProperties.txt", "PropList.txt"):
        if file_version(os.path.join(ucd, other)) != version:
            sys.exit(f"{other} is not of version {version}")
    check_no_indic_conjunct_break(ucd)
    categories, lower, upper = read_unicode_data(os.path.join(ucd, "UnicodeData.txt"))
    grapheme = read_grapheme(ucd)
    white = [0] * (MAX_SCALAR + 1)
    for cp in read_property(os.path.join(ucd, "PropList.txt"), {"White_Space"}):
        white[cp] = 1
    check_ascii(categories, lower, upper, grapheme, white)
    cyr_info, cyr_lower, cyr_upper = cyrillic_tables(categories, lower, upper, grapheme)

    out = [
        f"// Generated from the Unicode Character Database {version} by",
        "// tools/unicodegen/gen_unicode_tables.py. Do not edit; regenerate with",
        "//   python3 tools/unicodegen/gen_unicode_tables.py",
        "// (options --ucd, default /usr/share/unicode, and --out, default this file).",
        "// ASCII and U+0400..U+04FF are answered by the fast paths; the range tables",
        "// leave them out (white space leaves out ASCII only). Hangul syllables",
        "// (LV/LVT) are computed, not listed.",
        "// clang-format off",
        '#include "unicode/unicode_tables.h"',
        "",
        "namespace quillom::unicode::detail {",
        "namespace {",
        "",
    ]
    emit_property_ranges(out, "categoryData", ranges_of(without_fast_paths(categories)))
    emit_property_ranges(out, "graphemeData", ranges_of(without_fast_paths(grapheme)))
    emit_property_ranges(out, "whiteSpaceData", ranges_of(without_fast_paths(white, cyrillic=False)))
    emit_case_ranges(out, "lowerData", case_ranges(lower))
    emit_case_ranges(out, "upperData", case_ranges(upper))
    out += ["", "}  // namespace", ""]
    out += [
        "const std::span<const PropertyRange> kCategoryRanges{categoryData};",
        "const std::span<const PropertyRange> kGraphemeRanges{graphemeData};",
        "const std::span<const PropertyRange> kWhiteSpaceRanges{whiteSpaceData};",
        "const std::span<const CaseRange> kLowerRanges{lowerData};",
        "const std::span<const CaseRange> kUpperRanges{upperData};",
        "",
    ]
    emit_array(out, "std::uint8_t", "kCyrillicInfo", cyr_info)
    emit_array(out, "std::int16_t", "kCyrillicLowerDelta", cyr_lower)
    emit_array(out, "std::int16_t", "kCyrillicUpperDelta", cyr_upper)
    out += ["", "}  // namespace quillom::unicode::detail", ""]
    return "\n".join(out)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--ucd", default="/usr/share/unicode")
    parser.add_argument("--out", default=os.path.join(root, "engine", "unicode", "unicode_tables.cpp"))
    args = parser.parse_args()
    text = generate(args.ucd)
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
