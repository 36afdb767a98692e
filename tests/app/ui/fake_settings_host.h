// A SettingsHost over the fake settings platform that records what the window asked of the
// program.
#pragma once

#include "fake_settings_platform.h"
#include "ui/settings_host.h"

#include <string>
#include <vector>

namespace quillom::ui::testing {

class FakeSettingsHost : public SettingsHost {
public:
    FakeSettingsHost() {
        platform.appData = temp.path() / "Local";
        platform.exe = temp.path() / "Program" / "Quillom.exe";
        std::filesystem::create_directories(store_.settingsFolder());
        std::filesystem::create_directories(platform.exe.parent_path());
    }

    // Template and working rules with the given manual_overrides text, preferences as given.
    void writeRules(std::string_view overrides) {
        const std::string text = std::string(R"({"version":1,"manual_overrides":)") + std::string(overrides) + "}";
        settings::testing::writeText(store_.templateRulesPath(), text);
        settings::testing::writeText(store_.workingRulesPath(), text);
    }
    void writePreferences(std::string_view text) { settings::testing::writeText(store_.preferencesPath(), text); }
    settings::JsonValue preferences() const { return store_.preferences(); }
    settings::JsonValue rules() const {
        settings::JsonValue rules;
        store_.loadRules(rules);
        return rules;
    }

    settings::SettingsStore& store() override { return store_; }
    void applySettings() override { ++applied; }
    bool launchAtLogin() override { return launchAtLoginOn; }
    bool setLaunchAtLogin(bool on) override {
        launchAtLoginCalls.push_back(on);
        if (refuseLaunchAtLogin) return false;
        launchAtLoginOn = on;
        return true;
    }
    void applyUpdateFrequency(const std::string& frequency) override { frequencies.push_back(frequency); }
    void checkForUpdatesInteractively() override {}
    bool developerMachine() override { return true; }
    bool debugLogEnabled() override { return debugLog; }
    bool setDebugLog(bool on) override { return debugLog = on; }
    void playSound(const std::u16string& alias) override { played.push_back(alias); }
    tray::HotkeyBindings& hotkeys() override { return bindings; }
    void registerHotkeys() override { ++registered; }
    void suspendHotkeys() override {}
    std::u16string hotkeyText(tray::HotkeyBinding) override { return u"?"; }
    void runInBackground(std::function<void()> job, std::function<void()> done) override {
        ++backgroundJobs;
        job();
        done();
    }

    settings::testing::TempFolder temp;
    settings::testing::FakeSettingsPlatform platform;
    tray::HotkeyBindings bindings;
    int applied = 0;
    int registered = 0;
    int backgroundJobs = 0;
    bool launchAtLoginOn = false;
    bool refuseLaunchAtLogin = false;
    bool debugLog = true;
    std::vector<bool> launchAtLoginCalls;
    std::vector<std::string> frequencies;
    std::vector<std::u16string> played;

private:
    settings::SettingsStore store_{platform};
};

}  // namespace quillom::ui::testing
