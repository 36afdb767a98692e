// The tray menu, its commands and the hotkeys of the tray program.
#include "tray_app_win.h"

#include "pipeline/undo_convert.h"
#include "common/utf16.h"
#include "settings/app_mode_store.h"
#include "settings/learning.h"
#include "settings/preferences.h"
#include "tray/interface_strings.h"
#include "tray/launch_at_login_win.h"
#include "tray/tray_menu_win.h"
#include "tray/update_notice.h"
#include "tray/update_notice_win.h"
#include "quillom_version.h"

namespace quillom {
namespace {

using quillom::logLine;
namespace command = tray::command;

}  // namespace

void TrayApp::showMenu() {
    tray::TrayMenuState state;
    state.statusText = tray::statusText(status());
    state.portable = store_.portable();
    state.launchAtLogin = !state.portable && tray::launchAtLoginEnabled();
    state.enabled = pause_.enabled;
    state.learningMode = learningMode_;
    state.developerMachine = debugLog_.developerMachine();
    state.debugLog = debugLog_.enabled();
    state.paused = pause_.paused;
    state.undoAvailable = pipeline_.undo.available;
    menuApps_ = pipeline_.recentApps.snapshot();
    const settings::JsonValue prefs = store_.preferences();
    for (const std::string& app : menuApps_) state.recentApps.push_back({app, settings::appMode(prefs, app)});
    auto hotkeyText = [this](int id) -> std::optional<std::u16string> {
        tray::HotkeyBinding binding = hotkeys_.binding(id);
        if (binding.vk == 0) return std::nullopt;
        return tray::hotkeyText(binding, keyNames_);
    };
    state.convertEnHotkey = hotkeyText(tray::hotkey::ConvertEn);
    state.convertUkHotkey = hotkeyText(tray::hotkey::ConvertUk);
    state.convertRuHotkey = hotkeyText(tray::hotkey::ConvertRu);
    tray::showTrayMenu(window_, tray::buildTrayMenu(state));
}

void TrayApp::runCommand(uint32_t id) {
    switch (id) {
    case command::LaunchAtLogin: toggleLaunchAtLogin(); break;
    case command::Enabled: pauseCommand(pipeline::PauseCommand::ToggleEnabled); break;
    case command::LearningMode: toggleLearningMode(); break;
    case command::Debug: switchDebugLog(!debugLog_.enabled()); break;
    case command::PauseFor15Minutes: pauseCommand(pipeline::PauseCommand::PauseFor15Minutes); break;
    case command::PauseUntilRestart: pauseCommand(pipeline::PauseCommand::PauseUntilRestart); break;
    case command::Resume: pauseCommand(pipeline::PauseCommand::Resume); break;
    case command::Undo: undo(); break;
    case command::ConvertSelection: convert(""); break;
    case command::ConvertToEnglish: convert("en"); break;
    case command::ConvertToUkrainian: convert("uk"); break;
    case command::ConvertToRussian: convert("ru"); break;
    case command::CheckForUpdates: checkForUpdates(true); break;
    case command::Settings: openSettings(); break;
    case command::Quit: DestroyWindow(window_); break;
    default:
        if (std::optional<tray::RecentAppChoice> choice = tray::recentAppChoice(id, menuApps_.size()))
            setAppMode(menuApps_[choice->appIndex], choice->mode);
        break;
    }
}

void TrayApp::pauseCommand(pipeline::PauseCommand c) {
    if (pipeline::applyPauseCommand(pause_, c) == pipeline::PauseTimer::Start)
        SetTimer(window_, kTimerPauseEnd, kPauseMilliseconds, nullptr);
    else KillTimer(window_, kTimerPauseEnd);
    applyState();
}

// Learning reads and writes the rules file and builds a new engine: the
// worker does it, the hooks stay served.
void TrayApp::undo() {
    if (std::optional<std::string> restored = pipeline::undoLastCorrection(hook_)) learnFromUndo(*restored);
}

void TrayApp::learnFromUndo(const std::string& word) {
    if (!learningMode_) return;
    worker_.post([this, word] { settings::learnFromUndo(store_, word, [this] { engines_.rebuild(); }); });
}

void TrayApp::convert(const std::string& target) {
    std::optional<pipeline::ConversionResult> result = pipeline::convertSelection(hook_, target);
    if (!result || !learningMode_) return;
    worker_.post([this, r = *result] {
        auto reload = [this] { engines_.rebuild(); };
        settings::learnFromConversion(store_, r.selection, r.converted, r.targetLang, reload);
    });
}

void TrayApp::toggleLearningMode() {
    const bool saved = store_.updatePreferences([this](settings::JsonValue& prefs) {
        settings::setFlag(prefs, settings::key::LearningMode, !learningMode_);
        return true;
    });
    if (saved) learningMode_ = !learningMode_;
}

bool TrayApp::switchDebugLog(bool on) {
    const bool now = debugLog_.setEnabled(on);
    store_.updatePreferences([now](settings::JsonValue& prefs) {
        settings::setFlag(prefs, settings::key::DebugLog, now);
        return true;
    });
    if (now) logLine("=== debug log enabled ===");
    return now;
}

void TrayApp::toggleLaunchAtLogin() {
    if (store_.portable()) return;
    bool turnOn = !tray::launchAtLoginEnabled();
    if (!tray::setLaunchAtLogin(turnOn) && turnOn)
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(tray::text(tray::TextId::LaunchAtLoginBlocked).c_str()),
                    L"Quillom", MB_ICONINFORMATION);
}

