#include "fake_settings_platform.h"
#include "settings/manual_overrides.h"
#include "settings/preferences.h"
#include "settings/settings_store.h"
#include "settings/system_files.h"
#include "common/utf16.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace quillom::settings;
using namespace quillom::settings::testing;
namespace fs = std::filesystem;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    SettingsStoreTest() {
        platform.appData = temp.path() / fs::path(u8"Користувач") / "AppData" / "Local";
        platform.exe = temp.path() / "Program" / "Quillom.exe";
        fs::create_directories(platform.appData);
        fs::create_directories(platform.exe.parent_path());
        store.checkEnginesWith([this](const fs::path& rules) { return engineFrom(rules); });
    }

    // The engine's verdict, as far as staging needs it: the rules read and the lexicon beside
    // them is there and not one of those marked damaged (a checksum the engine would refuse).
    bool engineFrom(const fs::path& rules) {
        ++engineChecks;
        JsonValue tree;
        const fs::path lexicon = rules.parent_path() / "quillom_lexicon.bin";
        return store.readJsonFile(rules, tree) && fs::exists(lexicon) && !damagedLexicons.count(readText(lexicon));
    }

    void installTemplate(std::string_view fixtureName) { writeText(store.templateRulesPath(), fixture(fixtureName)); }

    JsonValue workingRules() const {
        JsonValue rules;
        EXPECT_TRUE(store.loadRules(rules));
        return rules;
    }

    TempFolder temp;
    FakeSettingsPlatform platform;
    SettingsStore store{platform};
    std::set<std::string> damagedLexicons;
    int engineChecks = 0;
};

TEST_F(SettingsStoreTest, PathsFollowLocalAppDataOrFallBackToTheProgramFolder) {
    EXPECT_EQ(store.settingsFolder(), platform.appData / "Quillom");
    EXPECT_EQ(store.workingRulesPath(), platform.appData / "Quillom" / "quillom_rules.json");
    EXPECT_EQ(store.preferencesPath(), platform.appData / "Quillom" / "user_preferences.json");
    EXPECT_EQ(store.templateRulesPath(), platform.exe.parent_path() / "quillom_rules.json");
    EXPECT_EQ(store.templatePreferencesPath(), platform.exe.parent_path() / "user_preferences.json");
    EXPECT_NE(quillom::pathToUtf8(store.preferencesPath()).find("Користувач"), std::string::npos);

    platform.appData.clear();
    EXPECT_EQ(store.settingsFolder(), platform.exe.parent_path());
    EXPECT_EQ(store.preferencesPath(), platform.exe.parent_path() / "user_preferences.json");

    platform.exe = "Quillom.exe";
    EXPECT_EQ(store.workingRulesPath(), fs::path("quillom_rules.json"));
}

// The marker beside the program makes a portable copy: its settings go beside it, and they
// go along when the folder moves; a folder of that name is no marker.
TEST_F(SettingsStoreTest, PortableCopyKeepsItsSettingsBesideTheProgram) {
    const fs::path program = platform.exe.parent_path();
    fs::create_directories(program / "Quillom.portable" / "x");
    EXPECT_FALSE(store.portable());
    fs::remove_all(program / "Quillom.portable");
    writeText(program / "Quillom.portable", "");
    EXPECT_TRUE(store.portable());
    EXPECT_EQ(store.settingsFolder(), program / "QuillomData");
    EXPECT_EQ(store.preferencesPath(), program / "QuillomData" / "user_preferences.json");
    installTemplate("template_rules_v1.json");
    ASSERT_TRUE(store.stageConfigurationFiles());
    ASSERT_TRUE(store.updatePreferences([](JsonValue& prefs) {
        setFlag(prefs, "learning_mode", false);
        return true;
    }));
    EXPECT_FALSE(fs::exists(platform.appData / "Quillom")) << "nothing in the user's application data";

    const fs::path moved = temp.path() / "USB" / "Quillom";
    fs::create_directories(moved.parent_path());
    fs::rename(program, moved);
    platform.exe = moved / "Quillom.exe";
    EXPECT_EQ(store.settingsFolder(), moved / "QuillomData");
    EXPECT_FALSE(learningMode(store.preferences())) << "the setting moved with the folder";
}

