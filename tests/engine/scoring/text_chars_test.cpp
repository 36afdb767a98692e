#include "scoring/text_chars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scoring/language_index.h"

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
        if (!c.listed.empty()) EXPECT_EQ(listed.front(), c.listed.front());
    }
}

}  // namespace
}  // namespace quillom::scoring
