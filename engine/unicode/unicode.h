// Unicode support of the engine: UTF-8 coding, character classification,
// case mapping and extended grapheme clusters, from tables generated out of
// the Unicode Character Database (no C locale, no ICU).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::unicode {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the scalar at byte offset pos (pos < text.size()) and moves pos past
// it. An invalid or truncated sequence gives U+FFFD and moves pos past its
// maximal ill-formed part (at least one byte), so a loop always advances.
char32_t decodeScalar(std::string_view text, std::size_t& pos);

// Decodes UTF-8; every invalid or truncated sequence becomes U+FFFD.
std::u32string decodeUtf8(std::string_view text);
void appendUtf8(std::string& out, char32_t cp);
std::string encodeUtf8(std::u32string_view text);
// The same text with every invalid sequence replaced by U+FFFD.
std::string sanitizeUtf8(std::string_view text);

// General-category tests on one scalar value.
bool isLetter(char32_t cp);    // L*
bool isUpper(char32_t cp);     // Lu, Lt
bool isNumeric(char32_t cp);   // Nd, Nl, No
bool isDigit(char32_t cp);     // Nd
bool isWhitespace(char32_t cp);
// Simple (one-to-one) case mappings.
char32_t toLower(char32_t cp);
char32_t toUpper(char32_t cp);

// No scalar above this one has a simple case mapping (bounds enumerations).
char32_t lastCaseMappedScalar();

std::string toLower(std::string_view utf8);
std::string toUpper(std::string_view utf8);

// Extended grapheme clusters ("characters") of valid UTF-8 text.
// Each element views a slice of the input.
std::vector<std::string_view> graphemes(std::string_view utf8);
std::size_t graphemeCount(std::string_view utf8);
// Byte offset where the cluster starting at byte offset start ends; iterating
// with it allocates nothing. Returns utf8.size() at the end of the text.
std::size_t nextGraphemeBreak(std::string_view utf8, std::size_t start);

// Properties of a character (a grapheme cluster) are those of its first scalar.
char32_t firstScalar(std::string_view character);
bool isLetterChar(std::string_view character);
bool isUpperChar(std::string_view character);
bool isNumericChar(std::string_view character);
// Upper/lower-casing a character takes the first character of the mapped string.
std::string upperChar(std::string_view character);
std::string lowerChar(std::string_view character);

}  // namespace quillom::unicode