void TrayApp::setAppMode(const std::string& appId, AppMode mode) {
    if (appId.empty()) return;
    const bool saved = store_.updatePreferences([&](settings::JsonValue& prefs) {
        if (settings::appMode(prefs, appId) == mode) return false;
        settings::setAppMode(prefs, appId, appId, mode, "");
        return true;
    });
    if (saved) applySettings();
}

// A portable copy only tells: the updater library would keep its state in the registry and
// run the setup program.
void TrayApp::checkForUpdates(bool askedByUser) {
    if (!store_.portable()) {
        if (askedByUser) updater_->checkWithUi();
        return;
    }
    // Its own thread: a server that does not answer must not hold up learning and reloads.
    updateChecks_.post([this, askedByUser] {
        std::optional<std::string> appcast = tray::fetchAppcast(QUILLOM_APPCAST_URL);
        postToMainThread([this, appcast = std::move(appcast), askedByUser] {
            if (auto notice = tray::updateNotice(appcast, QUILLOM_VERSION, askedByUser))
                notifyIcon_.notify(u"Quillom", *notice);
        });
    });
}

void TrayApp::registerHotkeys() {
    hotkeysOffHere_ = false;
    for (int id = tray::hotkey::First; id <= tray::hotkey::Last; ++id) {
        UnregisterHotKey(window_, id);
        tray::HotkeyBinding binding = hotkeys_.binding(id);
        // A combination another program owns is refused; the settings window shows that.
        const bool refused =
            binding.vk != 0 && !RegisterHotKey(window_, id, binding.mods | tray::kModNoRepeat, binding.vk);
        hotkeys_.setRegistrationRefused(id, refused);
        if (refused) logLine("hotkey %d refused by the system (error %lu)", id, GetLastError());
    }
    pipeline_.undoHotkeyVk = hotkeys_.binding(tray::hotkey::Undo).vk;
}

void TrayApp::followForegroundMode() {
    const pipeline::WindowId front = desktop_.foregroundWindow();
    // Quillom's own windows (the hotkey fields among them) leave the registration as it is.
    if (front == 0 || desktop_.belongsToThisProcess(front)) return;
    const bool off =
        !pipeline::allows(pipeline_.appModes.of(desktop_.executableName(front)), pipeline::AppAction::Convert);
    if (off == hotkeysOffHere_) return;
    if (!off) {
        registerHotkeys();
        return;
    }
    for (int id = tray::hotkey::First; id <= tray::hotkey::Last; ++id) UnregisterHotKey(window_, id);
    hotkeysOffHere_ = true;
    logLine("hotkeys: off while %s is in front", desktop_.executableName(front).c_str());
}

void TrayApp::onHotkey(int id) {
    if (std::optional<int> now = hotkeyGate_.press(id, pipeline_.heldModifiers.any(), GetTickCount())) runHotkey(*now);
    else SetTimer(window_, kTimerHotkeyRelease, kHotkeyPollMilliseconds, nullptr);
}

void TrayApp::onHotkeyReleasePoll() {
    std::optional<int> id = hotkeyGate_.poll(pipeline_.heldModifiers.any(), GetTickCount());
    if (hotkeyGate_.waiting()) return;
    KillTimer(window_, kTimerHotkeyRelease);
    if (id) runHotkey(*id);
}

void TrayApp::runHotkey(int id) {
    switch (id) {
    case tray::hotkey::Undo: undo(); break;
    case tray::hotkey::Convert: convert(""); break;
    case tray::hotkey::ConvertEn: convert("en"); break;
    case tray::hotkey::ConvertRu: convert("ru"); break;
    case tray::hotkey::ConvertUk: convert("uk"); break;
    default: break;
    }
}

}  // namespace quillom
