// The compiled form of a pattern: instructions for a backtracking machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regex/regex.h"
#include "regex/regex_ast.h"

namespace quillom::regex::detail {

enum class Op : std::uint8_t {
    Char,   // a: scalar (lower-cased when case-insensitive)
    Any,    // any scalar but a line terminator
    Class,  // a: index into classes
    Split,  // try a, on failure b
    Jump,   // a
    StartAnchor,
    EndAnchor,
    WordBoundary,
    NotWordBoundary,
    LookAhead,  // sub-program at a ends in Match; continue at b
    NegativeLookAhead,
    Mark,   // register a = position (undone on backtracking)
    Check,  // fail unless the position moved since Mark of register a
    Match,
};

struct Inst {
    Op op;
    std::uint32_t a = 0;
    std::uint32_t b = 0;
};

// Instructions a search may execute before it gives up and reports no match.
inline constexpr std::uint64_t kStepBudget = 100000;

inline constexpr char32_t kHotCyrillicFirst = 0x0400;
inline constexpr char32_t kHotCyrillicLast = 0x04FF;
inline constexpr std::size_t kNotHot = SIZE_MAX;

// The bit of a scalar in a bitmap of the hot scalars (see CharClass::hot), or kNotHot.
inline std::size_t hotIndex(char32_t cp) {
    if (cp < 0x80) return cp;
    if (cp >= kHotCyrillicFirst && cp <= kHotCyrillicLast) return 0x80 + (cp - kHotCyrillicFirst);
    return kNotHot;
}

inline bool hotBit(const std::array<std::uint64_t, 6>& bits, std::size_t bit) {
    return ((bits[bit / 64] >> (bit % 64)) & 1) != 0;
}

// A pattern every match of which is the whole text (anchored at both ends):
// the scalars it can consume, and how many it consumes at least and at most.
// A text holding another scalar, or of another length, cannot match.
struct WholeText {
    FirstScalars allowed;
    std::uint32_t minScalars = 0;
    std::uint32_t maxScalars = 0;  // kUnboundedScalars for no limit
};
inline constexpr std::uint32_t kUnboundedScalars = UINT32_MAX;

// Scalars of which every match holds at least `count`.
struct RequiredScalars {
    FirstScalars set;
    std::uint32_t count = 1;
};

// A pattern that is one greedy class repeated at least `min` times, perhaps
// anchored at either end ("[бвгд]{5,}", "^[бвгд]{4,}$"): searched by counting
// the runs of class members instead of by the machine.
struct ClassRun {
    std::uint32_t classIndex = 0;
    std::uint32_t min = 1;
    bool atStart = false;
    bool atEnd = false;
};

// A pattern that is a fixed row of single scalars, literals or classes,
// perhaps anchored at either end ("[кК][фФ]", "ъ$", "q[^u]"), or an
// alternation of such rows ("[a-z][A-Z]|[а-я][А-Я]"): it cannot backtrack,
// so it is searched by comparing the text's scalars in place.
struct SequenceItem {
    bool isClass = false;
    std::uint32_t value = 0;  // the folded literal, or the class index
};
struct Sequence {
    std::vector<SequenceItem> items;  // at least one
    bool atStart = false;
    bool atEnd = false;
};

// The full membership test (ranges hold folded scalars when case-insensitive).
bool classMatches(const CharClass& cls, char32_t scalar, char32_t folded);

}  // namespace quillom::regex::detail

namespace quillom::regex {

struct Regex::Program {
    std::string pattern;
    bool caseInsensitive = false;
    std::vector<detail::Inst> code;
    std::vector<detail::CharClass> classes;  // ranges lower-cased when case-insensitive
    std::uint32_t registers = 0;
    bool anchoredAtStart = false;  // every match starts at position 0
    // The scalars a match can begin with, for a pattern whose every match
    // consumes at least one: searching skips every other start position.
    std::optional<detail::FirstScalars> first;
    // A text with fewer of these scalars cannot match.
    std::optional<detail::RequiredScalars> required;
    std::optional<detail::WholeText> wholeText;
    std::optional<detail::ClassRun> classRun;
    std::vector<detail::Sequence> sequences;  // the alternatives; empty when not such a pattern
};

namespace detail {

// Nothing when the program would exceed the size limit.
std::optional<Regex::Program> compileAst(const Ast& ast, bool caseInsensitive);

bool searchProgram(const Regex::Program& program, std::string_view utf8);
bool searchProgram(const Regex::Program& program, std::u32string_view text);
// subject: what Subject noted of utf8.
bool searchProgram(const Regex::Program& program, std::string_view utf8, const SubjectFacts& subject);

}  // namespace detail
}  // namespace quillom::regex
