#include <gtest/gtest.h>

#include <string>

#include "unicode/unicode.h"

namespace {

using namespace quillom::unicode;

constexpr char32_t R = kReplacement;

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u32string scalars;
};

const DecodeCase kDecodeCases[] = {
    {"ascii", "ab", U"ab"},
    {"two byte", "\xD2\x91", U"\u0491"},
    {"three byte", "\xE2\x82\xAC", U"\u20AC"},
    {"four byte", "\xF0\x9F\x98\x80", U"\U0001F600"},
    {"lone continuation", "\x80", {R}},
    {"invalid lead bytes", "\xFF\xFE", {R, R}},
    {"overlong two byte", "\xC0\xAF", {R, R}},
    {"overlong three byte", "\xE0\x80\xAF", {R, R, R}},
    {"overlong four byte", "\xF0\x8F\xBF\xBF", {R, R, R, R}},
    {"surrogate", "\xED\xA0\x80", {R, R, R}},
    {"above U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
    {"truncated three byte at end", "\xE2\x82", {R}},
    {"truncated four byte at end", "\xF0\x9F\x98", {R}},
    {"truncated sequence mid text",
     "a\xE2\x82"
     "b",
     {U'a', R, U'b'}},
    {"lead followed by lead", "\xD0\xD0\xB0", {R, U'\u0430'}},
    {"NUL is a character", std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
    {"well-formed U+FFFD", "\xEF\xBF\xBD", {R}},
};

TEST(Utf8Test, DecodesAndReplacesEachMaximalIllFormedPart) {
    for (const auto& c : kDecodeCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeUtf8(c.bytes), c.scalars);
        EXPECT_EQ(sanitizeUtf8(c.bytes), encodeUtf8(c.scalars));
        EXPECT_EQ(decodeUtf8(sanitizeUtf8(c.bytes)), c.scalars);
    }
}

// Valid text is exactly the text that sanitising leaves as it is.
TEST(Utf8Test, ValidTextIsTheTextSanitisingKeeps) {
    std::size_t valid = 0;
    for (const auto& c : kDecodeCases) {
        SCOPED_TRACE(c.name);
        const bool kept = sanitizeUtf8(c.bytes) == c.bytes;
        EXPECT_EQ(isValidUtf8(c.bytes), kept);
        valid += kept;
    }
    EXPECT_GT(valid, 2u);  // the table holds both kinds
    EXPECT_LT(valid, std::size(kDecodeCases));
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_FALSE(isValidUtf8("\xD0\xBF\xD1"));  // the last letter cut short
}

TEST(Utf8Test, EncodesOneScalar) {
    const struct {
        char32_t scalar;
        std::string bytes;
    } cases[] = {
        {U'a', "a"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {U'\u0491', "\xD2\x91"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {U'\u20AC', "\xE2\x82\xAC"},
        {U'\U0001F600', "\xF0\x9F\x98\x80"},
        {0xD800, "\xEF\xBF\xBD"},
        {0x110000, "\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        char out[4] = {};
        const std::size_t n = encodeScalar(c.scalar, out);
        EXPECT_EQ(std::string(out, n), c.bytes) << static_cast<unsigned>(c.scalar);
    }
}

TEST(Utf8Test, DecodeScalarAlwaysAdvancesWithinTheText) {
    const std::string text = "\xF0\x9F\x98\xE2\x82\xAC\xC2";
    std::size_t pos = 0;
    std::u32string seen;
    while (pos < text.size()) {
        const std::size_t before = pos;
        seen.push_back(decodeScalar(text, pos));
        ASSERT_GT(pos, before);
        ASSERT_LE(pos, text.size());
    }
    EXPECT_EQ(seen, (std::u32string{R, U'\u20AC', R}));
}

TEST(Utf8Test, EncodingReplacesValuesThatAreNotScalars) {
    EXPECT_EQ(encodeUtf8(U"\u0491\U0001F600"), "\xD2\x91\xF0\x9F\x98\x80");
    std::string out;
    appendUtf8(out, 0xD800);
    appendUtf8(out, 0x110000);
    appendUtf8(out, 0x10FFFF);
    EXPECT_EQ(out, "\xEF\xBF\xBD\xEF\xBF\xBD\xF4\x8F\xBF\xBF");
}

}  // namespace
