#include "tray/interface_strings.h"
#include "ui/control_ids.h"
#include "ui/settings_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace quillom::ui;

namespace {

const std::vector<Page> kAllPages = settingsPages(true);

TEST(SettingsLayout, TabsInOrderWithDebugOnlyOnDeveloperMachines) {
    EXPECT_EQ(settingsPages(false).size(), 8u);
    ASSERT_EQ(kAllPages.size(), 9u);
    EXPECT_EQ(kAllPages.back(), Page::Debug);
    const std::vector<std::u16string> titles{u"General",   u"Sound",         u"Hotkeys",  u"Dictionary", u"Auto Rules",
                                             u"Languages", u"Excluded Apps", u"Feedback", u"Debug"};
    for (size_t i = 0; i < kAllPages.size(); ++i)
        EXPECT_EQ(quillom::tray::textIn("en", pageTitle(kAllPages[i])), titles[i]);
}

TEST(SettingsLayout, EveryControlFitsItsPageAndNothingOverlaps) {
    for (Page page : kAllPages) {
        const std::vector<ControlSpec> controls = pageLayout(page);
        ASSERT_FALSE(controls.empty());
        for (size_t i = 0; i < controls.size(); ++i) {
            const Box& a = controls[i].box;
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.width > 0 && a.height > 0 && a.right() <= kPageWidth &&
                        a.bottom() <= kPageHeight)
                << "page " << int(page) << " control " << i;
            for (size_t j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(overlap(a, controls[j].box)) << "page " << int(page) << " controls " << i << ", " << j;
        }
    }
}

TEST(SettingsLayout, EachIdentifiedControlIsOnItsTabOnce) {
    const std::map<Page, std::set<int>> expected{
        {Page::General, {1001, 1002, 1003, 1004, 1005, 1006, 1007}},
        {Page::Sound, {1090, 1091, 1092}},
        {Page::Hotkeys, {1050, 1051, 1053, 1054, 1055, 1056}},
        {Page::Dictionary, {1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1040, 1041, 1042, 1043, 1044}},
        {Page::AutoRules, {1080, 1081, 1082}},
        {Page::Languages, {1010, 1011, 1012}},
        {Page::ExcludedApps, {1020, 1021, 1023, 1024}},
        {Page::Feedback, {1060, 1061, 1062, 1063, 1064}},
        {Page::Debug, {1070, 1071, 1072, 1073, 1074}},
    };
    std::multiset<int> seen;
    for (Page page : kAllPages) {
        std::set<int> ids;
        for (const ControlSpec& c : pageLayout(page))
            if (c.id != ctrl::None) {
                ids.insert(c.id);
                seen.insert(c.id);
            }
        EXPECT_EQ(ids, expected.at(page)) << int(page);
    }
    for (int id : seen) EXPECT_EQ(seen.count(id), 1u) << id;
}

TEST(SettingsLayout, TextsExistAndListColumnsFitTheirLists) {
    for (Page page : kAllPages) {
        for (const ControlSpec& c : pageLayout(page)) {
            if (c.textId) {
                EXPECT_FALSE(quillom::tray::textIn("en", *c.textId).empty()) << int(*c.textId);
            }
            if (c.kind == ControlKind::ListView) {
                const std::vector<ListColumn> columns = listColumns(c.id);
                ASSERT_FALSE(columns.empty()) << c.id;
                int width = 0;
                for (const ListColumn& column : columns) width += column.width;
                // Room for the border and a vertical scroll bar.
                EXPECT_LE(width, c.box.width - 6) << c.id;
            }
        }
    }
}

TEST(SettingsWindowPlacement, ScaleFitsTheWorkArea) {
    const struct {
        int dpi;
        Box work;
        int expected;
    } cases[] = {
        {96, {0, 0, 1920, 1040}, 96},  {144, {0, 0, 1920, 1040}, 144},  // 150 %: 840 pixels fit
        {144, {0, 0, 1366, 728}, 124},                              // 150 % on a small screen: 560 units in 728 pixels
        {192, {0, 0, 1280, 680}, 116}, {96, {0, 0, 100, 100}, 48},  // never below half size
    };
    for (const auto& c : cases) {
        const int dpi = fittingDpi(c.dpi, c.work);
        EXPECT_EQ(dpi, c.expected) << c.dpi << " " << c.work.width << "x" << c.work.height;
        if (dpi > 48) {
            EXPECT_LE(kSettingsWindowSize * dpi / 96, c.work.height);
        }
    }
}

TEST(SettingsWindowPlacement, WindowStaysInsideTheWorkArea) {
    const Box work{0, 40, 1366, 728};  // taskbar at the top
    const Box centred = placeInWorkArea(work, 560, 560);
    EXPECT_EQ(centred.x, 403);
    EXPECT_EQ(centred.y, 40 + 84);
    // Larger than the work area: the caption (top-left) stays inside it.
    const Box large = placeInWorkArea(work, 900, 840);
    EXPECT_EQ(large.x, 233);
    EXPECT_EQ(large.y, 40);
    // A suggested box after a DPI change, half off a second monitor's work area.
    const Box second{1920, 0, 1280, 984};
    const Box moved = keepInWorkArea(second, {3000, -30, 560, 560});
    EXPECT_EQ(moved.x, 1920 + 1280 - 560);
    EXPECT_EQ(moved.y, 0);
    EXPECT_EQ(moved.width, 560);
}

}  // namespace
