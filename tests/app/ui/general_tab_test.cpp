#include "fake_settings_host.h"
#include "settings/preferences.h"
#include "tray/interface_strings.h"
#include "ui/control_ids.h"
#include "ui/general_tab.h"

#include <gtest/gtest.h>

#include <optional>

using namespace quillom::ui;
using namespace quillom::settings;
using quillom::ui::testing::FakeSettingsHost;

namespace {

class GeneralTabTest : public ::testing::Test {
protected:
    void TearDown() override { quillom::tray::setInterfaceLanguage("en"); }
    // The outcome the window is told; the files are restored as a background job.
    RestoreOutcome restore() {
        const int jobs = host.backgroundJobs;
        std::optional<RestoreOutcome> outcome;
        restoreAllDefaults(host, [&outcome](RestoreOutcome o) { outcome = o; });
        EXPECT_EQ(host.backgroundJobs, jobs + 1);
        EXPECT_TRUE(outcome.has_value());
        return outcome.value_or(RestoreOutcome::Failed);
    }
    FakeSettingsHost host;
};

TEST_F(GeneralTabTest, OptionBoxesWriteTheirKeyAndApply) {
    const struct {
        int id;
        std::string_view key;
    } boxes[] = {{ctrl::UppercaseOnlyExactPairs, "uppercase_only_exact_pairs"},
                 {ctrl::ProtectEndings, "protect_endings_after_delete"},
                 {ctrl::PauseInGames, "pause_in_games"},
                 {ctrl::BackspaceReverts, "backspace_reverts_correction"},
                 {ctrl::PlaySound, "play_sound_on_correction"}};
    host.writePreferences(R"({"ui_language":"uk","custom":[1,2]})");
    int applied = 0;
    for (const auto& box : boxes) {
        for (bool on : {false, true}) {
            ASSERT_TRUE(setOption(host, box.id, on)) << box.key;
            EXPECT_EQ(host.applied, ++applied) << box.key;
            const JsonValue prefs = host.preferences();
            EXPECT_EQ(getBool(prefs, box.key, !on), on) << box.key;
            // Members the window does not know survive the rewrite.
            EXPECT_EQ(getString(prefs, "ui_language", ""), "uk");
            ASSERT_NE(find(prefs, "custom"), nullptr);
        }
    }
    EXPECT_FALSE(setOption(host, ctrl::LaunchAtLogin, true));
    EXPECT_EQ(host.applied, applied);
}

TEST_F(GeneralTabTest, AFailedSaveSkipsTheReload) {
    host.platform.failNextWrite = true;
    EXPECT_FALSE(setOption(host, ctrl::PauseInGames, false));
    EXPECT_EQ(host.applied, 0);
    host.platform.failNextWrite = true;
    EXPECT_FALSE(chooseSound(host, ctrl::UndoSound, 2));
    EXPECT_EQ(host.applied, 0);
    EXPECT_TRUE(host.played.empty());
}

TEST_F(GeneralTabTest, SoundListsStoreTheNameApplyAndPreview) {
    ASSERT_TRUE(chooseSound(host, ctrl::CorrectionSound, 2));
    ASSERT_TRUE(chooseSound(host, ctrl::UndoSound, 3));
    const JsonValue prefs = host.preferences();
    EXPECT_EQ(correctionSound(prefs), "SystemNotification");
    EXPECT_EQ(undoSound(prefs), "SystemDefault");
    EXPECT_EQ(host.applied, 2);
    EXPECT_EQ(host.played, (std::vector<std::u16string>{u"SystemNotification", u"SystemDefault"}));
    for (int row : {-1, 4}) EXPECT_FALSE(chooseSound(host, ctrl::CorrectionSound, row));
    EXPECT_FALSE(chooseSound(host, ctrl::PlaySound, 0));
    EXPECT_EQ(host.applied, 2);
}

TEST_F(GeneralTabTest, ListRowsOfStoredValues) {
    EXPECT_EQ(soundRow("SystemExclamation", "SystemAsterisk"), 1);
    EXPECT_EQ(soundRow("Beep", "SystemExclamation"), 1);  // not one of the four: the key's default
    EXPECT_EQ(soundRow("", "SystemAsterisk"), 0);
    const std::pair<std::string_view, int> frequencies[] = {{"1h", 0},    {"1d", 1},     {"startup", 2},
                                                            {"never", 3}, {"weekly", 1}, {"", 1}};
    for (const auto& [value, row] : frequencies) EXPECT_EQ(updateFrequencyRow(value), row) << value;
    // The old "15m" reads as "1h", so it shows "Every hour".
    host.writePreferences(R"({"update_check_frequency":"15m"})");
    EXPECT_EQ(updateFrequencyRow(host.store().updateFrequency()), 0);
    EXPECT_EQ(interfaceLanguageRow("ru"), 2);
    EXPECT_EQ(interfaceLanguageRow("de"), 0);
}

TEST_F(GeneralTabTest, FrequencyIsStoredAndHandedToTheUpdater) {
    ASSERT_TRUE(chooseUpdateFrequency(host, 2));
    EXPECT_EQ(host.store().updateFrequency(), "startup");
    EXPECT_EQ(host.frequencies, std::vector<std::string>{"startup"});
    EXPECT_FALSE(chooseUpdateFrequency(host, 4));
    EXPECT_EQ(host.frequencies.size(), 1u);
    EXPECT_EQ(host.applied, 0);  // the engine does not read it
}

TEST_F(GeneralTabTest, InterfaceLanguageSwitchesTheStringsAndKeepsTheSettings) {
    host.writePreferences(R"({"pause_in_games":false,"ui_language":"en"})");
    ASSERT_TRUE(chooseInterfaceLanguage(host, 1));
    EXPECT_EQ(quillom::tray::interfaceLanguage(), "uk");
    EXPECT_NE(quillom::tray::text(quillom::tray::TextId::PageGeneral),
              quillom::tray::textIn("en", quillom::tray::TextId::PageGeneral));
    const JsonValue prefs = host.preferences();
    EXPECT_EQ(uiLanguage(prefs), "uk");
    EXPECT_FALSE(pauseInGames(prefs));
    EXPECT_FALSE(chooseInterfaceLanguage(host, 3));
    EXPECT_EQ(quillom::tray::interfaceLanguage(), "uk");
}

TEST_F(GeneralTabTest, OnlyARefusedSwitchOnIsReportedAsBlocked) {
    host.refuseLaunchAtLogin = true;
    host.launchAtLoginOn = false;
    LaunchAtLoginOutcome on = switchLaunchAtLogin(host, true);
    EXPECT_TRUE(on.blocked);
    EXPECT_FALSE(on.nowOn);  // the box shows the registry's state again
    host.launchAtLoginOn = true;
    EXPECT_FALSE(switchLaunchAtLogin(host, false).blocked);
    host.refuseLaunchAtLogin = false;
    LaunchAtLoginOutcome ok = switchLaunchAtLogin(host, true);
    EXPECT_FALSE(ok.blocked);
    EXPECT_TRUE(ok.nowOn);
}

TEST_F(GeneralTabTest, RestoreDefaultsResetsEverythingAndFailsCleanlyWithoutTemplate) {
    host.writePreferences(R"({"ui_language":"ru","excluded_apps":{"a.exe":{"name":"A"}},"debug_log":true})");
    ASSERT_EQ(host.bindings.set(quillom::tray::hotkey::ConvertEn, {2, 0x45}, host.store()),
              quillom::tray::HotkeyBindings::SetResult::Saved);
    quillom::tray::setInterfaceLanguage("ru");

    // Without the template rules file nothing is touched.
    EXPECT_EQ(restore(), RestoreOutcome::Failed);
    EXPECT_EQ(host.applied, 0);
    EXPECT_TRUE(host.launchAtLoginCalls.empty());
    EXPECT_EQ(uiLanguage(host.preferences()), "ru");

    host.writeRules(R"({"exact_pairs":{"lheu":"друг"}})");
    JsonValue rules = host.rules();
    find(*find(rules, "manual_overrides"), "exact_pairs")->members().push_back({"vbh", JsonValue("мир")});
    ASSERT_TRUE(host.store().saveRules(rules));

    EXPECT_EQ(restore(), RestoreOutcome::Restored);
    const JsonValue prefs = host.preferences();
    EXPECT_EQ(uiLanguage(prefs), "en");
    EXPECT_TRUE(excludedApps(prefs).empty());
    EXPECT_EQ(host.bindings.binding(quillom::tray::hotkey::ConvertEn), quillom::tray::HotkeyBinding{});
    EXPECT_EQ(host.registered, 1);
    EXPECT_EQ(host.launchAtLoginCalls, std::vector<bool>{true});
    EXPECT_EQ(host.frequencies, std::vector<std::string>{"1d"});
    EXPECT_FALSE(host.debugLog);
    EXPECT_EQ(host.applied, 1);
    EXPECT_EQ(quillom::tray::interfaceLanguage(), "en");
    const std::string working = quillom::settings::testing::readText(host.store().workingRulesPath());
    EXPECT_EQ(working.find("vbh"), std::string::npos);
    EXPECT_NE(working.find("lheu"), std::string::npos);
}

// A portable copy writes nothing to the registry, also when everything is reset.
TEST_F(GeneralTabTest, RestoreDefaultsInAPortableCopyLeavesLaunchAtLoginAlone) {
    quillom::settings::testing::writeText(host.platform.exe.parent_path() / "Quillom.portable", "");
    ASSERT_TRUE(host.store().portable());
    std::filesystem::create_directories(host.store().settingsFolder());
    host.writeRules(R"({"exact_pairs":{"lheu":"друг"}})");
    EXPECT_EQ(restore(), RestoreOutcome::Restored);
    EXPECT_TRUE(host.launchAtLoginCalls.empty());
    EXPECT_EQ(host.frequencies, std::vector<std::string>{"1d"});
}

}  // namespace
