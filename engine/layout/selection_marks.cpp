#include "layout/selection_marks.h"

#include <optional>
#include <vector>

#include "layout/selection_conversion.h"
#include "unicode/unicode.h"

namespace quillom::layout {

namespace {

// A slash stands between words, not for a full stop after an abbreviation's
// letter (n/l/ is т.д.), when both sides have at least this many letter keys
// and no capital follows it (a full stop with no space before a sentence);
// see slashBetweenWords for a target that lacks the slash.
constexpr std::size_t kWordAroundSlash = 2;

bool isAsciiDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }

struct Keys {
    std::vector<std::string_view> typed;
    std::vector<std::string> read;  // each key on the target layout
    bool targetKeys = false;        // marks judged by what the target layout has (keptByTargetLayout)
    std::vector<bool> targetHas;    // per key: the target layout has the typed mark on a key of its own

    bool letterAt(std::size_t i) const { return i < read.size() && unicode::isLetterChar(read[i]); }
    bool lowerLetterAt(std::size_t i) const { return letterAt(i) && !unicode::isUpperChar(read[i]); }
    bool digitAt(std::size_t i) const { return i < typed.size() && isAsciiDigit(typed[i]); }
    bool typedAt(std::size_t i, std::string_view c) const { return i < typed.size() && typed[i] == c; }
    // Letter keys in a row from i on, going by step (+1 or -1).
    std::size_t letterRun(std::size_t i, int step) const {
        std::size_t n = 0;
        for (; i < read.size() && letterAt(i); i += static_cast<std::size_t>(step)) ++n;
        return n;
    }
};

bool spaceOrEnd(const Keys& keys, std::size_t i) { return i >= keys.typed.size() || keys.typed[i] == " "; }

// Neither neighbour reads as a letter.
bool standsAlone(const Keys& keys, std::size_t i) { return !keys.letterAt(i - 1) && !keys.letterAt(i + 1); }

// A key giving a capital of the target after a lower-case letter (значенияхЮ)
// makes a word cased as none is: the mark typed.
bool capitalAfterLower(const Keys& keys, std::size_t i) {
    return unicode::isUpperChar(keys.read[i]) && keys.lowerLetterAt(i - 1);
}

bool keptAsTyped(const Keys& keys, std::size_t i);

// A key of a word: a letter, or an apostrophe or hyphen inside one.
bool inWord(const Keys& keys, std::size_t i) {
    return keys.letterAt(i) || (i < keys.read.size() && (keys.read[i] == "'" || keys.read[i] == "-"));
}

// A key of the words a pair of brackets may hold: a key of a word, or a
// single space between two.
bool inWords(const Keys& keys, std::size_t i) {
    return inWord(keys, i) || (keys.typedAt(i, " ") && inWord(keys, i - 1) && inWord(keys, i + 1));
}

// An opening bracket before words that end in its closing bracket kept as
// typed (<name>, <невірна модель>).
bool opensKeptPair(const Keys& keys, std::size_t i, std::string_view closing) {
    if (!keys.letterAt(i + 1)) return false;
    std::size_t end = i + 1;
    while (end < keys.typed.size() && keys.typed[end] != closing && keys.typed[end] != keys.typed[i] &&
           inWords(keys, end))
        ++end;
    return keys.typedAt(end, closing) && keptAsTyped(keys, end);
}

// A closing mark after words that its opening mark, kept as typed, begins.
bool closesKeptPair(const Keys& keys, std::size_t i, std::string_view opening) {
    if (!keys.letterAt(i - 1) || keys.letterAt(i + 1)) return false;
    std::size_t open = i - 1;  // wraps past the start: no key there
    while (inWords(keys, open) && keys.typed[open] != opening) --open;
    return keys.typedAt(open, opening) && keptAsTyped(keys, open);
}

// A key giving a lower-case letter before a capital letter key: эТовары,
// хНазва and ДэАртаньян are cased as no word is.
bool lowerBeforeCapital(const Keys& keys, std::size_t i) {
    return keys.lowerLetterAt(i) && i + 1 < keys.typed.size() && unicode::isUpperChar(keys.typed[i + 1]) &&
           keys.letterAt(i + 1);
}

bool quoteKept(const Keys& keys, std::size_t i) {
    return standsAlone(keys, i) || lowerBeforeCapital(keys, i) || closesKeptPair(keys, i, keys.typed[i]);
}

// By the target layout: a mark it has on a key of its own was typed for that
// key ("/" is the Russian full stop); a mark it lacks is kept alone (' ', & ,
// the Ukrainian layout's " / " that no full stop stands as),
// before a number (#2), around a word (<name>, [Назва]) or where its key would
// make a word cased as none is (значенияхЮ). None where the typed mark's own
// rules decide.
std::optional<bool> keptByTargetLayout(const Keys& keys, std::size_t i) {
    if (!keys.targetKeys) return std::nullopt;
    if (keys.targetHas[i]) return false;
    bool kept = false;
    switch (keys.typed[i][0]) {
    case '\'': return quoteKept(keys, i);
    case '&': return keys.typedAt(i - 1, " ") && keys.typedAt(i + 1, " ");
    case '/': kept = keys.typedAt(i - 1, " ") && keys.typedAt(i + 1, " "); break;
    case '~': return unicode::isLetterChar(keys.read[i]) && standsAlone(keys, i);
    case '#': return true;  // before a number too: #1 outnumbers №1 in the languages' texts
    case '[': kept = lowerBeforeCapital(keys, i); break;
    case ']': kept = closesKeptPair(keys, i, "["); break;
    case '<': kept = opensKeptPair(keys, i, ">") || capitalAfterLower(keys, i); break;
    case '{': kept = opensKeptPair(keys, i, "}") || capitalAfterLower(keys, i); break;
    case '>':
    case '}': kept = capitalAfterLower(keys, i); break;
    default: break;
    }
    return kept ? std::optional<bool>(true) : std::nullopt;
}

// The slash key between letters. Judged by the target layout, which lacks
// the slash, letters on both sides will do (т/з, кд/с, ДД/ММ/РРРР) unless a
// side is one letter the key also closes or opens: an abbreviation's full
// stops (n/l/ is т.д.).
bool slashBetweenWords(const Keys& keys, std::size_t i) {
    const std::size_t left = keys.letterRun(i - 1, -1), right = keys.letterRun(i + 1, 1);
    if (keys.targetKeys) {
        const bool abbreviation = (right == 1 && keys.typedAt(i + 2, "/")) || (left == 1 && keys.typedAt(i - 2, "/"));
        return left > 0 && right > 0 && !abbreviation;
    }
    return left >= kWordAroundSlash && right >= kWordAroundSlash && !unicode::isUpperChar(keys.read[i + 1]);
}

// Whether the key at i, a mark typed as itself, is meant as that mark: a
// dollar before an amount or closing a placeholder ($1$), not after a number
// and before a space or another number (19;197; a list).
bool keptAsTyped(const Keys& keys, std::size_t i) {
    const std::string_view c = keys.typed[i];
    if (c.size() != 1 || keys.read[i] == c) return false;
    if (auto byTarget = keptByTargetLayout(keys, i)) return *byTarget;
    const std::size_t before = i - 1;  // wraps at the start: no key there
    switch (c[0]) {
    case '[':
    case ']':
    case '{':
    case '}':
    case '<':
    case '>':
    case '\\':
    case '|': return unicode::isLetterChar(keys.read[i]) && standsAlone(keys, i);
    case '$': return keys.digitAt(before) ? !keys.digitAt(i + 1) && !spaceOrEnd(keys, i + 1) : keys.digitAt(i + 1);
    case '@': return (keys.letterAt(before) || keys.digitAt(before)) && (keys.letterAt(i + 1) || keys.digitAt(i + 1));
    case '#': return !keys.digitAt(i + 1) && !(i + 1 < keys.typed.size() && keys.typed[i + 1] == " ");
    case '/': return slashBetweenWords(keys, i);
    default: return false;
    }
}

bool isAsciiLetter(std::string_view c) {
    return c.size() == 1 && ((c[0] >= 'a' && c[0] <= 'z') || (c[0] >= 'A' && c[0] <= 'Z'));
}

// At the start of a word of the target (no letter key before i), the number
// of its keys when they are all Latin letters; else 0.
std::size_t latinRunLength(const Keys& keys, std::size_t i) {
    if (keys.letterAt(i - 1) || !keys.letterAt(i)) return 0;
    const std::size_t length = keys.letterRun(i, 1);
    for (std::size_t k = i; k < i + length; ++k)
        if (!isAsciiLetter(keys.typed[k])) return 0;
    return length;
}

// latinRunLength when keepsWord keeps those keys; else 0.
std::size_t keptWordLength(const Keys& keys, std::size_t i, const KeepsWord& keepsWord) {
    const std::size_t length = latinRunLength(keys, i);
    if (length == 0) return 0;
    std::string typed, read;
    for (std::size_t k = i; k < i + length; ++k) {
        typed += keys.typed[k];
        read += keys.read[k];
    }
    return keepsWord(typed, read) ? length : 0;
}

// A key combination: after a word kept as typed and a plus, the next keys'
// name is Latin too (Ctrl+C, Alt+F4, Ctrl+Shift+T), whatever its letters
// spell in the target.
bool keyAfterKeptWord(const Keys& keys, std::size_t i, std::size_t keptEnd) {
    return keptEnd > 0 && i == keptEnd + 1 && keys.typedAt(keptEnd, "+");
}

}  // namespace

std::string mapSelectionKeepingMarks(const KeyboardLayoutConfig& layout, std::string_view text,
                                     const LayoutDirection& direction, const KeepsWord& keepsWord) {
    Keys keys;
    keys.targetKeys = layout.selectionMarksByTargetLayout;
    const LayoutDirection back{direction.to, direction.from};
    for (std::string_view c : unicode::graphemes(text)) {
        keys.typed.push_back(c);
        keys.read.push_back(mapSelection(layout, c, direction));
        keys.targetHas.push_back(keys.targetKeys && mapSelection(layout, c, back) != c);
    }
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t keptEnd = 0;  // just after the last word kept as typed
    for (std::size_t i = 0; i < keys.typed.size();) {
        const std::size_t word = !keepsWord                           ? 0
                                 : keyAfterKeptWord(keys, i, keptEnd) ? latinRunLength(keys, i)
                                                                      : keptWordLength(keys, i, keepsWord);
        for (std::size_t end = i + word; i < end; ++i) out += keys.typed[i];
        if (word > 0) {
            keptEnd = i;
            continue;
        }
        out += keptAsTyped(keys, i) ? keys.typed[i] : keys.read[i];
        ++i;
    }
    return out;
}

}  // namespace quillom::layout
