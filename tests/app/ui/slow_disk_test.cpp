// Every command that saves settings, with a disk whose flush takes 500 ms: the thread that
// runs the command (the one that serves the keyboard hook) must be back within 20 ms, the
// saves must reach the disk in order, and an engine reload must find what was saved.
#include "fake_settings_host.h"
#include "settings/learning.h"
#include "settings/preferences.h"
#include "tray/background_worker.h"
#include "ui/control_ids.h"
#include "ui/dictionary_tab.h"
#include "ui/general_tab.h"
#include "ui/list_tabs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

using namespace quillom;
using namespace quillom::settings;
using quillom::settings::testing::readText;
using quillom::ui::testing::FakeSettingsHost;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kFlush = std::chrono::milliseconds(500);
// The program's aim is 20 ms; a command's own reads take a few milliseconds under Wine on a
// loaded machine, so the limit is generous. What shows the save left the thread is that no
// flush ran on it, and that the command returned long before one flush could end.
constexpr auto kHookServedWithin = std::chrono::milliseconds(100);

// The program's host over a disk whose every flush takes kFlush: saves go to the worker as
// the program wires them, and so do the engine reloads, which read the files from the disk.
class SlowDiskHost : public FakeSettingsHost {
public:
    SlowDiskHost() {
        platform.flushDelay = kFlush;
        store().writeBehind({[this](std::function<void()> job) { worker.post(std::move(job)); },
                             [this] { return worker.onWorkerThread(); },
                             [this](const std::filesystem::path& path) {
                                 std::lock_guard lock(mutex);
                                 failedWrites.push_back(path);
                             }});
    }
    ~SlowDiskHost() override { worker.finishWithin(std::chrono::seconds(30)); }

    void applySettings() override {
        ++applied;
        worker.post([this] {
            std::lock_guard lock(mutex);
            reloadsSaw.push_back(readText(store().preferencesPath()) + "|" + readText(store().workingRulesPath()));
        });
    }
    void runInBackground(std::function<void()> job, std::function<void()> done) override {
        worker.post([job = std::move(job), done = std::move(done)] {
            job();
            done();
        });
    }
    void finish() { ASSERT_TRUE(worker.finishWithin(std::chrono::seconds(30))); }

    std::mutex mutex;
    std::vector<std::string> reloadsSaw;
    std::vector<std::filesystem::path> failedWrites;
    tray::BackgroundWorker worker;  // last: its jobs use the rest
};

const std::string kPrefs = R"({"active_languages":["en","ru","uk"],"learning_mode":true,"debug_log":false})";
const std::string kRules = R"({"version":1,"manual_overrides":{}})";

struct Command {
    const char* name;
    std::function<void(SlowDiskHost&)> run;
    // What the files on the disk hold once the saves are written.
    std::function<void(const JsonValue& prefs, const JsonValue& rules)> check;
};

