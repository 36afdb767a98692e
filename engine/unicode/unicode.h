// Unicode support of the engine: UTF-8 coding, character classification,
// case mapping and extended grapheme clusters, from tables generated out of
// the Unicode Character Database (no C locale, no ICU).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::unicode {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the scalar at byte offset pos (pos < text.size()) and moves pos past
// it. An invalid or truncated sequence gives U+FFFD and moves pos past its
// maximal ill-formed part (at least one byte), so a loop always advances.
namespace detail {
char32_t decodeMultiByte(std::string_view text, std::size_t& pos);  // decodeScalar past ASCII
}
inline char32_t decodeScalar(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    // Two bytes (Latin, Greek, Cyrillic letters), well formed.
    if (lead >= 0xC2 && lead <= 0xDF && pos + 1 < text.size()) {
        const auto trail = static_cast<unsigned char>(text[pos + 1]);
        if ((trail & 0xC0) == 0x80) {
            pos += 2;
            return (char32_t{lead & 0x1Fu} << 6) | (trail & 0x3Fu);
        }
    }
    return detail::decodeMultiByte(text, pos);
}

// Decodes UTF-8; every invalid or truncated sequence becomes U+FFFD.
std::u32string decodeUtf8(std::string_view text);
void appendUtf8(std::string& out, char32_t cp);
// Writes the UTF-8 bytes of cp (U+FFFD for a surrogate or a value past
// U+10FFFF) to out and returns their count, 1 to 4.
namespace detail {
std::size_t encodeMultiByte(char32_t cp, char* out);  // encodeScalar from U+0800 on
}
inline std::size_t encodeScalar(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    return detail::encodeMultiByte(cp, out);
}
// True when decoding the text replaces nothing.
bool isValidUtf8(std::string_view text);
std::string encodeUtf8(std::u32string_view text);
// The same text with every invalid sequence replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view text);

// General-category tests on one scalar value.
bool isLetter(char32_t cp);   // L*
bool isUpper(char32_t cp);    // Lu, Lt
bool isNumeric(char32_t cp);  // Nd, Nl, No
bool isDigit(char32_t cp);    // Nd
bool isWhitespace(char32_t cp);
// Simple (one-to-one) case mappings.
char32_t toLower(char32_t cp);
char32_t toUpper(char32_t cp);

// No scalar above this one has a simple case mapping (bounds enumerations).
char32_t lastCaseMappedScalar();

std::string toLower(std::string_view utf8);
std::string toUpper(std::string_view utf8);

std::size_t graphemeCount(std::string_view utf8);
// Byte offset where the cluster starting at byte offset start ends; iterating
// with it allocates nothing. Returns utf8.size() at the end of the text.
namespace detail {
std::size_t nextGraphemeBreakSlow(std::string_view utf8, std::size_t start);  // the full rules
}
inline std::size_t nextGraphemeBreak(std::string_view utf8, std::size_t start) {
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
    return detail::nextGraphemeBreakSlow(utf8, start);
}

// The extended grapheme clusters ("characters") of UTF-8 text, segmented as
// the range is walked (nothing allocated); each views a slice of the input.
class GraphemeRange {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        iterator() = default;
        iterator(std::string_view text, std::size_t pos)
            : text_(text), pos_(pos), end_(pos < text.size() ? nextGraphemeBreak(text, pos) : pos) {}
        std::string_view operator*() const { return text_.substr(pos_, end_ - pos_); }
        iterator& operator++() {
            *this = iterator(text_, end_);
            return *this;
        }
        iterator operator++(int) {
            iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const iterator& o) const { return pos_ == o.pos_; }

    private:
        std::string_view text_;
        std::size_t pos_ = 0, end_ = 0;
    };

    explicit GraphemeRange(std::string_view text) : text_(text) {}
    iterator begin() const { return {text_, 0}; }
    iterator end() const { return {text_, text_.size()}; }
    bool empty() const { return text_.empty(); }
    std::string_view front() const { return *begin(); }  // the range must not be empty

private:
    std::string_view text_;
};

inline GraphemeRange graphemes(std::string_view utf8) { return GraphemeRange(utf8); }
// The same clusters as a list, for indexing.
std::vector<std::string_view> graphemeList(std::string_view utf8);

// Properties of a character (a grapheme cluster) are those of its first scalar.
char32_t firstScalar(std::string_view character);

namespace detail {
// isLetter, isUpper and isNumeric of every scalar below U+0800 (Latin, Greek,
// Cyrillic: nearly every typed character) as bit flags, one byte per scalar.
enum : std::uint8_t { kLetterFlag = 1, kUpperFlag = 2, kNumericFlag = 4 };
std::array<std::uint8_t, 0x800> buildSmallScalarFlags();
// Inline, so that a lookup costs the test of the table's guard, not a call.
inline const std::uint8_t* smallScalarFlags() {
    static const std::array<std::uint8_t, 0x800> flags = buildSmallScalarFlags();
    return flags.data();
}
// The scalar of a character that is one well-formed two-byte sequence.
inline bool twoByteScalar(std::string_view character, char32_t& scalar) {
    if (character.size() != 2) return false;
    const auto lead = static_cast<unsigned char>(character[0]);
    const auto trail = static_cast<unsigned char>(character[1]);
    if (lead < 0xC2 || lead > 0xDF || (trail & 0xC0) != 0x80) return false;
    scalar = (char32_t{lead & 0x1Fu} << 6) | (trail & 0x3Fu);
    return true;
}
inline bool twoByteFlag(std::string_view character, std::uint8_t flag, bool& result) {
    char32_t scalar = 0;
    if (!twoByteScalar(character, scalar)) return false;
    result = (smallScalarFlags()[scalar] & flag) != 0;
    return true;
}
}  // namespace detail

// ASCII and two-byte characters are answered here: every typed character is asked about.
inline bool isLetterChar(std::string_view character) {
    if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80)
        return (character[0] >= 'a' && character[0] <= 'z') || (character[0] >= 'A' && character[0] <= 'Z');
    bool result = false;
    if (detail::twoByteFlag(character, detail::kLetterFlag, result)) return result;
    return isLetter(firstScalar(character));
}
inline bool isUpperChar(std::string_view character) {
    if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80)
        return character[0] >= 'A' && character[0] <= 'Z';
    bool result = false;
    if (detail::twoByteFlag(character, detail::kUpperFlag, result)) return result;
    return isUpper(firstScalar(character));
}
inline bool isNumericChar(std::string_view character) {
    if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80)
        return character[0] >= '0' && character[0] <= '9';
    bool result = false;
    if (detail::twoByteFlag(character, detail::kNumericFlag, result)) return result;
    return isNumeric(firstScalar(character));
}
// Upper/lower-casing a character takes the first character of the mapped string.
std::string upperChar(std::string_view character);
std::string lowerChar(std::string_view character);

}  // namespace quillom::unicode
