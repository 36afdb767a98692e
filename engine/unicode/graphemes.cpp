// Extended grapheme clusters (UAX #29, rules GB3 to GB13; the data in use has
// no Indic_Conjunct_Break, so GB9c does not apply) and per-character helpers.
// Ill-formed bytes decode to U+FFFD, which is an ordinary character here.
#include <algorithm>

#include "unicode/unicode.h"
#include "unicode/unicode_tables.h"

namespace quillom::unicode {
namespace {

using detail::GraphemeProperty;
using GP = GraphemeProperty;

// What the rules need to know about the scalars before a candidate break.
struct ClusterState {
    GP previous = GP::Other;
    bool pictographicRun = false;   // ... ExtPict Extend* (GB11 left side so far)
    bool pictographicZwj = false;   // ... ExtPict Extend* ZWJ
    std::size_t regionalCount = 0;  // regional indicators ending the text so far

    void advance(GP next) {
        pictographicZwj = next == GP::ZWJ && pictographicRun;
        pictographicRun = next == GP::ExtendedPictographic || (next == GP::Extend && pictographicRun);
        regionalCount = next == GP::RegionalIndicator ? regionalCount + 1 : 0;
        previous = next;
    }
};

bool isControlLike(GP p) { return p == GP::Control || p == GP::CR || p == GP::LF; }

bool hangulJoins(GP before, GP after) {
    switch (before) {
    case GP::L:  // GB6
        return after == GP::L || after == GP::V || after == GP::LV || after == GP::LVT;
    case GP::LV:
    case GP::V:  // GB7
        return after == GP::V || after == GP::T;
    case GP::LVT:
    case GP::T:  // GB8
        return after == GP::T;
    default: return false;
    }
}

bool isBoundary(const ClusterState& state, GP next) {
    const GP prev = state.previous;
    if (prev == GP::CR && next == GP::LF) return false;                           // GB3
    if (isControlLike(prev) || isControlLike(next)) return true;                  // GB4, GB5
    if (hangulJoins(prev, next)) return false;                                    // GB6-GB8
    if (next == GP::Extend || next == GP::ZWJ) return false;                      // GB9
    if (next == GP::SpacingMark || prev == GP::Prepend) return false;             // GB9a, GB9b
    if (state.pictographicZwj && next == GP::ExtendedPictographic) return false;  // GB11
    if (prev == GP::RegionalIndicator && next == GP::RegionalIndicator) {
        return state.regionalCount % 2 == 0;  // GB12, GB13
    }
    return true;  // GB999
}

}  // namespace

std::size_t nextGraphemeBreak(std::string_view utf8, std::size_t start) {
    if (start >= utf8.size()) return utf8.size();
    // Printable ASCII never joins printable ASCII (or the end); skips the lookups for most text.
    const auto printable = [&utf8](std::size_t i) { return i >= utf8.size() || (utf8[i] >= 0x20 && utf8[i] < 0x7F); };
    // So do Cyrillic letters (U+0400..U+04FF as two bytes, less the combining
    // marks U+0483..U+0489): a break falls after either when the next
    // character is one of them.
    const auto byteAt = [&utf8](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const auto cyrillic = [&](std::size_t i) {
        return i + 1 < utf8.size() && byteAt(i) >= 0xD0 && byteAt(i) <= 0xD3 && (byteAt(i + 1) & 0xC0) == 0x80;
    };
    const auto standsAlone = [&](std::size_t i) {
        return printable(i) || (cyrillic(i) && !(byteAt(i) == 0xD2 && byteAt(i + 1) >= 0x83 && byteAt(i + 1) <= 0x89));
    };
    if (printable(start) && standsAlone(start + 1)) return start + 1;
    if (cyrillic(start) && standsAlone(start + 2)) return start + 2;
    std::size_t pos = start;
    ClusterState state;
    state.advance(detail::graphemeProperty(decodeScalar(utf8, pos)));
    while (pos < utf8.size()) {
        if (printable(pos) && state.previous == GP::Other) return pos;
        std::size_t after = pos;
        const GP next = detail::graphemeProperty(decodeScalar(utf8, after));
        if (isBoundary(state, next)) return pos;
        state.advance(next);
        pos = after;
    }
    return pos;
}

std::vector<std::string_view> graphemeList(std::string_view utf8) {
    std::vector<std::string_view> out;
    out.reserve(std::min<std::size_t>(utf8.size(), 64));
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t end = nextGraphemeBreak(utf8, pos);
        out.push_back(utf8.substr(pos, end - pos));
        pos = end;
    }
    return out;
}

std::size_t graphemeCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < utf8.size(); pos = nextGraphemeBreak(utf8, pos)) ++count;
    return count;
}

char32_t firstScalar(std::string_view character) {
    if (character.empty()) return 0;  // classifies as nothing
    std::size_t pos = 0;
    return decodeScalar(character, pos);
}

bool isLetterChar(std::string_view character) { return isLetter(firstScalar(character)); }

bool isUpperChar(std::string_view character) { return isUpper(firstScalar(character)); }

bool isNumericChar(std::string_view character) { return isNumeric(firstScalar(character)); }

namespace {

std::string firstCharacter(std::string mapped) {
    mapped.resize(nextGraphemeBreak(mapped, 0));
    return mapped;
}

}  // namespace

std::string upperChar(std::string_view character) { return firstCharacter(toUpper(character)); }

std::string lowerChar(std::string_view character) { return firstCharacter(toLower(character)); }

}  // namespace quillom::unicode
