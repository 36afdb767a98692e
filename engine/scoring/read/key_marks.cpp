#include "scoring/read/key_marks.h"

#include "layout/selection_conversion.h"
#include "layout/token_mapping.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

bool isMark(std::string_view c) { return !unicode::isLetterChar(c) && !unicode::isNumericChar(c); }

bool givesLetter(const CharMap& map, std::string_view c) {
    auto it = map.find(c);
    return it != map.end() && unicode::isLetterChar(it->second);
}

bool givesOtherMark(const CharMap& map, std::string_view c) {
    auto it = map.find(c);
    return it != map.end() && it->second != c && isMark(it->second);
}

bool readAsLetter(const KeyboardLayoutConfig& layout, const LayoutDirection& direction, std::string_view c) {
    return givesLetter(layout::lowerMapFor(layout, direction), c) ||
           givesLetter(layout::shiftMapFor(layout, direction), c);
}

bool isKeyMark(const KeyboardLayoutConfig& layout, std::string_view c) {
    if (!isMark(c)) return false;
    for (const auto* maps : {&layout.maps, &layout.shiftMaps})
        for (const auto& [direction, map] : *maps)
            if (givesLetter(map, c)) return false;
    for (const auto* maps : {&layout.selectionMaps, &layout.selectionShiftMaps})
        for (const auto& [direction, map] : *maps)
            if (givesOtherMark(map, c)) return true;
    return false;
}

// Bytes of the runs of characters at the text's edges that `belongs` accepts;
// nothing when they meet. One pass, no list of the characters: words are
// evaluated on every key.
template <typename Belongs>
MarkEdges edgeRuns(std::string_view text, Belongs belongs) {
    MarkEdges edges;
    bool leading = true, between = false;  // between: a character outside both runs
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = unicode::nextGraphemeBreak(text, pos);
        const std::size_t size = end - pos;
        const bool accepted = belongs(text.substr(pos, size));
        pos = end;
        if (leading && accepted) {
            edges.leading += size;
            continue;
        }
        leading = false;
        edges.trailing = accepted ? edges.trailing + size : 0;
        between |= !accepted;
    }
    return between ? edges : MarkEdges{};
}

std::string targetMark(const KeyboardLayoutConfig& layout, std::string_view c, const LayoutDirection& direction) {
    return readAsLetter(layout, direction, c) ? std::string(c) : layout::mapSelection(layout, c, direction);
}

}  // namespace

// Only a key of a whole-key map can be turned into another mark.
KeyMarks::KeyMarks(const KeyboardLayoutConfig& layout) {
    for (const auto* maps : {&layout.selectionMaps, &layout.selectionShiftMaps})
        for (const auto& [direction, map] : *maps)
            for (const auto& [key, value] : map)
                if (isKeyMark(layout, key)) marks_.insert(key, true);
}

MarkEdges keyMarkEdges(const KeyMarks& marks, std::string_view token) {
    return edgeRuns(token, [&](std::string_view c) { return marks.contains(c); });
}

std::string withTargetKeyMarks(const KeyboardLayoutConfig& layout, std::string_view typed, std::string corrected,
                               const LayoutDirection& direction) {
    const std::vector<std::string_view> was = unicode::graphemeList(typed);
    const std::vector<std::string_view> is = unicode::graphemeList(corrected);
    // The marks the correction still carries as typed, from each end.
    std::size_t lead = 0, trail = 0;
    while (lead < was.size() && lead < is.size() && isMark(was[lead]) && was[lead] == is[lead]) ++lead;
    while (trail < was.size() - lead && trail < is.size() - lead && isMark(was[was.size() - 1 - trail]) &&
           was[was.size() - 1 - trail] == is[is.size() - 1 - trail])
        ++trail;
    if (lead + trail == 0) return corrected;
    std::string out;
    for (std::size_t i = 0; i < is.size(); ++i)
        out += i < lead || i >= is.size() - trail ? targetMark(layout, is[i], direction) : std::string(is[i]);
    return out;
}

}  // namespace quillom::scoring
