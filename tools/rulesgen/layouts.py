"""Physical key tables of the US, Russian and Ukrainian (Enhanced) Windows layouts.

Each table maps a virtual-key code to the character the key gives without and
with Shift. The layout maps of the rules file are derived from these tables,
and the accuracy benchmark types text through the same tables (written out by
write_key_table), so the maps and the simulated typing cannot disagree.
"""

DIGIT_KEYS = [0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30]
LETTER_ROWS = "qwertyuiopasdfghjklzxcvbnm"

# OEM keys in US order: ; = , - . / ` [ \ ] '
OEM_1, OEM_PLUS, OEM_COMMA, OEM_MINUS, OEM_PERIOD, OEM_2, OEM_3 = 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0
OEM_4, OEM_5, OEM_6, OEM_7, SPACE = 0xDB, 0xDC, 0xDD, 0xDE, 0x20


def _us():
    table = {SPACE: (" ", " ")}
    for vk, (lower, upper) in zip(DIGIT_KEYS, zip("1234567890", "!@#$%^&*()")):
        table[vk] = (lower, upper)
    for ch in LETTER_ROWS:
        table[ord(ch.upper())] = (ch, ch.upper())
    table.update({OEM_1: (";", ":"), OEM_PLUS: ("=", "+"), OEM_COMMA: (",", "<"),
                  OEM_MINUS: ("-", "_"), OEM_PERIOD: (".", ">"), OEM_2: ("/", "?"),
                  OEM_3: ("`", "~"), OEM_4: ("[", "{"), OEM_5: ("\\", "|"),
                  OEM_6: ("]", "}"), OEM_7: ("'", '"')})
    return table


def _cyrillic(letters, oem, digit_shift):
    table = {SPACE: (" ", " ")}
    for vk, (lower, upper) in zip(DIGIT_KEYS, zip("1234567890", digit_shift)):
        table[vk] = (lower, upper)
    for latin, cyr in zip(LETTER_ROWS, letters):
        table[ord(latin.upper())] = (cyr, cyr.upper())
    table.update({OEM_PLUS: ("=", "+"), OEM_MINUS: ("-", "_")})
    table.update(oem)
    return table


def _ru():
    return _cyrillic("йцукенгшщзфывапролдячсмить",
                     {OEM_1: ("ж", "Ж"), OEM_COMMA: ("б", "Б"), OEM_PERIOD: ("ю", "Ю"),
                      OEM_2: (".", ","), OEM_3: ("ё", "Ё"), OEM_4: ("х", "Х"),
                      OEM_5: ("\\", "/"), OEM_6: ("ъ", "Ъ"), OEM_7: ("э", "Э")},
                     '!"№;%:?*()')


def _uk():
    return _cyrillic("йцукенгшщзфівапролдячсмить",
                     {OEM_1: ("ж", "Ж"), OEM_COMMA: ("б", "Б"), OEM_PERIOD: ("ю", "Ю"),
                      OEM_2: (".", ","), OEM_3: ("'", "₴"), OEM_4: ("х", "Х"),
                      OEM_5: ("ґ", "Ґ"), OEM_6: ("ї", "Ї"), OEM_7: ("є", "Є")},
                     '!"№;%:?*()')


LAYOUTS = {"en": _us(), "ru": _ru(), "uk": _uk()}


def direction_maps(source, target):
    """Lower and shift maps source -> target for the keys that carry a letter on either side.

    Keys with no letter on either layout (digits, the Cyrillic full stop key)
    are left out: they never stand for a mistyped letter.
    """
    src, dst = LAYOUTS[source], LAYOUTS[target]
    lower, upper = {}, {}
    for vk in sorted(src):
        (s_lo, s_up), (d_lo, d_up) = src[vk], dst[vk]
        if (s_lo.isalpha() or d_lo.isalpha()) and s_lo != d_lo:
            lower[s_lo] = d_lo
            upper[s_up] = d_up
    return lower, upper


def maps_for_rules():
    """The "maps" member of "keyboard_layout": en <-> ru with shift maps."""
    en_ru, en_ru_shift = direction_maps("en", "ru")
    ru_en, ru_en_shift = direction_maps("ru", "en")
    return {"en_to_ru": en_ru, "en_to_ru_shift": en_ru_shift,
            "ru_to_en": ru_en, "ru_to_en_shift": ru_en_shift}


def whole_key_maps(source, target):
    """Lower and shift maps source -> target over every key whose character differs:
    letters, the digit row with Shift, / and ?, the Cyrillic full stop key."""
    src, dst = LAYOUTS[source], LAYOUTS[target]
    lower, upper = {}, {}
    for vk in sorted(src):
        (s_lo, s_up), (d_lo, d_up) = src[vk], dst[vk]
        if s_lo != d_lo:
            lower[s_lo] = d_lo
        if s_up != d_up:
            upper[s_up] = d_up
    return lower, upper


def selection_maps_for_rules():
    """The "selection_maps" member of "keyboard_layout": every direction between
    the three layouts, every key, for converting selected text as a whole."""
    out = {}
    for source in ("en", "ru", "uk"):
        for target in ("en", "ru", "uk"):
            if source == target:
                continue
            lower, upper = whole_key_maps(source, target)
            out[f"{source}_to_{target}"] = lower
            out[f"{source}_to_{target}_shift"] = upper
    return out


def key_for_char(layout):
    """Character -> (virtual key, shift) for typing a character on a layout."""
    reverse = {}
    for vk in sorted(LAYOUTS[layout]):
        lower, upper = LAYOUTS[layout][vk]
        reverse.setdefault(lower, (vk, False))
        reverse.setdefault(upper, (vk, True))
    return reverse


def typeable_characters():
    chars = set()
    for table in LAYOUTS.values():
        for lower, upper in table.values():
            chars.update((lower, upper))
    return chars


def write_key_table(path):
    """One line per key: layout, virtual key (hex), unshifted and shifted character code."""
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("# layout vk lower upper (code points, hex)\n")
        for name in ("en", "ru", "uk"):
            for vk in sorted(LAYOUTS[name]):
                lower, upper = LAYOUTS[name][vk]
                f.write(f"{name} {vk:02X} {ord(lower):04X} {ord(upper):04X}\n")


RU_TO_UK = {"ы": "і", "э": "є", "ъ": "ї", "ё": "'"}


def engine_map(source, target):
    """The lower map the engine uses for a direction: en <-> ru from this file's
    maps, the others built into the engine (en <-> uk without the ґ key, whose
    US counterpart ends a word; ru <-> uk on the four keys that differ)."""
    if {source, target} == {"ru", "uk"}:
        table = RU_TO_UK if source == "ru" else {v: k for k, v in RU_TO_UK.items()}
        return dict(table)
    lower, _ = direction_maps(source, target)
    if "uk" in (source, target):
        lower = {k: v for k, v in lower.items() if "ґ" not in (k, v)}
        lower.update({"`": "'"} if source == "en" else {"'": "`"})
    return lower


def map_word(word, source, target):
    table = engine_map(source, target)
    return "".join(table.get(c, c) for c in word)
