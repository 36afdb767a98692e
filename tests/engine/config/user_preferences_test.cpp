#include <gtest/gtest.h>

#include "config/file_bytes.h"
#include "config/user_preferences.h"

#include <filesystem>
#include <fstream>

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
    const auto p =
        UserPreferences::fromJsonText(R"({"protect_endings_after_delete": "yes", "uppercase_only_exact_pairs": 1})");
    EXPECT_TRUE(p.protectEndingsAfterDelete);
    EXPECT_FALSE(p.uppercaseOnlyExactPairs);
    const auto q =
        UserPreferences::fromJsonText(R"({"protect_endings_after_delete": false, "uppercase_only_exact_pairs": true})");
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

// Editors that write a byte-order mark must not cost the user every setting; the text
// itself (fromJsonText) stays strict, the file reader drops the mark.
TEST(UserPreferences, FileWithByteOrderMarkLoads) {
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "quillom-bom-prefs.json";
    {
        std::ofstream out(path, std::ios::binary);
        out << "\xEF\xBB\xBF"
            << R"({"active_languages": ["ru"], "protect_endings_after_delete": false})";
    }
    const auto p = UserPreferences::load(path.string());
    std::filesystem::remove(path);
    EXPECT_EQ(p.activeLanguages, (Langs{"en", "ru"}));
    EXPECT_FALSE(p.protectEndingsAfterDelete);
}

TEST(ConfigText, OversizedFilesAreNotRead) {
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "quillom-big-config.json";
    {
        std::ofstream out(path, std::ios::binary);
        out << "{}";
    }
    std::filesystem::resize_file(path, kMaxConfigFileBytes + 1);  // sparse
    EXPECT_FALSE(readConfigText(path.string()).has_value());
    std::filesystem::resize_file(path, 2);
    EXPECT_EQ(readConfigText(path.string()), "{}");
    std::filesystem::remove(path);
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