TEST_F(SettingsStoreTest, FirstStartCreatesFolderCopiesRulesAndWritesDefaultPreferences) {
    installTemplate("template_rules_v1.json");
    ASSERT_FALSE(fs::exists(store.settingsFolder()));
    EXPECT_TRUE(store.stageConfigurationFiles());
    EXPECT_TRUE(fs::is_directory(store.settingsFolder()));
    EXPECT_EQ(readText(store.preferencesPath()), kDefaultPreferencesText);

    // The working copy is the template with its (here: only template) entries merged in.
    const JsonValue rules = workingRules();
    EXPECT_EQ(find(rules, "schema_version")->asString(), "2.1");
    EXPECT_EQ(listExactPairs(rules, activeLanguages(JsonValue())).size(), 2u);

    // Ukrainian and Russian layouts installed in that order: the list is unchanged, nothing written.
    platform.layouts = {0x0409, 0x0422, 0x0419};
    EXPECT_FALSE(store.normaliseActiveLanguages());
    EXPECT_EQ(readText(store.preferencesPath()), kDefaultPreferencesText);

    // Only Russian: the list shrinks and the file is rewritten pretty-printed.
    platform.layouts = {0x0419};
    EXPECT_TRUE(store.normaliseActiveLanguages());
    JsonValue expected;
    ASSERT_TRUE(parseJson(kDefaultPreferencesText, expected));
    member(expected, "active_languages") = JsonValue::makeArray();
    push(member(expected, "active_languages"), "en");
    push(member(expected, "active_languages"), "ru");
    EXPECT_EQ(readText(store.preferencesPath()), toJsonText(expected));
}

TEST_F(SettingsStoreTest, TemplatePreferencesAreCopiedOnlyWhenTheUserHasNone) {
    installTemplate("template_rules_v1.json");
    writeText(store.templatePreferencesPath(), R"({"ui_language":"uk"})");
    store.stageConfigurationFiles();
    EXPECT_EQ(readText(store.preferencesPath()), R"({"ui_language":"uk"})");

    writeText(store.templatePreferencesPath(), R"({"ui_language":"ru"})");
    store.stageConfigurationFiles();
    EXPECT_EQ(readText(store.preferencesPath()), R"({"ui_language":"uk"})");
}

TEST_F(SettingsStoreTest, SecondStartWritesNothing) {
    installTemplate("template_rules_v1.json");
    ASSERT_TRUE(store.stageConfigurationFiles());
    const std::string rules = readText(store.workingRulesPath());
    const std::string prefs = readText(store.preferencesPath());
    platform.writes = 0;
    EXPECT_TRUE(store.stageConfigurationFiles());
    EXPECT_EQ(platform.writes, 0);
    EXPECT_EQ(readText(store.workingRulesPath()), rules);
    EXPECT_EQ(readText(store.preferencesPath()), prefs);
}

TEST_F(SettingsStoreTest, PackedLexiconFollowsTheTemplate) {
    installTemplate("template_rules_v1.json");
    const std::string v1(
        "QMLEX01\n"
        "id-one..\0\1",
        18),
        v2("QMLEX01\n"
           "id-two..\0\1\2",
           19);
    writeText(store.templateLexiconPath(), v1);
    ASSERT_TRUE(store.stageConfigurationFiles());
    EXPECT_EQ(readText(store.workingLexiconPath()), v1);

    platform.writes = 0;  // the same file: nothing written
    ASSERT_TRUE(store.stageConfigurationFiles());
    EXPECT_EQ(platform.writes, 0);

    struct Case {
        const char* what;
        std::string working;
    };
    // Another id, an older, a damaged or a missing copy is replaced by the template's.
    for (const Case& c : {Case{"same size, other id", std::string(v2).replace(9, 3, "xyz")}, Case{"older", v1},
                          Case{"damaged past its header", std::string(v2).replace(18, 1, "\7")}, Case{"missing", ""}}) {
        writeText(store.templateLexiconPath(), v2);
        if (c.working.empty()) fs::remove(store.workingLexiconPath());
        else writeText(store.workingLexiconPath(), c.working);
        ASSERT_TRUE(store.stageConfigurationFiles()) << c.what;
        EXPECT_EQ(readText(store.workingLexiconPath()), v2) << c.what;
    }
}

