// Mapping a word key by key from one layout to another, carrying letter case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/char_table.h"
#include "config/rules_config.h"
#include "unicode/unicode.h"

namespace quillom::layout {

namespace detail {

inline const std::string* lookup(const CharMap& map, std::string_view c) {
    if (map.empty()) return nullptr;
    auto it = map.find(c);
    return it == map.end() ? nullptr : &it->second;
}

inline const std::string* lookup(const CharTable<std::string>& table, std::string_view c) { return table.find(c); }

inline void appendText(std::string_view text, auto& out) { out.append(text.data(), text.size()); }

}  // namespace detail

// Character by character; characters no map knows pass through unchanged.
// Appends to out (anything with append(const char*, size)), so a caller can
// map into a buffer of its own.
// Map: CharMap, or CharTable<std::string> of the same entries.
template <typename Out, typename Map>
void mapTokenInto(std::string_view token, const Map& lowerMap, const Map& upperMap, Out& out) {
    using detail::appendText;
    using detail::lookup;
    for (std::string_view c : unicode::graphemes(token)) {
        if (unicode::isUpperChar(c)) {
            if (const std::string* v = lookup(upperMap, c)) {
                appendText(*v, out);
            } else if (const std::string* lv = lookup(lowerMap, unicode::lowerChar(c))) {
                appendText(unicode::upperChar(*lv), out);
            } else {
                appendText(c, out);
            }
        } else if (const std::string* v = lookup(lowerMap, c)) {
            appendText(*v, out);
        } else if (const std::string* uv = lookup(upperMap, c)) {
            appendText(*uv, out);
        } else {
            appendText(c, out);
        }
    }
}

std::string mapToken(std::string_view token, const CharMap& lowerMap, const CharMap& upperMap);

// The direction's lower and shift maps (empty maps when not configured).
const CharMap& lowerMapFor(const KeyboardLayoutConfig& layout, const LayoutDirection& direction);
const CharMap& shiftMapFor(const KeyboardLayoutConfig& layout, const LayoutDirection& direction);

std::string mapLayout(const KeyboardLayoutConfig& layout, std::string_view token, const LayoutDirection& direction);

template <typename Out>
void mapLayoutInto(const KeyboardLayoutConfig& layout, std::string_view token, const LayoutDirection& direction,
                   Out& out) {
    mapTokenInto(token, lowerMapFor(layout, direction), shiftMapFor(layout, direction), out);
}

// Carries the case pattern of the typed word over to its replacement.
std::string preserveCase(std::string_view original, std::string_view replacement);

// Lower-cased letters of the token that some configured alphabet contains.
std::vector<std::string> classifiedLetters(const RulesConfig& config, std::string_view token);

// True when some configured map (lower or shift) sends the character to a letter.
bool someMapSendsToLetter(const KeyboardLayoutConfig& layout, std::string_view character);

}  // namespace quillom::layout
