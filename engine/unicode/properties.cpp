// Character classification and simple case mapping. ASCII and the Cyrillic
// block are answered without a search: every typed word goes through here.
#include <algorithm>
#include <array>

#include "unicode/unicode.h"
#include "unicode/unicode_tables.h"

namespace quillom::unicode {
namespace detail {
namespace {

// The range holding cp, or nullptr.
template <typename Range>
const Range* findRange(std::span<const Range> ranges, char32_t cp) {
    auto it = std::upper_bound(ranges.begin(), ranges.end(), cp,
                               [](char32_t value, const Range& r) { return value < r.first; });
    if (it == ranges.begin()) return nullptr;
    --it;
    return cp - it->first <= it->span ? &*it : nullptr;
}

bool inCyrillicBlock(char32_t cp) { return cp >= kCyrillicFirst && cp <= kCyrillicLast; }

Category asciiCategory(char32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return Category::Upper;
    if (cp >= 'a' && cp <= 'z') return Category::Letter;
    if (cp >= '0' && cp <= '9') return Category::Digit;
    return Category::Other;
}

char32_t mapCase(char32_t cp, std::span<const CaseRange> ranges, const std::int16_t* cyrillicDelta) {
    if (inCyrillicBlock(cp)) return cp + cyrillicDelta[cp - kCyrillicFirst];
    const CaseRange* r = findRange(ranges, cp);
    if (r == nullptr || (cp - r->first) % r->stride != 0) return cp;
    return static_cast<char32_t>(static_cast<std::int32_t>(cp) + r->delta);
}

}  // namespace

Category category(char32_t cp) {
    if (cp < 0x80) return asciiCategory(cp);
    if (inCyrillicBlock(cp)) return static_cast<Category>(kCyrillicInfo[cp - kCyrillicFirst] & 0x7);
    const PropertyRange* r = findRange(kCategoryRanges, cp);
    return r == nullptr ? Category::Other : static_cast<Category>(r->value);
}

GraphemeProperty graphemeProperty(char32_t cp) {
    if (cp < 0x80) {
        if (cp >= 0x20 && cp != 0x7F) return GraphemeProperty::Other;
        if (cp == '\r') return GraphemeProperty::CR;
        if (cp == '\n') return GraphemeProperty::LF;
        return GraphemeProperty::Control;
    }
    if (inCyrillicBlock(cp)) {
        return static_cast<GraphemeProperty>(kCyrillicInfo[cp - kCyrillicFirst] >> 3);
    }
    constexpr char32_t kHangulFirst = 0xAC00;
    constexpr char32_t kHangulLast = 0xD7A3;
    constexpr char32_t kHangulTrailingCount = 28;
    if (cp >= kHangulFirst && cp <= kHangulLast) {
        return (cp - kHangulFirst) % kHangulTrailingCount == 0 ? GraphemeProperty::LV : GraphemeProperty::LVT;
    }
    const PropertyRange* r = findRange(kGraphemeRanges, cp);
    return r == nullptr ? GraphemeProperty::Other : static_cast<GraphemeProperty>(r->value);
}

}  // namespace detail

using detail::Category;

std::array<std::uint8_t, 0x800> detail::buildSmallScalarFlags() {
    std::array<std::uint8_t, 0x800> out{};
    for (char32_t cp = 0; cp < out.size(); ++cp)
        out[cp] = static_cast<std::uint8_t>((isLetter(cp) ? kLetterFlag : 0) | (isUpper(cp) ? kUpperFlag : 0) |
                                            (isNumeric(cp) ? kNumericFlag : 0));
    return out;
}

bool isLetter(char32_t cp) {
    const Category c = detail::category(cp);
    return c == Category::Upper || c == Category::Letter;
}

bool isUpper(char32_t cp) { return detail::category(cp) == Category::Upper; }

bool isNumeric(char32_t cp) {
    const Category c = detail::category(cp);
    return c == Category::Digit || c == Category::Number;
}

bool isDigit(char32_t cp) { return detail::category(cp) == Category::Digit; }

bool isWhitespace(char32_t cp) {
    if (cp < 0x80) return cp == ' ' || (cp >= '\t' && cp <= '\r');
    return detail::findRange(detail::kWhiteSpaceRanges, cp) != nullptr;
}

char32_t toLower(char32_t cp) {
    if (cp < 0x80) return cp >= 'A' && cp <= 'Z' ? cp + 0x20 : cp;
    return detail::mapCase(cp, detail::kLowerRanges, detail::kCyrillicLowerDelta);
}

char32_t toUpper(char32_t cp) {
    if (cp < 0x80) return cp >= 'a' && cp <= 'z' ? cp - 0x20 : cp;
    return detail::mapCase(cp, detail::kUpperRanges, detail::kCyrillicUpperDelta);
}

char32_t lastCaseMappedScalar() {
    const auto end = [](const detail::CaseRange& r) { return r.first + r.span; };
    return std::max(end(detail::kLowerRanges.back()), end(detail::kUpperRanges.back()));
}

namespace {

template <typename Map>
std::string mapString(std::string_view utf8, Map map) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) appendUtf8(out, map(decodeScalar(utf8, pos)));
    return out;
}

}  // namespace

std::string toLower(std::string_view utf8) {
    return mapString(utf8, [](char32_t cp) { return toLower(cp); });
}

std::string toUpper(std::string_view utf8) {
    return mapString(utf8, [](char32_t cp) { return toUpper(cp); });
}

}  // namespace quillom::unicode
