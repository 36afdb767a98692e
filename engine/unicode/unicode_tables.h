// Compact Unicode property tables (generated into unicode_tables.cpp) and
// their lookups. Internal to engine/unicode.
#pragma once

#include <cstdint>
#include <span>

namespace quillom::unicode::detail {

// Values must match CATEGORY in tools/unicodegen/gen_unicode_tables.py.
enum class Category : std::uint8_t { Other, Upper, Letter, Digit, Number };

// Values must match GRAPHEME in tools/unicodegen/gen_unicode_tables.py.
enum class GraphemeProperty : std::uint8_t {
    Other,
    CR,
    LF,
    Control,
    Extend,
    ZWJ,
    RegionalIndicator,
    Prepend,
    SpacingMark,
    L,
    V,
    T,
    LV,
    LVT,
    ExtendedPictographic,
};

// Scalars first..first+span share value.
struct PropertyRange {
    char32_t first;
    std::uint16_t span;
    std::uint8_t value;
};

// Every stride-th scalar of first..first+span maps to itself + delta.
struct CaseRange {
    char32_t first;
    std::uint16_t span;
    std::uint8_t stride;
    std::int32_t delta;
};

// Sorted by first; ASCII and the Cyrillic block U+0400..U+04FF are left out
// (white space leaves out ASCII only).
extern const std::span<const PropertyRange> kCategoryRanges;
extern const std::span<const PropertyRange> kGraphemeRanges;
extern const std::span<const PropertyRange> kWhiteSpaceRanges;
extern const std::span<const CaseRange> kLowerRanges;
extern const std::span<const CaseRange> kUpperRanges;

// U+0400..U+04FF: category in bits 0-2, grapheme property in bits 3-6.
extern const std::uint8_t kCyrillicInfo[256];
extern const std::int16_t kCyrillicLowerDelta[256];
extern const std::int16_t kCyrillicUpperDelta[256];

inline constexpr char32_t kCyrillicFirst = 0x0400;
inline constexpr char32_t kCyrillicLast = 0x04FF;

Category category(char32_t cp);
GraphemeProperty graphemeProperty(char32_t cp);

}  // namespace quillom::unicode::detail
