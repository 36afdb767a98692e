#include "tray/interface_strings.h"
#include "tray/update_notice.h"

#include <gtest/gtest.h>

namespace quillom::tray {
namespace {

TEST(UpdateNotice, NewestVersionOfAnAppcast) {
    const struct {
        const char* what;
        std::string appcast, newest;
    } cases[] = {
        {"attributes, not in order",
         R"(<rss><channel><item><enclosure url="a" sparkle:version="1.1.9" /></item>)"
         R"(<item><enclosure url="b" sparkle:version="1.1.10" /></item>)"
         R"(<item><enclosure url="c" sparkle:version="1.1.2" /></item></channel></rss>)",
         "1.1.10"},
        {"elements", "<item><sparkle:version>2.0</sparkle:version></item>", "2.0"},
        {"nothing usable", R"(<item sparkle:version=""><sparkle:version>beta</sparkle:version></item>)", ""},
        {"unterminated", R"(<item sparkle:version="3.1)", ""},
        {"not an appcast", "<html>Service unavailable</html>", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(newestVersionIn(c.appcast), c.newest) << c.what;
}

TEST(UpdateNotice, VersionsCompareByNumberPartByPart) {
    const struct {
        const char *candidate, *current;
        bool newer;
    } cases[] = {{"1.1.33", "1.1.32", true}, {"1.10", "1.9", true},    {"1.1.32", "1.1.32", false},
                 {"1.1", "1.1.0", false},    {"1.1.0.1", "1.1", true}, {"0.9", "1.1.32", false}};
    for (const auto& c : cases) EXPECT_EQ(isNewerVersion(c.candidate, c.current), c.newer) << c.candidate << c.current;
}

// Only a newer version is worth a message of its own; a check the user asked for always answers.
TEST(UpdateNotice, WhatTheUserIsTold) {
    setInterfaceLanguage("en");
    const std::string newer = R"(<enclosure sparkle:version="1.2.0"/>)",
                      same = R"(<enclosure sparkle:version="1.1.32"/>)";
    EXPECT_EQ(updateNotice(newer, "1.1.32", false),
              u"Quillom 1.2.0 is available. To upgrade this portable copy, unpack the new zip over its folder.");
    EXPECT_EQ(updateNotice(newer, "1.1.32", true), updateNotice(newer, "1.1.32", false));
    EXPECT_EQ(updateNotice(same, "1.1.32", false), std::nullopt);
    EXPECT_EQ(updateNotice(same, "1.1.32", true), u"Quillom 1.1.32 is the newest version.");
    EXPECT_EQ(updateNotice(std::nullopt, "1.1.32", false), std::nullopt);
    EXPECT_EQ(updateNotice(std::nullopt, "1.1.32", true), text(TextId::UpdateCheckFailed));
}

}  // namespace
}  // namespace quillom::tray
