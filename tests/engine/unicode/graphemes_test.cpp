#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "unicode/unicode.h"

namespace {

using namespace quillom::unicode;

template <typename Views>
std::vector<std::string> asStrings(const Views& views) {
    return {views.begin(), views.end()};
}

// One line of GraphemeBreakTest.txt: "÷ 0020 × 0308 ÷ # comment".
struct ConformanceLine {
    std::string text;
    std::vector<std::string> clusters;
};

ConformanceLine parseConformanceLine(const std::string& line) {
    ConformanceLine parsed;
    std::istringstream in(line.substr(0, line.find('#')));
    std::string token;
    std::string cluster;
    while (in >> token) {
        if (token == "\xC3\xB7") {  // ÷
            if (!cluster.empty()) parsed.clusters.push_back(cluster);
            cluster.clear();
        } else if (token != "\xC3\x97") {  // ×
            std::string encoded;
            appendUtf8(encoded, static_cast<char32_t>(std::stoul(token, nullptr, 16)));
            cluster += encoded;
            parsed.text += encoded;
        }
    }
    return parsed;
}

TEST(GraphemesTest, PassesTheUnicodeConformanceFile) {
    std::ifstream file(QUILLOM_GRAPHEME_BREAK_TEST);
    if (!file) GTEST_SKIP() << "no " << QUILLOM_GRAPHEME_BREAK_TEST;
    std::size_t cases = 0;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        const ConformanceLine c = parseConformanceLine(line);
        SCOPED_TRACE(line);
        EXPECT_EQ(asStrings(graphemes(c.text)), c.clusters);
        EXPECT_EQ(graphemeCount(c.text), c.clusters.size());
        ++cases;
    }
    EXPECT_GT(cases, 500u);
}

struct SegmentCase {
    const char* name;
    std::string text;
    std::vector<std::string> clusters;
};

const SegmentCase kSegmentCases[] = {
    {"empty", "", {}},
    {"ascii", "ab1", {"a", "b", "1"}},
    {"cyrillic word", "ґанок", {"ґ", "а", "н", "о", "к"}},
    {"combining acute", "e\xCC\x81x", {"e\xCC\x81", "x"}},
    {"cyrillic with combining titlo", "\xD0\xB0\xD2\x83\xD0\xB1", {"\xD0\xB0\xD2\x83", "\xD0\xB1"}},
    {"cyrillic marks U+0483 to U+0489",
     "\xD0\xB0\xD2\x89\xD2\x82\xD2\x8A",
     {"\xD0\xB0\xD2\x89", "\xD2\x82", "\xD2\x8A"}},
    {"latin then cyrillic mark", "a\xD2\x87\xD1\x8F", {"a\xD2\x87", "\xD1\x8F"}},
    {"cyrillic then latin mark",
     "\xD1\x8F"
     "e\xCC\x81",
     {"\xD1\x8F", "e\xCC\x81"}},
    {"cyrillic then a control", "\xD1\x8F\r\n", {"\xD1\x8F", "\r\n"}},
    {"cyrillic lead cut short",
     "\xD0"
     "a\xD0",
     {"\xD0", "a", "\xD0"}},
    {"CR LF", "a\r\nb", {"a", "\r\n", "b"}},
    {"LF CR", "\n\r", {"\n", "\r"}},
    {"flags pair up", "🇺🇦🇷🇺🇺", {"🇺🇦", "🇷🇺", "🇺"}},
    {"emoji ZWJ sequence", "👨‍👩‍👧x", {"👨‍👩‍👧", "x"}},
    {"skin tone modifier", "👍🏽", {"👍🏽"}},
    {"ZWJ without emoji before", "a\xE2\x80\x8D👧", {"a\xE2\x80\x8D", "👧"}},
    {"hangul jamo", "\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xA8", {"\xE1\x84\x80\xE1\x85\xA1\xE1\x86\xA8"}},
    {"invalid byte",
     "a\xFF"
     "b",
     {"a", "\xFF", "b"}},
    {"truncated sequence", "\xE2\x82", {"\xE2\x82"}},
    {"mark after invalid byte", "\xFF\xCC\x81", {"\xFF\xCC\x81"}},
    {"lone continuation bytes", "\x80\x80", {"\x80", "\x80"}},
};

