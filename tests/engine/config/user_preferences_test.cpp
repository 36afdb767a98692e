#include <gtest/gtest.h>

#include "config/user_preferences.h"

namespace quillom {
namespace {

using Langs = std::vector<std::string>;

TEST(UserPreferences, ActiveLanguagesAreNormalised) {
    EXPECT_EQ(UserPreferences::fromJsonText(R"({"active_languages": [" UK", "ru", "uk", "", "EN"]})").activeLanguages,
              (Langs{"en", "uk", "ru"}));
    EXPECT_EQ(UserPreferences::fromJsonText(R"({"active_languages": []})").activeLanguages, Langs{"en"});
    EXPECT_EQ(UserPreferences::fromJsonText(R"({"active_languages": [" RU\n", 5, "ru"]})").activeLanguages,
              (Langs{"en", "ru"}));
    EXPECT_EQ(UserPreferences::fromJsonText(R"({"active_languages": "ru"})").activeLanguages, Langs{"en"});
}

TEST(UserPreferences, WrongTypesKeepDefaults) {
    const auto p = UserPreferences::fromJsonText(
        R"({"protect_endings_after_delete": "yes", "uppercase_only_exact_pairs": 1})");
    EXPECT_TRUE(p.protectEndingsAfterDelete);
    EXPECT_FALSE(p.uppercaseOnlyExactPairs);
    const auto q = UserPreferences::fromJsonText(
        R"({"protect_endings_after_delete": false, "uppercase_only_exact_pairs": true})");
    EXPECT_FALSE(q.protectEndingsAfterDelete);
    EXPECT_TRUE(q.uppercaseOnlyExactPairs);
}

TEST(UserPreferences, UnparsableOrMissingGiveDefaults) {
    for (const char* text : {"[]", "{", "\xEF\xBB\xBF{}", ""}) {
        const auto p = UserPreferences::fromJsonText(text);
        EXPECT_EQ(p.activeLanguages, Langs{"en"}) << text;
        EXPECT_TRUE(p.protectEndingsAfterDelete);
    }
    EXPECT_EQ(UserPreferences::load("/nonexistent/dir/prefs.json").activeLanguages, Langs{"en"});
}

TEST(UserPreferences, ExcludedAppsAreKeyedLowerCase) {
    const auto p = UserPreferences::fromJsonText(R"({"excluded_apps": {
        "Notepad.EXE": {"name": "Notepad", "disable_manual_switching": true}, "game.exe": 3}})");
    ASSERT_EQ(p.excludedApps.size(), 2u);
    EXPECT_EQ(p.excludedApps.at("notepad.exe").name, "Notepad");
    EXPECT_TRUE(p.excludedApps.at("notepad.exe").disableManualSwitching);
    EXPECT_EQ(p.excludedApps.at("game.exe").name, "game.exe");
}

}  // namespace
}  // namespace quillom
