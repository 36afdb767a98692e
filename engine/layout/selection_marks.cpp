#include "layout/selection_marks.h"

#include <vector>

#include "layout/selection_conversion.h"
#include "unicode/unicode.h"

namespace quillom::layout {

namespace {

// A slash stands between words, not for a full stop after an abbreviation's
// letter (n/l/ is т.д.), when both sides have at least this many letter keys
// and no capital follows it (a full stop with no space before a sentence).
constexpr std::size_t kWordAroundSlash = 2;

bool isAsciiDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }

struct Keys {
    std::vector<std::string_view> typed;
    std::vector<std::string> read;  // each key on the target layout

    bool letterAt(std::size_t i) const { return i < read.size() && unicode::isLetterChar(read[i]); }
    bool digitAt(std::size_t i) const { return i < typed.size() && isAsciiDigit(typed[i]); }
    // Letter keys in a row from i on, going by step (+1 or -1).
    std::size_t letterRun(std::size_t i, int step) const {
        std::size_t n = 0;
        for (; i < read.size() && letterAt(i); i += static_cast<std::size_t>(step)) ++n;
        return n;
    }
};

bool spaceOrEnd(const Keys& keys, std::size_t i) { return i >= keys.typed.size() || keys.typed[i] == " "; }

// Whether the key at i, a mark typed as itself, is meant as that mark: a
// dollar before an amount or closing a placeholder ($1$), not after a number
// and before a space or another number (19;197; a list).
bool keptAsTyped(const Keys& keys, std::size_t i) {
    const std::string_view c = keys.typed[i];
    if (c.size() != 1 || keys.read[i] == c) return false;
    const std::size_t before = i - 1;  // wraps at the start: no key there
    switch (c[0]) {
    case '[':
    case ']':
    case '{':
    case '}':
    case '<':
    case '>':
    case '\\':
    case '|': return unicode::isLetterChar(keys.read[i]) && !keys.letterAt(before) && !keys.letterAt(i + 1);
    case '$': return keys.digitAt(before) ? !keys.digitAt(i + 1) && !spaceOrEnd(keys, i + 1) : keys.digitAt(i + 1);
    case '@': return (keys.letterAt(before) || keys.digitAt(before)) && (keys.letterAt(i + 1) || keys.digitAt(i + 1));
    case '#': return !keys.digitAt(i + 1) && !(i + 1 < keys.typed.size() && keys.typed[i + 1] == " ");
    case '/':
        return keys.letterRun(before, -1) >= kWordAroundSlash && keys.letterRun(i + 1, 1) >= kWordAroundSlash &&
               !unicode::isUpperChar(keys.read[i + 1]);
    default: return false;
    }
}

}  // namespace

std::string mapSelectionKeepingMarks(const KeyboardLayoutConfig& layout, std::string_view text,
                                     const LayoutDirection& direction) {
    Keys keys;
    for (std::string_view c : unicode::graphemes(text)) {
        keys.typed.push_back(c);
        keys.read.push_back(mapSelection(layout, c, direction));
    }
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < keys.typed.size(); ++i) out += keptAsTyped(keys, i) ? keys.typed[i] : keys.read[i];
    return out;
}

}  // namespace quillom::layout