const Command kCommands[] = {
    {"tray: Learning Mode",
     [](SlowDiskHost& h) {
         h.store().updatePreferences([](JsonValue& p) {
             setFlag(p, key::LearningMode, false);
             return true;
         });
     },
     [](const JsonValue& p, const JsonValue&) { EXPECT_FALSE(learningMode(p)); }},
    {"tray: Debug",
     [](SlowDiskHost& h) {
         h.store().updatePreferences([](JsonValue& p) {
             setFlag(p, key::DebugLog, true);
             return true;
         });
     },
     [](const JsonValue& p, const JsonValue&) { EXPECT_TRUE(debugLog(p)); }},
    {"tray: exclude a recent application",
     [](SlowDiskHost& h) {
         if (h.store().updatePreferences([](JsonValue& p) {
                 setExcluded(p, "code.exe", "code.exe", true, "");
                 return true;
             }))
             h.applySettings();
     },
     [](const JsonValue& p, const JsonValue&) { EXPECT_TRUE(isExcluded(p, "code.exe")); }},
    {"settings: option box", [](SlowDiskHost& h) { ui::setOption(h, ui::ctrl::PauseInGames, false); },
     [](const JsonValue& p, const JsonValue&) { EXPECT_FALSE(pauseInGames(p)); }},
    {"settings: sound", [](SlowDiskHost& h) { ui::chooseSound(h, ui::ctrl::CorrectionSound, 2); },
     [](const JsonValue& p, const JsonValue&) { EXPECT_EQ(correctionSound(p), "SystemNotification"); }},
    {"settings: update frequency", [](SlowDiskHost& h) { ui::chooseUpdateFrequency(h, 0); },
     [](const JsonValue& p, const JsonValue&) { EXPECT_EQ(updateFrequency(p), ui::kUpdateFrequencies[0]); }},
    {"settings: interface language", [](SlowDiskHost& h) { ui::chooseInterfaceLanguage(h, 1); },
     [](const JsonValue& p, const JsonValue&) { EXPECT_EQ(uiLanguage(p), ui::kInterfaceLanguages[1]); }},
    {"settings: language order", [](SlowDiskHost& h) { ui::moveLanguage(h, 2, -1); },
     [](const JsonValue& p, const JsonValue&) {
         EXPECT_EQ(activeLanguages(p), (std::vector<std::string>{"en", "uk", "ru"}));
     }},
    {"settings: exclude an application",
     [](SlowDiskHost& h) {
         const ui::ChosenApplication app{u"C:\\Tools\\Game.exe", u"Game"};
         ui::addExcludedApplications(h, std::span(&app, 1));
     },
     [](const JsonValue& p, const JsonValue&) { EXPECT_TRUE(isExcluded(p, "game.exe")); }},
    {"settings: hotkey",
     [](SlowDiskHost& h) {
         h.bindings.set(tray::hotkey::ConvertEn, {tray::modifier::Ctrl, 0x45}, h.store());
     },
     [](const JsonValue& p, const JsonValue&) {
         tray::HotkeyBindings stored;
         stored.loadFrom(p);
         EXPECT_EQ(stored.binding(tray::hotkey::ConvertEn).vk, 0x45u);
     }},
    {"settings: dictionary pair",
     [](SlowDiskHost& h) {
         h.runInBackground([&h] { ui::addDictionaryPair(h, u"ghbdtn", u"привет", "en", "ru"); }, [] {});
     },
     [](const JsonValue&, const JsonValue& r) { EXPECT_NE(toJsonText(r).find("ghbdtn"), std::string::npos); }},
    {"learning: Undo",
     [](SlowDiskHost& h) { h.worker.post([&h] { learnFromUndo(h.store(), "ntcn", [&h] { h.applySettings(); }); }); },
     [](const JsonValue&, const JsonValue& r) { EXPECT_NE(toJsonText(r).find("ntcn"), std::string::npos); }},
    {"settings: Restore defaults", [](SlowDiskHost& h) { ui::restoreAllDefaults(h, [](ui::RestoreOutcome) {}); },
     [](const JsonValue& p, const JsonValue&) {
         // The restored list holds the installed layouts only, and the hotkeys were saved after it.
         EXPECT_EQ(activeLanguages(p), (std::vector<std::string>{"en"}));
         EXPECT_NE(find(p, key::Hotkeys), nullptr);
     }},
};

JsonValue parsed(const std::string& text) {
    JsonValue value;
    EXPECT_TRUE(parseJson(text, value)) << text;
    return value;
}

// The hosts' workers write side by side, so the table costs about one flush, not one each.
TEST(SlowDisk, EveryCommandThatSavesLeavesTheHookServed) {
    std::vector<std::unique_ptr<SlowDiskHost>> hosts;
    Clock::duration longest{};
    for (const Command& command : kCommands) {
        SCOPED_TRACE(command.name);
        SlowDiskHost& host = *hosts.emplace_back(std::make_unique<SlowDiskHost>());
        host.writeRules(R"({})");
        host.writePreferences(kPrefs);
        const auto start = Clock::now();
        command.run(host);
        const auto held = Clock::now() - start;
        EXPECT_LT(held, kHookServedWithin);
        longest = std::max(longest, held);
    }
    for (size_t i = 0; i < hosts.size(); ++i) {
        SCOPED_TRACE(kCommands[i].name);
        SlowDiskHost& host = *hosts[i];
        host.finish();
        // Not one flush on the thread that serves the hook; each save reached the disk.
        EXPECT_EQ(host.platform.flushesOn(std::this_thread::get_id()), 0);
        EXPECT_GE(host.platform.writes.load(), 1);
        EXPECT_TRUE(host.failedWrites.empty());
        const std::string prefs = readText(host.store().preferencesPath());
        const std::string rules = readText(host.store().workingRulesPath());
        kCommands[i].check(parsed(prefs), parsed(rules));
        // Each reload ran after the saves before it had reached the disk.
        for (const std::string& seen : host.reloadsSaw) EXPECT_EQ(seen, prefs + "|" + rules);
    }
    RecordProperty("longest_command_us", int(std::chrono::duration_cast<std::chrono::microseconds>(longest).count()));
}

