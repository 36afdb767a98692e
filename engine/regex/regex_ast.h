// Parsed form of a pattern; turned into a program by regex_compiler.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillom::regex::detail {

struct ScalarRange {
    char32_t first;
    char32_t last;
};

// The escapes \d \w \s; each may appear negated (\D \W \S).
enum PredefinedSet : std::uint8_t {
    kDigitSet = 1,
    kWordSet = 2,
    kSpaceSet = 4,
};

struct CharClass {
    std::vector<ScalarRange> ranges;  // sorted, disjoint, not adjacent
    std::uint8_t sets = 0;            // PredefinedSet bits
    std::uint8_t negatedSets = 0;     // PredefinedSet bits of \D \W \S
    bool negated = false;
    // Whether ASCII (bits 0-127) and U+0400..U+04FF (bits 128-383) match,
    // filled in by the compiler: the scalars nearly every word consists of.
    std::array<std::uint64_t, 6> hot{};
};

enum class NodeKind : std::uint8_t {
    Empty,
    Char,
    Any,
    Class,
    StartAnchor,
    EndAnchor,
    WordBoundary,
    NotWordBoundary,
    LookAhead,
    NegativeLookAhead,
    Concat,
    Alternation,
    Repeat,
};

inline constexpr int kUnbounded = -1;

struct Node {
    NodeKind kind = NodeKind::Empty;
    char32_t scalar = 0;        // Char
    int classIndex = 0;         // Class
    std::vector<int> children;  // LookAhead*, Concat, Alternation, Repeat (one child)
    int min = 0;                // Repeat
    int max = 0;                // Repeat; kUnbounded for no limit
    bool lazy = false;          // Repeat
};

struct Ast {
    std::vector<Node> nodes;
    std::vector<CharClass> classes;
    int root = 0;
};

// Nothing when the pattern uses syntax outside the dialect or is malformed.
// Literals are kept as written; case folding happens in the compiler.
std::optional<Ast> parse(std::string_view pattern);

// Sorts and merges overlapping or adjacent ranges.
void normalizeRanges(std::vector<ScalarRange>& ranges);

bool isAsciiWord(char32_t cp);
bool isLineTerminator(char32_t cp);
bool inSet(std::uint8_t set, char32_t cp);

}  // namespace quillom::regex::detail
