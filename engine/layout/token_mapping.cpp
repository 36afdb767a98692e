#include "layout/token_mapping.h"

#include "unicode/unicode.h"

namespace quillom::layout {

namespace {

const CharMap& emptyMap() {
    static const CharMap m;
    return m;
}

}  // namespace

std::string mapToken(std::string_view token, const CharMap& lowerMap, const CharMap& upperMap) {
    std::string out;
    out.reserve(token.size() * 2);
    mapTokenInto(token, lowerMap, upperMap, out);
    return out;
}

const CharMap& lowerMapFor(const KeyboardLayoutConfig& layout, const LayoutDirection& direction) {
    auto it = layout.maps.find(direction);
    return it == layout.maps.end() ? emptyMap() : it->second;
}

const CharMap& shiftMapFor(const KeyboardLayoutConfig& layout, const LayoutDirection& direction) {
    auto it = layout.shiftMaps.find(direction);
    return it == layout.shiftMaps.end() ? emptyMap() : it->second;
}

std::string mapLayout(const KeyboardLayoutConfig& layout, std::string_view token, const LayoutDirection& direction) {
    return mapToken(token, lowerMapFor(layout, direction), shiftMapFor(layout, direction));
}

std::string preserveCase(std::string_view original, std::string_view replacement) {
    if (original.empty()) return std::string(replacement);
    const unicode::GraphemeRange chars = unicode::graphemes(original);
    bool laterUpper = false;
    for (auto it = std::next(chars.begin()); it != chars.end(); ++it)
        if (unicode::isLetterChar(*it) && unicode::isUpperChar(*it)) laterUpper = true;
    if (unicode::isUpperChar(chars.front()) && !laterUpper) {
        if (replacement.empty()) return std::string(replacement);
        const std::string_view first = unicode::graphemes(replacement).front();
        std::string out = unicode::upperChar(first);
        out.append(replacement.substr(first.size()));
        return out;
    }
    bool anyLetter = false, allUpper = true;
    for (std::string_view c : chars) {
        if (!unicode::isLetterChar(c)) continue;
        anyLetter = true;
        if (!unicode::isUpperChar(c)) allUpper = false;
    }
    if (anyLetter && allUpper) return unicode::toUpper(replacement);
    return std::string(replacement);
}

std::vector<std::string> classifiedLetters(const RulesConfig& config, std::string_view token) {
    std::vector<std::string> out;
    for (std::string_view c : unicode::graphemes(token)) {
        if (!unicode::isLetterChar(c)) continue;
        std::string lower = unicode::lowerChar(c);
        for (const auto& [key, language] : config.languages) {
            if (language.scriptAlphabet.count(lower)) {
                out.push_back(std::move(lower));
                break;
            }
        }
    }
    return out;
}

bool someMapSendsToLetter(const KeyboardLayoutConfig& layout, std::string_view character) {
    auto sendsToLetter = [&](const auto& maps) {
        for (const auto& [direction, map] : maps) {
            auto it = map.find(character);
            if (it != map.end() && unicode::isLetterChar(it->second)) return true;
        }
        return false;
    };
    return sendsToLetter(layout.maps) || sendsToLetter(layout.shiftMaps);
}

}  // namespace quillom::layout