// A lexicon is staged only when the installation's rules make an engine with it: a damaged
// installed copy (or one beside unreadable installed rules) never replaces the working copy,
// nor fills its place, and the check runs only when the two copies differ.
TEST_F(SettingsStoreTest, OnlyASoundInstalledLexiconIsStaged) {
    installTemplate("template_rules_v1.json");
    const std::string good(
        "QMLEX01\n"
        "id-one..\0\1",
        18);
    const std::string damaged = std::string(good).replace(17, 1, "\7");
    writeText(store.templateLexiconPath(), good);
    ASSERT_TRUE(store.stageConfigurationFiles());
    ASSERT_EQ(readText(store.workingLexiconPath()), good);
    engineChecks = 0;
    ASSERT_TRUE(store.stageConfigurationFiles());
    EXPECT_EQ(engineChecks, 0);  // the same bytes: no engine needed

    damagedLexicons.insert(damaged);
    struct Case {
        const char* what;
        bool workingPresent;
        std::string installedRules;
        bool rulesAtFault;
    };
    const std::string rulesV1 = fixture("template_rules_v1.json");
    for (const Case& c : {Case{"damaged installed copy over a sound one", true, rulesV1, false},
                          Case{"damaged installed copy into an empty place", false, rulesV1, false},
                          Case{"installed rules unreadable", true, "{ damaged", true}}) {
        writeText(store.templateRulesPath(), c.installedRules);
        writeText(store.templateLexiconPath(), damaged);
        if (c.workingPresent) writeText(store.workingLexiconPath(), good);
        else fs::remove(store.workingLexiconPath());
        const std::string rules = readText(store.workingRulesPath());
        store.stageConfigurationFiles();
        EXPECT_EQ(fs::exists(store.workingLexiconPath()) ? readText(store.workingLexiconPath()) : "missing",
                  c.workingPresent ? good : "missing")
            << c.what;
        EXPECT_EQ(readText(store.workingRulesPath()), rules) << c.what;
        EXPECT_EQ(store.installedFileAtFault(store.installedRulesMakeAnEngine()),
                  c.rulesAtFault ? store.templateRulesPath() : store.templateLexiconPath())
            << c.what;
    }

    // Reinstalled: the sound copy is staged again; without a check nothing is staged over it.
    installTemplate("template_rules_v1.json");
    writeText(store.templateLexiconPath(), good);
    writeText(store.workingLexiconPath(), damaged);
    SettingsStore unchecked{platform};
    ASSERT_TRUE(unchecked.stageConfigurationFiles());
    EXPECT_EQ(readText(store.workingLexiconPath()), damaged);
    ASSERT_TRUE(store.stageConfigurationFiles());
    EXPECT_EQ(readText(store.workingLexiconPath()), good);
}

// The engine cannot be created from the working files. When the installation's own rules make
// none either, its file is named (the rules template when it does not parse, else the lexicon)
// and the user's files stay as they are; otherwise the working rules are at fault.
TEST_F(SettingsStoreTest, AnEngineFailureIsPutOnTheInstallationOrTheWorkingRules) {
    installTemplate("template_rules_v1.json");
    writeText(store.templateLexiconPath(), "QMLEX01\n");
    ASSERT_TRUE(store.stageConfigurationFiles());
    fs::remove(store.templateLexiconPath());
    fs::remove(store.workingLexiconPath());
    const std::string working = readText(store.workingRulesPath());
    ASSERT_TRUE(store.stageConfigurationFiles());  // a missing installed lexicon is no reason to touch the rules
    EXPECT_EQ(readText(store.workingRulesPath()), working);
    EXPECT_FALSE(fs::exists(store.workingLexiconPath()));

    EXPECT_EQ(store.installedFileAtFault(false), store.templateLexiconPath());
    EXPECT_EQ(store.installedFileAtFault(true), fs::path());
    writeText(store.templateRulesPath(), "{ damaged");
    EXPECT_EQ(store.installedFileAtFault(false), store.templateRulesPath());
    EXPECT_EQ(readText(store.workingRulesPath()), working);
    EXPECT_TRUE(store.damagedRulesKeptAs().empty());
}

TEST_F(SettingsStoreTest, TemplateUpgradeKeepsUserEntriesAndTombstones) {
    installTemplate("template_rules_v1.json");
    ASSERT_TRUE(store.stageConfigurationFiles());
    const std::vector<std::string> active{"en", "ru", "uk"};

    JsonValue rules = workingRules();
    addExactPair(rules, "ghbdtn", "приветик", "en", "ru", active);  // overrides a template pair
    addExactPair(rules, "cgfcb,j", "спасибо", "", "", active);      // the user's own
    removeExactPair(rules, "vbh");                                  // template pair deleted
    removeNeverCorrect(rules, "github");                            // template word deleted
    member(rules, "thresholds") = "hand edit";                      // replaced by the template
    ASSERT_TRUE(store.saveRules(rules));

    installTemplate("template_rules_v2.json");
    ASSERT_TRUE(store.stageConfigurationFiles());
    const JsonValue upgraded = workingRules();
    EXPECT_EQ(find(upgraded, "schema_version")->asString(), "2.2");
    EXPECT_TRUE(find(upgraded, "thresholds")->isObject());

    const std::vector<ExactPairEntry> pairs = listExactPairs(upgraded, active);
    std::vector<std::string> typed;
    for (const ExactPairEntry& p : pairs) typed.push_back(p.typed + "=" + p.corrected);
    EXPECT_EQ(typed, (std::vector<std::string>{"ghbdtn=приветик", "cgfcb,j=спасибо", "lheu=друг"}));

    std::vector<std::string> words;
    for (const NeverCorrectEntry& w : listNeverCorrect(upgraded, active)) words.push_back(w.word);
    EXPECT_EQ(words, (std::vector<std::string>{"nasa", "linux"}));

    const JsonValue& mo = *find(upgraded, "manual_overrides");
    EXPECT_EQ(toJsonText(*find(mo, "deleted_exact_pairs")), "[\n  \"vbh\"\n]\n");

    platform.writes = 0;
    store.stageConfigurationFiles();
    EXPECT_EQ(platform.writes, 0);
}

