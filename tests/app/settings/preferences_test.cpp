#include "fake_settings_platform.h"
#include "settings/preferences.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillom::settings;
using quillom::settings::testing::fixture;

namespace {

JsonValue parsedFixture(std::string_view name) {
    JsonValue v;
    EXPECT_TRUE(parseJson(fixture(name), v)) << name;
    return v;
}

struct ReaderCase {
    const char* key;
    std::function<std::string(const JsonValue&)> read;
    std::string fallback;    // missing or of another type
    std::string configured;  // what prefs_user.json holds
};

std::string flag(bool b) { return b ? "true" : "false"; }

const std::vector<ReaderCase>& readerCases() {
    static const std::vector<ReaderCase> cases = {
        {"debug_log", [](const JsonValue& p) { return flag(debugLog(p)); }, "false", "true"},
        {"pause_in_games", [](const JsonValue& p) { return flag(pauseInGames(p)); }, "true", "false"},
        {"protect_endings_after_delete", [](const JsonValue& p) { return flag(protectEndingsAfterDelete(p)); }, "true",
         "false"},
        {"uppercase_only_exact_pairs", [](const JsonValue& p) { return flag(uppercaseOnlyExactPairs(p)); }, "false",
         "true"},
        {"play_sound_on_correction", [](const JsonValue& p) { return flag(playSoundOnCorrection(p)); }, "true",
         "false"},
        {"learning_mode", [](const JsonValue& p) { return flag(learningMode(p)); }, "true", "false"},
        {"backspace_reverts_correction", [](const JsonValue& p) { return flag(backspaceRevertsCorrection(p)); }, "true",
         "false"},
        {"correction_sound", correctionSound, "SystemAsterisk", "SystemHand"},
        {"undo_sound", undoSound, "SystemExclamation", "SystemQuestion"},
        {"ui_language", uiLanguage, "en", "uk"},
        {"update_check_frequency", [](const JsonValue& p) { return updateFrequency(p); }, "1d", "1h"},
    };
    return cases;
}

TEST(Preferences, EveryKeyReadsItsDefaultWhenMissingOrOfAnotherType) {
    const JsonValue empty = JsonValue::makeObject();
    const JsonValue notAnObject(5);
    const JsonValue wrongTypes = parsedFixture("prefs_wrong_types.json");
    const JsonValue user = parsedFixture("prefs_user.json");
    for (const ReaderCase& c : readerCases()) {
        EXPECT_EQ(c.read(empty), c.fallback) << c.key;
        EXPECT_EQ(c.read(notAnObject), c.fallback) << c.key;
        EXPECT_EQ(c.read(wrongTypes), c.fallback) << c.key;
        EXPECT_EQ(c.read(user), c.configured) << c.key;
    }
    EXPECT_EQ(activeLanguages(wrongTypes), std::vector<std::string>{"en"});
    EXPECT_TRUE(excludedApps(wrongTypes).empty());
}

TEST(Preferences, StringValuesAndMigrations) {
    struct Case {
        const char* json;
        std::string ui, frequency;
    };
    const std::vector<Case> cases = {
        {R"({"ui_language":"UK","update_check_frequency":"15m"})", "en", "1h"},
        {R"({"ui_language":"ru","update_check_frequency":"never"})", "ru", "never"},
        {R"({"ui_language":" uk","update_check_frequency":"startup"})", "en", "startup"},
        {R"({"ui_language":"de","update_check_frequency":"weekly"})", "en", "weekly"},
        {R"({"ui_language":"","update_check_frequency":3600})", "en", "1d"},
    };
    for (const Case& c : cases) {
        JsonValue prefs;
        ASSERT_TRUE(parseJson(c.json, prefs));
        EXPECT_EQ(uiLanguage(prefs), c.ui) << c.json;
        EXPECT_EQ(updateFrequency(prefs), c.frequency) << c.json;
    }
}

TEST(Preferences, UiLanguageSetterStoresOnlyKnownCodes) {
    JsonValue prefs;
    for (const auto& [given, stored] : std::vector<std::pair<std::string, std::string>>{
             {"uk", "uk"}, {"ru", "ru"}, {"en", "en"}, {"RU", "en"}, {"", "en"}, {"pl", "en"}}) {
        setUiLanguage(prefs, given);
        EXPECT_EQ(getString(prefs, "ui_language", "?"), stored) << given;
    }
    EXPECT_EQ(prefs.members().size(), 1u);
}

TEST(Preferences, ActiveLanguagesAreNormalised) {
    struct Case {
        const char* json;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {R"({"active_languages":[" RU ", "ru", 5, "en"]})", {"en", "ru"}},
        {R"({"active_languages":["uk","\tRu\r\n",""]})", {"en", "uk", "ru"}},
        {R"({"active_languages":[]})", {"en"}},
        {R"({"active_languages":{"0":"ru"}})", {"en"}},
        {R"({})", {"en"}},
    };
    for (const Case& c : cases) {
        JsonValue prefs;
        ASSERT_TRUE(parseJson(c.json, prefs));
        EXPECT_EQ(activeLanguages(prefs), c.expected) << c.json;
    }
    JsonValue prefs(true);
    setActiveLanguages(prefs, std::vector<std::string>{"UK", "en", "uk"});
    EXPECT_EQ(toJsonText(prefs), "{\n  \"active_languages\": [\n    \"en\",\n    \"uk\"\n  ]\n}\n");
}

TEST(Preferences, ReconcileWithInstalledLayouts) {
    using L = std::vector<std::string>;
    struct Case {
        L configured, installed, expected;
    };
    const std::vector<Case> cases = {
        {{"en", "ru", "uk", "de"}, {"en", "uk", "ru"}, {"en", "ru", "uk"}},
        {{"en"}, {"en", "ru"}, {"en", "ru"}},
        {{"en", "uk", "ru"}, {"en"}, {"en"}},
        {{"en", "uk"}, {"en", "ru", "uk"}, {"en", "uk", "ru"}},
        {{"en"}, {"en", "uk", "ru"}, {"en", "ru", "uk"}},  // new ones in code order
    };
    for (const Case& c : cases) EXPECT_EQ(reconcileLanguages(c.configured, c.installed), c.expected);
}

TEST(Preferences, ExcludedApplications) {
    JsonValue prefs = parsedFixture("prefs_user.json");
    const std::vector<ExcludedApp> listed = excludedApps(prefs);
    const std::vector<ExcludedApp> expected = {
        {"code.exe", "code.exe", "C:\\Apps\\code.exe"},
        {"notepad.exe", "Notepad", "C:\\Windows\\notepad.exe"},
    };
    EXPECT_EQ(listed, expected);
    EXPECT_TRUE(isExcluded(prefs, "NOTEPAD.exe"));
    EXPECT_FALSE(isExcluded(prefs, "notepad"));

    setExcluded(prefs, "Notepad.EXE", "Editor", true, "D:\\n.exe");
    const JsonValue& apps = *find(prefs, "excluded_apps");
    ASSERT_EQ(apps.members().size(), 2u);
    EXPECT_EQ(apps.members()[0].key, "code.exe");
    EXPECT_EQ(apps.members()[1].key, "Notepad.EXE");
    EXPECT_EQ(toJsonText(apps.members()[1].value),
              "{\n  \"name\": \"Editor\",\n  \"disable_manual_switching\": false,\n  \"path\": \"D:\\\\n.exe\"\n}\n");

    setExcluded(prefs, "notepad.exe", "", false, "");
    setExcluded(prefs, "", "x", true, "");
    EXPECT_EQ(find(prefs, "excluded_apps")->members().size(), 1u);
    EXPECT_EQ(find(prefs, "future_option"), &prefs.members()[0].value);  // unknown member kept in place

    JsonValue wrong = parsedFixture("prefs_wrong_types.json");
    setExcluded(wrong, "a.exe", "A", true, "");
    EXPECT_EQ(excludedApps(wrong), (std::vector<ExcludedApp>{{"a.exe", "A", ""}}));
}

// A hand-edited file may list an application under an empty name: like any empty
// string it counts as missing, so it is neither listed nor matched by an unknown app.
TEST(Preferences, AnExcludedEntryWithAnEmptyNameCountsAsMissing) {
    JsonValue prefs;
    ASSERT_TRUE(parseJson(R"({"excluded_apps": {"": {"path": "C:\\a.exe"}, "b.exe": {}}})", prefs));
    EXPECT_EQ(excludedApps(prefs), (std::vector<ExcludedApp>{{"b.exe", "b.exe", ""}}));
    EXPECT_FALSE(isExcluded(prefs, ""));
    EXPECT_TRUE(isExcluded(prefs, "B.EXE"));
}

TEST(Preferences, RestoredPreferencesHaveTheDocumentedMembersInOrder) {
    const JsonValue prefs = restoredPreferences(std::vector<std::string>{"en", "uk", "ru"});
    std::vector<std::string> keys;
    for (const JsonMember& m : prefs.members()) keys.push_back(m.key);
    const std::vector<std::string> expected = {"schema_version",
                                               "active_languages",
                                               "excluded_apps",
                                               "update_check_frequency",
                                               "check_for_updates",
                                               "debug_log",
                                               "pause_in_games",
                                               "protect_endings_after_delete",
                                               "uppercase_only_exact_pairs",
                                               "play_sound_on_correction",
                                               "correction_sound",
                                               "undo_sound",
                                               "ui_language"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(activeLanguages(prefs), (std::vector<std::string>{"en", "uk", "ru"}));
    EXPECT_TRUE(learningMode(prefs));
    EXPECT_EQ(find(prefs, "hotkeys"), nullptr);
}

TEST(Preferences, DefaultTextIsTheDocumentedDocument) {
    EXPECT_EQ(kDefaultPreferencesText.size(), 231u);
    JsonValue prefs;
    ASSERT_TRUE(parseJson(kDefaultPreferencesText, prefs));
    EXPECT_EQ(activeLanguages(prefs), (std::vector<std::string>{"en", "uk", "ru"}));
    EXPECT_EQ(correctionSound(prefs), "SystemAsterisk");
    EXPECT_EQ(undoSound(prefs), "SystemExclamation");
}

}  // namespace
