// The tray program as the settings window's host: the window reaches the store, the engine
// reload and the tray shell through this adapter.
#include "tray_app_win.h"

#include "settings/preferences.h"
#include "tray/interface_strings.h"
#include "tray/launch_at_login_win.h"
#include "ui/settings_window_win.h"

namespace quillom {

class TrayAppSettingsHost final : public ui::SettingsHost {
public:
    explicit TrayAppSettingsHost(TrayApp& app) : app_(app) {}

    settings::SettingsStore& store() override { return app_.store_; }
    void applySettings() override { app_.applySettings(); }
    bool launchAtLogin() override { return !app_.store_.portable() && tray::launchAtLoginEnabled(); }
    bool setLaunchAtLogin(bool on) override { return !app_.store_.portable() && tray::setLaunchAtLogin(on); }
    void applyUpdateFrequency(const std::string& frequency) override { app_.updater_->changeFrequency(frequency); }
    void checkForUpdatesInteractively() override { app_.checkForUpdates(true); }
    bool developerMachine() override { return app_.debugLog_.developerMachine(); }
    bool debugLogEnabled() override { return app_.debugLog_.enabled(); }
    bool setDebugLog(bool on) override { return app_.switchDebugLog(on); }
    void playSound(const std::u16string& alias) override { app_.sound_.play(alias); }
    tray::HotkeyBindings& hotkeys() override { return app_.hotkeys_; }
    void registerHotkeys() override { app_.registerHotkeys(); }
    void suspendHotkeys() override {
        for (int id = tray::hotkey::First; id <= tray::hotkey::Last; ++id) UnregisterHotKey(app_.window_, id);
    }
    std::u16string hotkeyText(tray::HotkeyBinding binding) override {
        return tray::hotkeyText(binding, app_.keyNames_);
    }
    void runInBackground(std::function<void()> job, std::function<void()> done) override {
        app_.runInBackground(std::move(job), std::move(done));
    }

private:
    TrayApp& app_;
};

void TrayApp::openSettings() {
    // One program, one window: the host lives as long as the process.
    static TrayAppSettingsHost host(*this);
    ui::openSettingsWindow(instance_, host);
}

}  // namespace quillom