TEST_F(SettingsStoreTest, DamagedWorkingRulesAreKeptAsideAndTheTemplateStaged) {
    installTemplate("template_rules_v1.json");
    const fs::path aside = fs::path(store.workingRulesPath()) += ".unreadable";
    writeText(aside, "an older copy");
    const std::string damaged = "{\"manual_overrides\": {,}";
    writeText(store.workingRulesPath(), damaged);
    EXPECT_TRUE(store.stageConfigurationFiles());
    const fs::path kept = fs::path(store.workingRulesPath()) += ".unreadable.2";
    EXPECT_EQ(store.damagedRulesKeptAs(), kept);
    EXPECT_EQ(readText(kept), damaged);
    EXPECT_EQ(readText(aside), "an older copy");
    EXPECT_EQ(listExactPairs(workingRules(), activeLanguages(JsonValue())).size(), 2u);

    // The next start finds a working file that reads: nothing more is kept aside.
    SettingsStore nextStart{platform};
    EXPECT_TRUE(nextStart.stageConfigurationFiles());
    EXPECT_TRUE(nextStart.damagedRulesKeptAs().empty());
    EXPECT_FALSE(fs::exists(fs::path(store.workingRulesPath()) += ".unreadable.3"));
}

TEST_F(SettingsStoreTest, WorkingRulesThatCannotBeReadNowAreLeftAlone) {
    installTemplate("template_rules_v1.json");
    const std::string own = R"({"manual_overrides": {"never_correct": ["own"]}})";
    writeText(store.workingRulesPath(), own);
    platform.failingReads[store.workingRulesPath()] = 100;
    EXPECT_TRUE(store.stageConfigurationFiles());
    EXPECT_TRUE(store.damagedRulesKeptAs().empty());
    EXPECT_EQ(readText(store.workingRulesPath()), own);

    // Without a readable template the damaged file stays where it is too.
    platform.failingReads.clear();
    fs::remove(store.templateRulesPath());
    writeText(store.workingRulesPath(), "not json");
    EXPECT_TRUE(store.setAsideWorkingRules().empty());
    EXPECT_EQ(readText(store.workingRulesPath()), "not json");
    EXPECT_FALSE(fs::exists(fs::path(store.workingRulesPath()) += ".unreadable"));
}

TEST_F(SettingsStoreTest, ByteOrderMarkIsReadAsAbsentAndNeverWritten) {
    writeText(store.preferencesPath(), fixture("prefs_bom.json"));
    JsonValue prefs;
    ASSERT_TRUE(store.loadPreferences(prefs));
    EXPECT_FALSE(pauseInGames(prefs));
    EXPECT_EQ(uiLanguage(prefs), "ru");
    ASSERT_TRUE(store.savePreferences(prefs));
    EXPECT_EQ(readText(store.preferencesPath()).rfind("{", 0), 0u);
    EXPECT_FALSE(fs::exists(fs::path(store.preferencesPath()) += ".unreadable"));

    // A template rules file with one is merged like any other, and the working copy has none.
    writeText(store.templateRulesPath(), "\xEF\xBB\xBF" + fixture("template_rules_v1.json"));
    writeText(store.workingRulesPath(), "\xEF\xBB\xBF" + fixture("template_rules_v1.json"));
    EXPECT_TRUE(store.stageConfigurationFiles());
    EXPECT_TRUE(store.damagedRulesKeptAs().empty());
    EXPECT_EQ(readText(store.workingRulesPath()).rfind("{", 0), 0u);
}

