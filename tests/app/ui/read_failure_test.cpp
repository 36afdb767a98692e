// Every change the settings window makes loads a file, changes it and saves it. When the load
// fails (a sharing violation, a short read) it yields defaults; saving them would wipe the
// user's settings. Each writer is run with one failed read injected and must leave the file.
#include "fake_settings_host.h"
#include "ui/control_ids.h"
#include "ui/dictionary_tab.h"
#include "ui/general_tab.h"
#include "ui/list_tabs.h"

#include <gtest/gtest.h>

#include <functional>

using namespace quillom::ui;
using quillom::settings::testing::readText;
using quillom::ui::testing::FakeSettingsHost;

namespace {

enum class File { Preferences, Rules };

struct Writer {
    const char* name;
    File file;
    std::function<bool(FakeSettingsHost&)> run;
};

TEST(ReadFailure, NoWriterSavesAfterAFailedRead) {
    const Writer writers[] = {
        {"option", File::Preferences, [](FakeSettingsHost& h) { return setOption(h, ctrl::PauseInGames, false); }},
        {"sound", File::Preferences, [](FakeSettingsHost& h) { return chooseSound(h, ctrl::UndoSound, 2); }},
        {"update frequency", File::Preferences, [](FakeSettingsHost& h) { return chooseUpdateFrequency(h, 0); }},
        {"interface language", File::Preferences,
         [](FakeSettingsHost& h) {
             chooseInterfaceLanguage(h, 2);
             return false;
         }},
        {"language order", File::Preferences, [](FakeSettingsHost& h) { return moveLanguage(h, 2, -1).has_value(); }},
        {"exclude", File::Preferences,
         [](FakeSettingsHost& h) {
             const ChosenApplication app{u"C:\\Apps\\Game.exe", u"Game"};
             return addExcludedApplications(h, std::span(&app, 1));
         }},
        {"include", File::Preferences,
         [](FakeSettingsHost& h) {
             return removeExcludedApplication(h, {"notepad.exe", "Notepad", ""});
         }},
        {"hotkeys reset", File::Preferences,
         [](FakeSettingsHost& h) { return h.hotkeys().resetToDefaults(h.store()); }},
        {"dictionary pair", File::Rules,
         [](FakeSettingsHost& h) { return addDictionaryPair(h, u"ghbdtn", u"привет", "en", "ru"); }},
        {"never correct", File::Rules, [](FakeSettingsHost& h) { return addNeverCorrectWord(h, u"qwerty", "en"); }},
        {"remove pair", File::Rules,
         [](FakeSettingsHost& h) {
             return removeDictionaryPair(h, {"en", "rfr", "ru", "как"});
         }},
        {"remove never correct", File::Rules,
         [](FakeSettingsHost& h) {
             return removeNeverCorrectWord(h, {"en", "kde"});
         }},
    };
    for (const Writer& w : writers) {
        for (const bool readFails : {true, false}) {
            FakeSettingsHost host;
            host.writeRules(R"({"exact_pairs":{"rfr":"как"},"never_correct":["kde"]})");
            host.writePreferences(
                R"({"active_languages":["en","ru","uk"],"excluded_apps":{"notepad.exe":{"name":"Notepad"}},)"
                R"("hotkeys":{"undo":{"mods":6,"vk":85}},"pause_in_games":true})");
            const auto path = w.file == File::Rules ? host.store().workingRulesPath() : host.store().preferencesPath();
            const std::string before = readText(path);
            host.platform.layouts = {0x0409, 0x0419, 0x0422};
            if (readFails) host.platform.failingReads[path] = 1;
            w.run(host);
            // Without the failure the same call does write: the check above can fail.
            EXPECT_EQ(readText(path) == before, readFails) << w.name << (readFails ? " failed read" : "");
            if (readFails) {
                EXPECT_EQ(host.applied, 0) << w.name;
            }
        }
    }
}

}  // namespace
