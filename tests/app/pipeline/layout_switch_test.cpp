#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/layout_switch.h"

namespace quillom::pipeline::testing {
namespace {

TEST(LayoutSwitch, TargetFromLanguageOrScript) {
    struct Case {
        const char* lang;
        std::u16string text;
        std::optional<uint16_t> expected;
    } cases[] = {
        {"ru", u"hello", lang::Russian}, {"uk", u"", lang::Ukrainian}, {"en", u"привет", lang::English},
        {"", u"привет", lang::Russian},  {"", u"їжак", lang::Russian}, {"", u"hello", lang::English},
        {"", u"12345", std::nullopt},    {"de", u"", std::nullopt},    {"RU", u"x", lang::English},
        {"", u"\u0500", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(switchTarget(c.lang, c.text), c.expected) << c.lang;
}

TEST(LayoutSwitch, FirstLayoutOfTheLanguageInListOrder) {
    const std::vector<LayoutId> layouts{0x04090409, 0xF0A80422, 0x04220422, 0x04190419};
    EXPECT_EQ(firstLayoutOf(layouts, lang::Ukrainian), LayoutId(0xF0A80422));
    EXPECT_EQ(firstLayoutOf(layouts, lang::Russian), LayoutId(0x04190419));
    EXPECT_EQ(firstLayoutOf(std::vector<LayoutId>{0x04090409}, lang::Russian), std::nullopt);
    // Sublanguages share the primary language: English (UK) counts as English.
    EXPECT_EQ(firstLayoutOf(std::vector<LayoutId>{0x08090809}, lang::English), LayoutId(0x08090809));
}

TEST(LayoutSwitch, PostsToTheFocusedWindowOnlyWhenItNeedsIt) {
    FakeDesktop desktop;
    EXPECT_EQ(switchLayout(desktop, "ru", u"привет"), LayoutId(0x04190419));
    ASSERT_EQ(desktop.layoutRequests.size(), 1u);
    EXPECT_EQ(desktop.layoutRequests[0].first, desktop.focus);

    desktop.layout = 0x0419;
    EXPECT_EQ(switchLayout(desktop, "ru", u"привет"), std::nullopt) << "already Russian";

    desktop.layouts = {0x04090409};
    EXPECT_EQ(switchLayout(desktop, "uk", u"привіт"), std::nullopt) << "no Ukrainian layout installed";

    desktop.focus = 0;
    EXPECT_EQ(switchLayout(desktop, "en", u"hi"), std::nullopt) << "no window";
    EXPECT_EQ(desktop.layoutRequests.size(), 1u);
}

TEST(LayoutSwitch, InputSourceNames) {
    EXPECT_EQ(inputSourceOf(0x0409), "en");
    EXPECT_EQ(inputSourceOf(0x0809), "en");
    EXPECT_EQ(inputSourceOf(0x0419), "ru");
    EXPECT_EQ(inputSourceOf(0x0422), "uk");
    EXPECT_EQ(inputSourceOf(0x0407), "");
}

}  // namespace
}  // namespace quillom::pipeline::testing
