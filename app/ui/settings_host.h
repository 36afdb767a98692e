// What the settings window needs from the running program, behind one interface: the
// settings store, the engine reload, and the tray shell's launch-at-login, updater, debug log,
// sounds and hotkeys. The tray program implements it; tests use a fake that records calls.
// Used on the user-interface thread, except for what runInBackground says.
#pragma once

#include "settings/settings_store.h"
#include "tray/hotkey_bindings.h"

#include <functional>
#include <string>

namespace quillom::ui {

class SettingsHost {
public:
    virtual ~SettingsHost() = default;

    virtual settings::SettingsStore& store() = 0;

    // Reloads the engine from the two files (the old one stays on failure), then the sound
    // and pause-in-games settings.
    virtual void applySettings() = 0;

    virtual bool launchAtLogin() = 0;
    // False when the system refused.
    virtual bool setLaunchAtLogin(bool on) = 0;

    virtual void applyUpdateFrequency(const std::string& frequency) = 0;
    virtual void checkForUpdatesInteractively() = 0;

    virtual bool developerMachine() = 0;
    virtual bool debugLogEnabled() = 0;
    // Switches the debug log and stores the choice; returns the state it now has.
    virtual bool setDebugLog(bool on) = 0;

    // A system sound alias, played asynchronously.
    virtual void playSound(const std::u16string& alias) = 0;

    virtual tray::HotkeyBindings& hotkeys() = 0;
    // Registers all bindings again after a change.
    virtual void registerHotkeys() = 0;
    // Unregisters them while a capture field waits for a shortcut, so that a combination
    // already bound reaches the field instead of running its command.
    virtual void suspendHotkeys() = 0;
    virtual std::u16string hotkeyText(tray::HotkeyBinding binding) = 0;

    // The thread of this window also serves the keyboard hook and must never be held up:
    // work that reads or writes the rules file runs as job on the program's background
    // worker (it may use store() and applySettings()), then done runs on this thread.
    virtual void runInBackground(std::function<void()> job, std::function<void()> done) = 0;
};

// A change to one stored file (see SettingsStore::updatePreferences and updateRules), then the
// reload through applySettings when it was saved. True when saved.
bool changePreferencesAndApply(SettingsHost& host, const settings::SettingsStore::Change& change);
bool changeRulesAndApply(SettingsHost& host, const settings::SettingsStore::Change& change);

}  // namespace quillom::ui