TEST(GraphemesTest, SegmentsIntoViewsOfTheInput) {
    for (const auto& c : kSegmentCases) {
        SCOPED_TRACE(c.name);
        const std::string_view text = c.text;
        const auto views = graphemes(text);
        EXPECT_EQ(asStrings(views), c.clusters);
        EXPECT_EQ(asStrings(graphemeList(text)), c.clusters);
        EXPECT_EQ(graphemeCount(text), c.clusters.size());
        for (const auto view : views) {
            EXPECT_GE(view.data(), text.data());
            EXPECT_LE(view.data() + view.size(), text.data() + text.size());
        }
    }
}

TEST(GraphemesTest, NextBreakStopsAtTheEnd) {
    const std::string text = "ы\xCC\x81";
    EXPECT_EQ(nextGraphemeBreak(text, 0), text.size());
    EXPECT_EQ(nextGraphemeBreak(text, text.size()), text.size());
    EXPECT_EQ(nextGraphemeBreak(text, text.size() + 5), text.size());
}

TEST(GraphemesTest, CharacterHelpersUseTheFirstScalar) {
    EXPECT_EQ(firstScalar("ґx"), U'\u0491');
    EXPECT_EQ(firstScalar(""), 0u);
    EXPECT_TRUE(isLetterChar("ї"));
    EXPECT_TRUE(isLetterChar("e\xCC\x81"));
    EXPECT_FALSE(isLetterChar("'"));
    EXPECT_FALSE(isLetterChar(""));
    EXPECT_TRUE(isUpperChar("Ґ"));
    EXPECT_FALSE(isUpperChar("ґ"));
    EXPECT_TRUE(isNumericChar("7"));
    EXPECT_TRUE(isNumericChar("½"));
    EXPECT_FALSE(isNumericChar("x"));
}

// The one-byte and two-byte characters answered without a search agree with
// the scalar's properties; ill-formed sequences classify as U+FFFD does.
TEST(GraphemesTest, CharacterHelpersAgreeWithTheScalarBelowU0800) {
    std::size_t letters = 0, upper = 0, numeric = 0;
    for (char32_t cp = 0; cp < 0x800; ++cp) {
        char bytes[4];
        const std::string_view c(bytes, encodeScalar(cp, bytes));
        EXPECT_EQ(isLetterChar(c), isLetter(cp)) << std::hex << static_cast<unsigned>(cp);
        EXPECT_EQ(isUpperChar(c), isUpper(cp)) << std::hex << static_cast<unsigned>(cp);
        EXPECT_EQ(isNumericChar(c), isNumeric(cp)) << std::hex << static_cast<unsigned>(cp);
        letters += isLetterChar(c);
        upper += isUpperChar(c);
        numeric += isNumericChar(c);
    }
    EXPECT_GT(letters, 1000u);
    EXPECT_GT(upper, 300u);
    EXPECT_GT(numeric, 20u);
    for (std::string_view c : {"\xC1\x81", "\xD0", "\xD0\x41", "\xC0\xB0"}) {
        EXPECT_EQ(isLetterChar(c), isLetter(firstScalar(c))) << c;
        EXPECT_EQ(isNumericChar(c), isNumeric(firstScalar(c))) << c;
    }
}

TEST(GraphemesTest, CasesACharacterToOneCharacter) {
    EXPECT_EQ(upperChar("ґ"), "Ґ");
    EXPECT_EQ(lowerChar("Ё"), "ё");
    EXPECT_EQ(upperChar("e\xCC\x81"), "E\xCC\x81");
    EXPECT_EQ(lowerChar("\xC4\xB0"), "i");  // İ
    EXPECT_EQ(upperChar("ab"), "A");
    EXPECT_EQ(upperChar("'"), "'");
    EXPECT_EQ(upperChar(""), "");
}

}  // namespace