// Saves that follow each other faster than the disk: each builds on the one before (reads see
// queued text), the last one is what stays even though an earlier one changed the same key,
// and a reload asked for after a save finds that save (or a later one) on the disk.
TEST(SlowDisk, QueuedSavesStayInOrderAndReloadsSeeThem) {
    SlowDiskHost host;
    host.writeRules(R"({})");
    host.writePreferences(kPrefs);
    ASSERT_TRUE(ui::setOption(host, ui::ctrl::PauseInGames, false));
    ASSERT_TRUE(ui::setOption(host, ui::ctrl::PlaySound, false));
    ASSERT_TRUE(ui::setOption(host, ui::ctrl::PauseInGames, true));
    // The main thread's next read sees all three, written or not.
    const JsonValue now = host.preferences();
    EXPECT_TRUE(pauseInGames(now));
    EXPECT_FALSE(playSoundOnCorrection(now));
    host.finish();
    const JsonValue onDisk = parsed(readText(host.store().preferencesPath()));
    EXPECT_TRUE(pauseInGames(onDisk));
    EXPECT_FALSE(playSoundOnCorrection(onDisk));
    ASSERT_EQ(host.reloadsSaw.size(), 3u);
    auto prefsSeen = [&host](size_t i) {
        const std::string& seen = host.reloadsSaw[i];
        return seen.substr(0, seen.find('|'));
    };
    EXPECT_NE(prefsSeen(0), kPrefs) << "the first reload came before any save reached the disk";
    EXPECT_FALSE(playSoundOnCorrection(parsed(prefsSeen(1))));
    EXPECT_FALSE(playSoundOnCorrection(parsed(prefsSeen(2))));
    EXPECT_TRUE(pauseInGames(parsed(prefsSeen(2))));
    // Written no more often than asked; saves queued behind a write are folded into it.
    EXPECT_LE(host.platform.writes.load(), 3);
}

TEST(SlowDisk, AWriteThatFailsIsReportedAndReadsGoBackToTheDisk) {
    SlowDiskHost host;
    host.writeRules(R"({})");
    host.writePreferences(kPrefs);
    host.platform.failNextWrite = true;
    ASSERT_TRUE(ui::setOption(host, ui::ctrl::PauseInGames, false));
    host.finish();
    ASSERT_EQ(host.failedWrites.size(), 1u);
    EXPECT_EQ(host.failedWrites[0], host.store().preferencesPath());
    EXPECT_TRUE(pauseInGames(host.preferences()));
}

TEST(SlowDisk, RestoreDefaultsLeavesThePreferencesWhenTheRulesCannotBeWritten) {
    SlowDiskHost host;
    host.writeRules(R"({"a":["b"]})");
    host.writePreferences(kPrefs);
    host.platform.failNextWrite = true;
    std::atomic<int> outcome{-1};
    ui::restoreAllDefaults(host, [&outcome](ui::RestoreOutcome o) { outcome = int(o); });
    host.finish();
    EXPECT_EQ(outcome.load(), int(ui::RestoreOutcome::Failed));
    EXPECT_EQ(readText(host.store().preferencesPath()), kPrefs);
    EXPECT_EQ(host.applied, 0);
    EXPECT_TRUE(host.launchAtLoginCalls.empty());
}

}  // namespace
