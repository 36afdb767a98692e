#include "scoring/read/text_chars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scoring/score/language_index.h"
#include "scoring_fixture.h"
#include "unicode/unicode.h"

namespace quillom::scoring {
namespace {

// Elements past the inline capacity move to the heap in order, and a copy
// taken before or after the move owns its own elements.
TEST(InlineBuffer, KeepsOrderAcrossTheMoveToTheHeap) {
    InlineBuffer<std::string, 2> buffer;
    std::vector<std::string> expected;
    InlineBuffer<std::string, 2> inlineCopy;
    for (int i = 0; i < 5; ++i) {
        std::string item(20, static_cast<char>('a' + i));  // too long for the string's own storage
        expected.push_back(item);
        buffer.push_back(item);
        if (i == 1) inlineCopy = buffer;
    }
    ASSERT_EQ(buffer.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(buffer.begin(), buffer.end()), expected);
    const std::string more[] = {"x", "y"};
    buffer.append(more, 2);
    EXPECT_EQ(buffer[5], "x");
    EXPECT_EQ(buffer[6], "y");
    EXPECT_EQ(std::vector<std::string>(inlineCopy.begin(), inlineCopy.end()),
              (std::vector<std::string>{expected[0], expected[1]}));
}

// The heap part grows geometrically: a long text moves a few dozen times,
// not once per element (which made a long word cost the square of its length).
TEST(InlineBuffer, MovesLogarithmicallyOftenAsItGrows) {
    for (const bool byAppend : {false, true}) {
        InlineBuffer<char, 96> buffer;
        const char* where = buffer.data();
        int moves = 0;
        for (int i = 0; i < (1 << 20); ++i) {
            const char c = static_cast<char>('a' + i % 26);
            if (byAppend) buffer.append(&c, 1);
            else buffer.push_back(c);
            if (buffer.data() != where) ++moves, where = buffer.data();
        }
        EXPECT_LT(moves, 40) << byAppend;
        EXPECT_EQ(buffer.size(), 1u << 20);
        EXPECT_EQ(buffer[(1 << 20) - 1], static_cast<char>('a' + ((1 << 20) - 1) % 26));
    }
}

TEST(ShortText, HoldsTextLongerThanItsInlineRoom) {
    ShortText text;
    std::string expected;
    for (int i = 0; i < 40; ++i) {
        text.append("ж");
        text.append("a", 1);
        expected += "жa";
    }
    EXPECT_EQ(text.view(), expected);
    EXPECT_EQ(TextChars(text.view()).size(), 80u);
}

TEST(LanguageKeys, ListsTheSetInKeyOrder) {
    const std::vector<std::string> keys = {"en", "ru", "uk"};
    const struct {
        LanguageSet set;
        std::vector<std::string> listed;
    } cases[] = {
        {0b000, {}}, {0b001, {"en"}}, {0b110, {"ru", "uk"}}, {0b101, {"en", "uk"}}, {0b111, {"en", "ru", "uk"}},
    };
    for (const auto& c : cases) {
        const LanguageKeys listed(keys, c.set);
        EXPECT_EQ(std::vector<std::string>(listed.begin(), listed.end()), c.listed) << c.set;
        EXPECT_EQ(listed.size(), c.listed.size());
        EXPECT_EQ(listed.empty(), c.listed.empty());
        if (!c.listed.empty()) {
            EXPECT_EQ(listed.front(), c.listed.front());
        }
    }
}

// Lower-casing in place (same UTF-8 lengths) and character by character (any
// other text) both give each character's lower case, at the same boundaries.
TEST(TextChars, LoweredGivesEachCharactersLowerCase) {
    const std::string words[] = {
        "HeLLo-World",
        "ПРИВЕТ",
        "ҐАНОК їЖАК",
        "ÀÉÎõ",
        "Ǆǅǆ",
        "ΣΑΣ",
        "İstanbul",
        "éÉ",
        "Aÿ"
        "B",
        "Ð"
        "A",
        "KELVIN",
        "x😀Y",
        std::string(60, 'Q') + "ЖЖЖ",
        "",
        "ABCЀӿ",
    };
    for (const std::string& word : words) {
        const TextChars chars(word);
        std::string expected;
        std::vector<std::size_t> sizes;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const std::string lower = unicode::lowerChar(chars[i]);
            expected += lower;
            sizes.push_back(lower.size());
        }
        const TextChars lowered = chars.lowered();
        EXPECT_EQ(lowered.text(), expected) << word;
        ASSERT_EQ(lowered.size(), chars.size()) << word;
        for (std::size_t i = 0; i < lowered.size(); ++i) EXPECT_EQ(lowered[i].size(), sizes[i]) << word << " at " << i;
        EXPECT_EQ(chars.text(), word);  // the original is left as it was
    }
}

// The table answers every pair of hot scalars exactly as the string map does.
TEST(ScalarPairWeights, AgreesWithTheMapOnEveryHotPair) {
    const StringMap<double> bigrams = {
        {"ab", 1.5},
        {"ba", -2.0},
        {"жa", 0.25},
        {"яя", -0.5},
        {"a\xCC\x81", 3.0},
        {"abc", 4.0},
        {"ё", 5.0},
        {"\xFF"
         "a",
         6.0},
        {"a\xE2\x82\xAC", 7.0},
        {"ґ'", 8.0},
        {"\t ", 9.0},
    };
    const ScalarPairWeights table(bigrams);
    const std::u32string scalars = U"abcжяёґ'\t \u0301\u20AC";
    std::size_t found = 0;
    for (char32_t x : scalars) {
        for (char32_t y : scalars) {
            if (!ScalarPairWeights::isHot(x) || !ScalarPairWeights::isHot(y)) continue;
            std::string key;
            unicode::appendUtf8(key, x);
            unicode::appendUtf8(key, y);
            const auto it = bigrams.find(key);
            const double* weight = table.find(x, y);
            ASSERT_EQ(weight != nullptr, it != bigrams.end()) << key;
            if (weight) {
                EXPECT_EQ(*weight, it->second) << key;
                ++found;
            }
        }
    }
    EXPECT_EQ(found, 6u);  // ab, ba, жa, яя, ґ', tab space
    EXPECT_FALSE(ScalarPairWeights::isHot(U'\u0301'));
    EXPECT_EQ(ScalarPairWeights(StringMap<double>{}).find(U'a', U'b'), nullptr);
}

// The index's layout tables hold the configured maps of every direction, and
// nothing for a direction without maps.
TEST(LanguageIndex, LayoutTablesHoldTheConfiguredMaps) {
    const testing::Scoring s(testing::makeConfig());
    const KeyboardLayoutConfig& layout = s.config.keyboardLayout;
    ASSERT_FALSE(layout.maps.empty());
    for (const auto* maps : {&layout.maps, &layout.shiftMaps}) {
        for (const auto& [direction, map] : *maps) {
            const LayoutTables& tables = s.index.layoutTables(direction);
            const CharTable<std::string>& table = maps == &layout.maps ? tables.lower : tables.shift;
            for (const auto& [key, value] : map) {
                ASSERT_NE(table.find(key), nullptr) << direction.from << "->" << direction.to << " " << key;
                EXPECT_EQ(*table.find(key), value);
            }
        }
    }
    const LayoutTables& none = s.index.layoutTables({"en", "de"});
    EXPECT_EQ(none.lower.find("q"), nullptr);
    EXPECT_EQ(none.shift.find("Q"), nullptr);
}

}  // namespace
}  // namespace quillom::scoring
