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

namespace detail {

std::size_t nextGraphemeBreakSlow(std::string_view utf8, std::size_t start) {
    const auto printable = [&utf8](std::size_t i) { return i >= utf8.size() || (utf8[i] >= 0x20 && utf8[i] < 0x7F); };
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

}  // namespace detail

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

namespace {

std::string firstCharacter(std::string mapped) {
    mapped.resize(nextGraphemeBreak(mapped, 0));
    return mapped;
}

}  // namespace

std::string upperChar(std::string_view character) { return firstCharacter(toUpper(character)); }

std::string lowerChar(std::string_view character) { return firstCharacter(toLower(character)); }

}  // namespace quillom::unicode