// A read that fails (a sharing violation at login) yields defaults; a save built on them
// would wipe the user's settings, so it is refused until a read succeeds again.
TEST_F(SettingsStoreTest, SaveAfterAFailedReadIsRefused) {
    const std::string original = fixture("prefs_user.json");
    writeText(store.preferencesPath(), original);
    platform.failingReads[store.preferencesPath()] = 1;
    JsonValue prefs;
    EXPECT_FALSE(store.loadPreferences(prefs));
    EXPECT_EQ(prefs, JsonValue::makeObject());
    setUiLanguage(prefs, "ru");
    EXPECT_TRUE(store.writeRefused(store.preferencesPath()));
    EXPECT_FALSE(store.savePreferences(prefs));
    EXPECT_EQ(readText(store.preferencesPath()), original);
    EXPECT_FALSE(store.writeRefused(store.workingRulesPath()));

    ASSERT_TRUE(store.loadPreferences(prefs));
    setUiLanguage(prefs, "ru");
    EXPECT_TRUE(store.savePreferences(prefs));
    EXPECT_EQ(uiLanguage([&] {
                  JsonValue p;
                  store.loadPreferences(p);
                  return p;
              }()),
              "ru");
}

// What an update starts from and what it leaves on disk, for both files.
TEST_F(SettingsStoreTest, UpdateSavesTheChangeOnlyWhenTheReadAndTheChangeAllowIt) {
    enum class Start { Object, Missing, Unparsable, ReadFails };
    enum class File { Preferences, Rules };
    const struct Case {
        const char* name;
        File file;
        Start start;
        bool changeAccepts;
        bool changeCalled, changeSeesStoredTree, saved;
    } cases[] = {
        {"preferences", File::Preferences, Start::Object, true, true, true, true},
        {"preferences declined", File::Preferences, Start::Object, false, true, true, false},
        {"preferences missing", File::Preferences, Start::Missing, true, true, false, true},
        {"preferences unparsable", File::Preferences, Start::Unparsable, true, true, false, true},
        {"preferences read fails", File::Preferences, Start::ReadFails, true, true, false, false},
        {"rules", File::Rules, Start::Object, true, true, true, true},
        {"rules declined", File::Rules, Start::Object, false, true, true, false},
        {"rules missing", File::Rules, Start::Missing, true, false, false, false},
        {"rules unparsable", File::Rules, Start::Unparsable, true, false, false, false},
        {"rules read fails", File::Rules, Start::ReadFails, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = c.file == File::Preferences ? store.preferencesPath() : store.workingRulesPath();
        fs::create_directories(path.parent_path());
        fs::remove(path);
        const std::string stored = R"({"kept":1,"changed":"before"})";
        if (c.start == Start::Object || c.start == Start::ReadFails) writeText(path, stored);
        if (c.start == Start::Unparsable) writeText(path, "{\"kept\":");
        if (c.start == Start::ReadFails) platform.failingReads[path] = 1;
        const std::string before = fs::exists(path) ? readText(path) : "";

        bool called = false, sawStoredTree = false;
        const SettingsStore::Change change = [&](JsonValue& tree) {
            called = true;
            sawStoredTree = find(tree, "kept") != nullptr;
            member(tree, "changed") = JsonValue("after");
            return c.changeAccepts;
        };
        const bool saved = c.file == File::Preferences ? store.updatePreferences(change) : store.updateRules(change);

        EXPECT_EQ(saved, c.saved);
        EXPECT_EQ(called, c.changeCalled);
        EXPECT_EQ(sawStoredTree, c.changeSeesStoredTree);
        if (c.saved) {
            JsonValue after;
            ASSERT_TRUE(store.readJsonFile(path, after));
            EXPECT_EQ(find(after, "changed")->asString(), "after");
            EXPECT_EQ(find(after, "kept") != nullptr, c.changeSeesStoredTree);
        } else {
            EXPECT_EQ(fs::exists(path) ? readText(path) : "", before);
        }
    }
}

// The refusal lasts only until a read succeeds: the next update saves again.
TEST_F(SettingsStoreTest, UpdateAfterARefusedOneSavesOnceTheFileReadsAgain) {
    fs::create_directories(store.settingsFolder());
    writeText(store.preferencesPath(), fixture("prefs_user.json"));
    platform.failingReads[store.preferencesPath()] = 1;
    auto toRussian = [](JsonValue& prefs) {
        setUiLanguage(prefs, "ru");
        return true;
    };
    EXPECT_FALSE(store.updatePreferences(toRussian));
    EXPECT_EQ(readText(store.preferencesPath()), fixture("prefs_user.json"));
    EXPECT_TRUE(store.updatePreferences(toRussian));
    JsonValue expected;  // the user's other members stay
    ASSERT_TRUE(parseJson(fixture("prefs_user.json"), expected));
    setUiLanguage(expected, "ru");
    EXPECT_EQ(store.preferences(), expected);
}

TEST_F(SettingsStoreTest, StartUpNormalisationSkipsWhenThePreferencesCannotBeRead) {
    installTemplate("template_rules_v1.json");
    writeText(store.preferencesPath(), R"({"active_languages":["en","de"],"hotkeys":{"undo":"x"}})");
    const std::string original = readText(store.preferencesPath());
    platform.layouts = {0x0419};
    platform.failingReads[store.preferencesPath()] = 1;
    EXPECT_TRUE(store.stageConfigurationFiles());
    EXPECT_FALSE(store.normaliseActiveLanguages());
    EXPECT_EQ(readText(store.preferencesPath()), original);
    EXPECT_TRUE(store.normaliseActiveLanguages());  // the next read succeeds
}

TEST_F(SettingsStoreTest, RestoreDefaultsIsRefusedWhenAFileCannotBeRead) {
    installTemplate("template_rules_v1.json");
    ASSERT_TRUE(store.stageConfigurationFiles());
    const std::string prefsBefore = readText(store.preferencesPath());
    writeText(store.workingRulesPath(), R"({"manual_overrides": {"never_correct": ["own"]}})");
    platform.failingReads[store.workingRulesPath()] = 1;
    EXPECT_FALSE(store.restoreDefaults());
    EXPECT_EQ(readText(store.workingRulesPath()), R"({"manual_overrides": {"never_correct": ["own"]}})");
    EXPECT_EQ(readText(store.preferencesPath()), prefsBefore);
    EXPECT_TRUE(store.restoreDefaults());
}

TEST_F(SettingsStoreTest, OversizedFilesAreRefusedUnread) {
    fs::create_directories(store.settingsFolder());
    {
        std::ofstream out(store.preferencesPath(), std::ios::binary);
        out << "{}";
    }
    fs::resize_file(store.preferencesPath(), kMaxSettingsFileBytes + 1);  // sparse: nothing stored
    std::string bytes = "stale";
    EXPECT_EQ(readWholeFile(store.preferencesPath(), bytes), ReadStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
    JsonValue prefs;
    EXPECT_EQ(store.loadJsonFile(store.preferencesPath(), prefs), LoadStatus::Unparsable);
    EXPECT_FALSE(store.writeRefused(store.preferencesPath()));

    // The limit itself is allowed.
    writeText(store.preferencesPath(), "{\"a\":1}");
    EXPECT_EQ(readWholeFile(store.preferencesPath(), bytes, 7), ReadStatus::Read);
    EXPECT_EQ(bytes, "{\"a\":1}");
    EXPECT_EQ(readWholeFile(store.preferencesPath(), bytes, 6), ReadStatus::TooLarge);
}

TEST_F(SettingsStoreTest, NoTemplateAndNoWorkingRulesFailsStaging) {
    EXPECT_FALSE(store.stageConfigurationFiles());
    EXPECT_EQ(readText(store.preferencesPath()), kDefaultPreferencesText);
}

TEST_F(SettingsStoreTest, UnreadablePreferencesReadAsDefaults) {
    for (const std::string& text : {fixture("prefs_syntax_error.json"), std::string("\xEF\xBB\xBF\xEF\xBB\xBF{}")}) {
        const std::string& name = text;
        writeText(store.preferencesPath(), text);
        JsonValue prefs(3);
        EXPECT_FALSE(store.loadPreferences(prefs)) << name;
        EXPECT_EQ(prefs, JsonValue::makeObject()) << name;
        EXPECT_TRUE(pauseInGames(prefs));
        EXPECT_TRUE(learningMode(prefs));
        EXPECT_EQ(uiLanguage(prefs), "en");
        EXPECT_EQ(correctionSound(prefs), "SystemAsterisk");
    }
    writeText(store.preferencesPath(), "[1, 2]");
    JsonValue prefs;
    EXPECT_FALSE(store.loadPreferences(prefs));
    EXPECT_EQ(prefs, JsonValue::makeObject());
    fs::remove(store.preferencesPath());
    EXPECT_FALSE(store.loadPreferences(prefs));
    fs::create_directories(store.preferencesPath());
    EXPECT_FALSE(store.loadPreferences(prefs));
    EXPECT_EQ(prefs, JsonValue::makeObject());
}

TEST_F(SettingsStoreTest, RewriteKeepsUnknownMembersInPlace) {
    writeText(store.preferencesPath(), fixture("prefs_user.json"));
    JsonValue prefs;
    ASSERT_TRUE(store.loadPreferences(prefs));
    setFlag(prefs, key::PauseInGames, true);
    setUiLanguage(prefs, "ru");
    ASSERT_TRUE(store.savePreferences(prefs));
    JsonValue reread;
    ASSERT_TRUE(store.loadPreferences(reread));
    EXPECT_EQ(reread.members().front().key, "future_option");
    EXPECT_EQ(toJsonText(*find(reread, "future_option")), "{\n  \"nested\": [\n    1,\n    2\n  ]\n}\n");
    EXPECT_TRUE(pauseInGames(reread));
    EXPECT_EQ(uiLanguage(reread), "ru");
    EXPECT_FALSE(fs::exists(fs::path(store.preferencesPath()) += ".unreadable"));
}

TEST_F(SettingsStoreTest, UnparsableFileIsKeptAsideBeforeItIsReplaced) {
    const fs::path prefsPath = store.preferencesPath();
    const std::string broken = fixture("prefs_syntax_error.json");
    writeText(prefsPath, broken);
    JsonValue prefs;
    store.loadPreferences(prefs);
    setUiLanguage(prefs, "uk");
    ASSERT_TRUE(store.savePreferences(prefs));
    EXPECT_EQ(readText(fs::path(prefsPath) += ".unreadable"), broken);
    EXPECT_EQ(readText(prefsPath), "{\n  \"ui_language\": \"uk\"\n}\n");

    // A later broken edit does not overwrite the first copy.
    writeText(prefsPath, "{\"ui_language\": ru}");
    ASSERT_TRUE(store.savePreferences(prefs));
    EXPECT_EQ(readText(fs::path(prefsPath) += ".unreadable"), broken);
    EXPECT_EQ(readText(fs::path(prefsPath) += ".unreadable.2"), "{\"ui_language\": ru}");

    // The rules file gets the same protection; an empty file holds nothing worth keeping.
    writeText(store.workingRulesPath(), "{\"thresholds\": ");
    ASSERT_TRUE(store.saveRules(JsonValue::makeObject()));
    EXPECT_EQ(readText(fs::path(store.workingRulesPath()) += ".unreadable"), "{\"thresholds\": ");
    writeText(store.workingRulesPath(), "");
    ASSERT_TRUE(store.saveRules(JsonValue::makeObject()));
    EXPECT_FALSE(fs::exists(fs::path(store.workingRulesPath()) += ".unreadable.2"));
}

TEST_F(SettingsStoreTest, InterruptedSaveLeavesTheOldFileIntact) {
    const std::string original = fixture("prefs_user.json");
    writeText(store.preferencesPath(), original);
    JsonValue prefs;
    ASSERT_TRUE(store.loadPreferences(prefs));
    setUiLanguage(prefs, "ru");

    platform.failNextWrite = true;
    EXPECT_FALSE(store.savePreferences(prefs));
    EXPECT_EQ(readText(store.preferencesPath()), original);

    platform.failNextReplace = true;
    EXPECT_FALSE(store.savePreferences(prefs));
    EXPECT_EQ(readText(store.preferencesPath()), original);

    for (const auto& entry : fs::directory_iterator(store.settingsFolder()))
        EXPECT_EQ(entry.path().filename(), "user_preferences.json");  // no temporary left behind

    EXPECT_TRUE(store.savePreferences(prefs));
    JsonValue reread;
    ASSERT_TRUE(store.loadPreferences(reread));
    EXPECT_EQ(uiLanguage(reread), "ru");
}

TEST_F(SettingsStoreTest, InstalledLanguagesFollowLayoutOrder) {
    struct Case {
        std::vector<uint16_t> layouts;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{}, {"en"}},
        {{0x0409, 0x0422, 0x0419, 0x0422}, {"en", "uk", "ru"}},
        {{0x0419, 0x0407, 0x0809}, {"en", "ru"}},
        {{0x0819, 0x0422}, {"en", "ru", "uk"}},  // any sublanguage of Russian counts
    };
    for (const Case& c : cases) {
        platform.layouts = c.layouts;
        EXPECT_EQ(store.installedLanguages(), c.expected);
    }
}

TEST_F(SettingsStoreTest, NormaliseActiveLanguagesExamples) {
    platform.layouts = {0x0422, 0x0419};
    writeText(store.preferencesPath(), R"({"active_languages":["ru","uk","de"]})");
    EXPECT_TRUE(store.normaliseActiveLanguages());
    EXPECT_EQ(store.activeLanguages(), (std::vector<std::string>{"en", "ru", "uk"}));
    EXPECT_FALSE(store.normaliseActiveLanguages());

    platform.layouts = {0x0419};
    writeText(store.preferencesPath(), R"({"active_languages":["en"]})");
    EXPECT_TRUE(store.normaliseActiveLanguages());
    EXPECT_EQ(store.activeLanguages(), (std::vector<std::string>{"en", "ru"}));
}

TEST_F(SettingsStoreTest, RestoreDefaults) {
    EXPECT_FALSE(store.restoreDefaults());  // no template: nothing changes
    EXPECT_FALSE(fs::exists(store.preferencesPath()));

    installTemplate("template_rules_v1.json");
    ASSERT_TRUE(store.stageConfigurationFiles());
    JsonValue rules = workingRules();
    addNeverCorrect(rules, "мой", "ru", std::vector<std::string>{"en", "ru"});
    ASSERT_TRUE(store.saveRules(rules));
    writeText(store.preferencesPath(), fixture("prefs_user.json"));

    platform.layouts = {0x0419, 0x0422};
    EXPECT_TRUE(store.restoreDefaults());
    JsonValue templateTree;
    ASSERT_TRUE(parseJson(fixture("template_rules_v1.json"), templateTree));
    EXPECT_EQ(readText(store.workingRulesPath()), toJsonText(templateTree));
    EXPECT_EQ(readText(store.preferencesPath()),
              toJsonText(restoredPreferences(std::vector<std::string>{"en", "ru", "uk"})));
}

TEST_F(SettingsStoreTest, RestoreDefaultsLeavesPreferencesWhenTheRulesSaveFails) {
    installTemplate("template_rules_v1.json");
    ASSERT_TRUE(store.stageConfigurationFiles());
    writeText(store.preferencesPath(), fixture("prefs_user.json"));
    platform.failNextWrite = true;
    EXPECT_FALSE(store.restoreDefaults());
    EXPECT_EQ(readText(store.preferencesPath()), fixture("prefs_user.json"));
}

TEST_F(SettingsStoreTest, UpdateFrequencyReadsTheFile) {
    EXPECT_EQ(store.updateFrequency(), "1d");
    writeText(store.preferencesPath(), R"({"update_check_frequency":"15m"})");
    EXPECT_EQ(store.updateFrequency(), "1h");
}

// A file read in pieces of at most chunk bytes, which holds actual bytes (more or fewer than
// the size it was said to have) and may fail after failAfter of them.
TEST(SystemFiles, ReadExactlyTakesTheWholeFileAndNothingElse) {
    const struct {
        const char* name;
        uint64_t size;
        std::string actual;
        std::size_t chunk;
        std::size_t failAfter;
        ReadStatus status;
    } cases[] = {
        {"whole at once", 5, "hello", 64, 99, ReadStatus::Read},
        {"whole in pieces", 5, "hello", 2, 99, ReadStatus::Read},
        {"empty", 0, "", 64, 99, ReadStatus::Read},
        {"ends early", 5, "hel", 2, 99, ReadStatus::Failed},
        {"grew meanwhile", 5, "hello!", 2, 99, ReadStatus::Failed},
        {"error half way", 5, "hello", 2, 2, ReadStatus::Failed},
    };
    for (const auto& c : cases) {
        std::size_t at = 0;
        const ReadSome readSome = [&](char* into, std::size_t room) -> int64_t {
            if (at >= c.failAfter) return -1;
            const std::size_t n = std::min({room, c.chunk, c.actual.size() - at});
            std::copy_n(c.actual.data() + at, n, into);
            at += n;
            return int64_t(n);
        };
        std::string out = "old";
        EXPECT_EQ(readExactly(c.size, out, readSome), c.status) << c.name;
        if (c.status == ReadStatus::Read) {
            EXPECT_EQ(out, c.actual) << c.name;
        }
    }
}

TEST(SystemFiles, ReadWriteReplaceOnRealFiles) {
    TempFolder temp;
    const fs::path target = temp.path() / fs::path(u8"налаштування.json");
    const fs::path staged = temp.path() / "staged.tmp";
    std::string bytes;
    EXPECT_EQ(readWholeFile(target, bytes), ReadStatus::Missing);
    EXPECT_EQ(readWholeFile(temp.path() / "missing" / "x", bytes), ReadStatus::Missing);
    ASSERT_TRUE(writeFileFlushed(target, "old"));
    ASSERT_TRUE(writeFileFlushed(staged, std::string("new\0bytes", 9)));
    ASSERT_TRUE(replaceFileAtomically(staged, target));
    EXPECT_FALSE(fs::exists(staged));
    ASSERT_EQ(readWholeFile(target, bytes), ReadStatus::Read);
    EXPECT_EQ(bytes, std::string("new\0bytes", 9));
    EXPECT_FALSE(replaceFileAtomically(staged, target));
    EXPECT_FALSE(writeFileFlushed(temp.path() / "missing" / "x", "y"));
    EXPECT_EQ(readWholeFile(temp.path(), bytes), ReadStatus::Failed);  // a folder is not a file
}

}  // namespace
