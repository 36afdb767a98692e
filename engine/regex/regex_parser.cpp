// Recursive-descent parser of the pattern dialect. Anything outside it
// (backreferences, named groups, lookbehind, inline flags, Unicode property
// escapes, stray quantifiers) makes the whole pattern fail.
#include <algorithm>

#include "regex/regex_ast.h"
#include "unicode/unicode.h"

namespace quillom::regex::detail {

bool isAsciiWord(char32_t cp) {
    return (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || (cp >= '0' && cp <= '9') || cp == '_';
}

bool isLineTerminator(char32_t cp) { return cp == '\n' || cp == '\r' || cp == 0x2028 || cp == 0x2029; }

bool inSet(std::uint8_t set, char32_t cp) {
    return ((set & kDigitSet) != 0 && cp >= '0' && cp <= '9') || ((set & kWordSet) != 0 && isAsciiWord(cp)) ||
           ((set & kSpaceSet) != 0 && unicode::isWhitespace(cp));
}

void normalizeRanges(std::vector<ScalarRange>& ranges) {
    std::sort(ranges.begin(), ranges.end(),
              [](const ScalarRange& a, const ScalarRange& b) { return a.first < b.first; });
    std::vector<ScalarRange> merged;
    for (const ScalarRange& r : ranges) {
        if (!merged.empty() && r.first <= merged.back().last + 1) {
            merged.back().last = std::max(merged.back().last, r.last);
        } else {
            merged.push_back(r);
        }
    }
    ranges = std::move(merged);
}

namespace {

constexpr int kMaxDepth = 64;     // nesting of groups; bounds the parser's recursion
constexpr int kMaxRepeat = 1000;  // largest n or m in {n,m}
constexpr char32_t kMaxScalar = 0x10FFFF;

// One class item: a single scalar, or a predefined set such as \d.
struct ClassAtom {
    char32_t scalar = 0;
    std::uint8_t set = 0;
    bool negatedSet = false;
};

class Parser {
public:
    explicit Parser(std::u32string text) : text_(std::move(text)) {}

    std::optional<Ast> run() {
        const std::optional<int> root = disjunction(0);
        if (!root || pos_ != text_.size()) return std::nullopt;
        ast_.root = *root;
        return std::move(ast_);
    }

private:
    bool atEnd() const { return pos_ >= text_.size(); }
    char32_t peek(std::size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : 0; }
    bool accept(char32_t c) {
        if (atEnd() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    int add(Node node) {
        ast_.nodes.push_back(std::move(node));
        return static_cast<int>(ast_.nodes.size() - 1);
    }
    int addKind(NodeKind kind) {
        Node node;
        node.kind = kind;
        return add(std::move(node));
    }
    int addChar(char32_t c) {
        Node node;
        node.kind = NodeKind::Char;
        node.scalar = c;
        return add(std::move(node));
    }
    int addClass(CharClass cls) {
        normalizeRanges(cls.ranges);
        ast_.classes.push_back(std::move(cls));
        Node node;
        node.kind = NodeKind::Class;
        node.classIndex = static_cast<int>(ast_.classes.size() - 1);
        return add(std::move(node));
    }

    std::optional<int> disjunction(int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        Node alt;
        alt.kind = NodeKind::Alternation;
        do {
            const std::optional<int> branch = alternative(depth);
            if (!branch) return std::nullopt;
            alt.children.push_back(*branch);
        } while (accept('|'));
        if (alt.children.size() == 1) return alt.children.front();
        return add(std::move(alt));
    }

    std::optional<int> alternative(int depth) {
        Node concat;
        concat.kind = NodeKind::Concat;
        while (!atEnd() && peek() != '|' && peek() != ')') {
            const std::optional<int> t = term(depth);
            if (!t) return std::nullopt;
            concat.children.push_back(*t);
        }
        if (concat.children.empty()) return addKind(NodeKind::Empty);
        if (concat.children.size() == 1) return concat.children.front();
        return add(std::move(concat));
    }

    std::optional<int> term(int depth) {
        if (startsAssertion()) {
            const std::optional<int> a = assertion(depth);
            if (!a || startsQuantifier()) return std::nullopt;  // assertions are not repeated
            return a;
        }
        if (startsQuantifier()) return std::nullopt;  // nothing to repeat
        const std::optional<int> a = atom(depth);
        if (!a) return std::nullopt;
        return quantified(*a);
    }

    bool startsAssertion() const {
        const char32_t c = peek();
        if (c == '^' || c == '$') return true;
        if (c == '\\') return peek(1) == 'b' || peek(1) == 'B';
        return c == '(' && peek(1) == '?' && (peek(2) == '=' || peek(2) == '!');
    }

    std::optional<int> assertion(int depth) {
        if (accept('^')) return addKind(NodeKind::StartAnchor);
        if (accept('$')) return addKind(NodeKind::EndAnchor);
        if (accept('\\')) {
            const bool boundary = text_[pos_++] == 'b';
            return addKind(boundary ? NodeKind::WordBoundary : NodeKind::NotWordBoundary);
        }
        pos_ += 2;  // "(?"
        const bool negative = accept('!');
        if (!negative) ++pos_;  // "="
        const std::optional<int> inner = disjunction(depth + 1);
        if (!inner || !accept(')')) return std::nullopt;
        Node look;
        look.kind = negative ? NodeKind::NegativeLookAhead : NodeKind::LookAhead;
        look.children.push_back(*inner);
        return add(std::move(look));
    }

    bool startsQuantifier() const {
        const char32_t c = peek();
        return c == '*' || c == '+' || c == '?' || c == '{';
    }

    std::optional<int> atom(int depth) {
        const char32_t c = peek();
        ++pos_;
        switch (c) {
        case '.': return addKind(NodeKind::Any);
        case '(': return group(depth);
        case '[': return charClass();
        case ')': return std::nullopt;
        case '\\': return escapeAtom();
        default: return addChar(c);
        }
    }

    std::optional<int> group(int depth) {
        if (accept('?') && !accept(':')) return std::nullopt;  // (?<name>, (?<=, (?i) ...
        const std::optional<int> inner = disjunction(depth + 1);
        if (!inner || !accept(')')) return std::nullopt;
        return inner;
    }

    std::optional<int> escapeAtom() {
        const std::optional<ClassAtom> a = escape(false);
        if (!a) return std::nullopt;
        if (a->set == 0) return addChar(a->scalar);
        CharClass cls;
        (a->negatedSet ? cls.negatedSets : cls.sets) = a->set;
        return addClass(std::move(cls));
    }

    // Reads a quantifier if one follows; false when a malformed one does.
    bool quantifier(int& min, int& max, bool& present) {
        present = true;
        min = 0;
        max = kUnbounded;
        if (accept('*')) return true;
        if (accept('+')) {
            min = 1;
            return true;
        }
        if (accept('?')) {
            max = 1;
            return true;
        }
        if (accept('{')) return braces(min, max);
        present = false;
        return true;
    }

    std::optional<int> quantified(int atom) {
        Node repeat;
        repeat.kind = NodeKind::Repeat;
        bool present = false;
        if (!quantifier(repeat.min, repeat.max, present)) return std::nullopt;
        if (!present) return atom;
        repeat.children.push_back(atom);
        repeat.lazy = accept('?');
        if (startsQuantifier()) return std::nullopt;  // a** or a{2}{3}
        return add(std::move(repeat));
    }

    // After "{": n}, n,} or n,m}.
    bool braces(int& min, int& max) {
        const std::optional<int> n = number();
        if (!n) return false;
        min = *n;
        max = *n;
        if (accept(',')) {
            max = kUnbounded;
            if (peek() != '}') {
                const std::optional<int> m = number();
                if (!m || *m < *n) return false;
                max = *m;
            }
        }
        return accept('}');
    }

    std::optional<int> number() {
        int value = 0;
        const std::size_t start = pos_;
        while (peek() >= '0' && peek() <= '9') {
            value = value * 10 + static_cast<int>(peek() - '0');
            if (value > kMaxRepeat) return std::nullopt;
            ++pos_;
        }
        if (pos_ == start) return std::nullopt;
        return value;
    }

    std::optional<int> charClass() {
        CharClass cls;
        cls.negated = accept('^');
        while (!accept(']')) {
            if (atEnd()) return std::nullopt;
            const std::optional<ClassAtom> first = classAtom();
            if (!first) return std::nullopt;
            if (peek() == '-' && pos_ + 1 < text_.size() && peek(1) != ']') {
                ++pos_;
                const std::optional<ClassAtom> last = classAtom();
                if (!last || first->set != 0 || last->set != 0 || last->scalar < first->scalar) {
                    return std::nullopt;
                }
                cls.ranges.push_back({first->scalar, last->scalar});
            } else if (first->set != 0) {
                (first->negatedSet ? cls.negatedSets : cls.sets) |= first->set;
            } else {
                cls.ranges.push_back({first->scalar, first->scalar});
            }
        }
        return addClass(std::move(cls));
    }

    std::optional<ClassAtom> classAtom() {
        if (atEnd()) return std::nullopt;
        const char32_t c = text_[pos_++];
        if (c != '\\') return ClassAtom{c};
        return escape(true);
    }

    // After a backslash.
    std::optional<ClassAtom> escape(bool inClass) {
        if (atEnd()) return std::nullopt;
        const char32_t c = text_[pos_++];
        switch (c) {
        case 'd': return ClassAtom{0, kDigitSet, false};
        case 'D': return ClassAtom{0, kDigitSet, true};
        case 'w': return ClassAtom{0, kWordSet, false};
        case 'W': return ClassAtom{0, kWordSet, true};
        case 's': return ClassAtom{0, kSpaceSet, false};
        case 'S': return ClassAtom{0, kSpaceSet, true};
        case 'n': return ClassAtom{'\n'};
        case 'r': return ClassAtom{'\r'};
        case 't': return ClassAtom{'\t'};
        case 'f': return ClassAtom{'\f'};
        case 'v': return ClassAtom{'\v'};
        case 'b':  // outside a class \b is an assertion and never gets here
            if (!inClass) return std::nullopt;
            return ClassAtom{'\b'};
        case '0':
            if (peek() >= '0' && peek() <= '9') return std::nullopt;  // octal
            return ClassAtom{0};
        case 'u': return unicodeEscape();
        case 'x': return hexEscape();
        default:
            // Escaped ASCII punctuation stands for itself; escaped letters,
            // digits (backreferences) and other scalars are not in the dialect.
            if (c < 0x80 && !isAsciiWord(c) && c >= 0x20 && c != 0x7F) return ClassAtom{c};
            return std::nullopt;
        }
    }

    std::optional<char32_t> hexDigits(std::size_t count) {
        char32_t value = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::optional<char32_t> d = hexDigit(peek());
            if (!d) return std::nullopt;
            value = value * 16 + *d;
            ++pos_;
        }
        return value;
    }

    static std::optional<char32_t> hexDigit(char32_t c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return std::nullopt;
    }

    // After "{" of \x{...} or \u{...}.
    std::optional<ClassAtom> bracedHex() {
        char32_t value = 0;
        const std::size_t start = pos_;
        while (const std::optional<char32_t> d = hexDigit(peek())) {
            value = value * 16 + *d;
            if (value > kMaxScalar) return std::nullopt;
            ++pos_;
        }
        if (pos_ == start || !accept('}')) return std::nullopt;
        return ClassAtom{value};
    }

    std::optional<ClassAtom> hexEscape() {
        if (accept('{')) return bracedHex();
        const std::optional<char32_t> v = hexDigits(2);
        if (!v) return std::nullopt;
        return ClassAtom{*v};
    }

    // \uXXXX, a surrogate pair of two such escapes, or \u{...}.
    std::optional<ClassAtom> unicodeEscape() {
        if (accept('{')) return bracedHex();
        const std::optional<char32_t> high = hexDigits(4);
        if (!high) return std::nullopt;
        if (*high >= 0xD800 && *high <= 0xDBFF && peek() == '\\' && peek(1) == 'u') {
            const std::size_t save = pos_;
            pos_ += 2;
            const std::optional<char32_t> low = hexDigits(4);
            if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                return ClassAtom{0x10000 + ((*high - 0xD800) << 10) + (*low - 0xDC00)};
            }
            pos_ = save;
        }
        return ClassAtom{*high};
    }

    std::u32string text_;
    std::size_t pos_ = 0;
    Ast ast_;
};

}  // namespace

std::optional<Ast> parse(std::string_view pattern) {
    if (unicode::sanitizeUtf8(pattern) != pattern) return std::nullopt;
    return Parser(unicode::decodeUtf8(pattern)).run();
}

}  // namespace quillom::regex::detail
