// The settings window's pages filled with what is stored now, one step per page.
#include "settings_window_state_win.h"

#include "control_ids.h"
#include "feedback.h"
#include "general_tab.h"
#include "language_picker.h"
#include "settings/preferences.h"
#include "tray/interface_strings.h"

namespace quillom::ui {
namespace {

using tray::TextId;

void check(int id, bool on) { SendMessageW(control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }

void select(int id, int row) { SendMessageW(control(id), CB_SETCURSEL, row, 0); }

void fillGeneral(SettingsHost& host) {
    for (std::string_view code : kInterfaceLanguages)
        addComboEntry(ctrl::InterfaceLanguage, languageDisplayName(code), 0);
    select(ctrl::InterfaceLanguage, interfaceLanguageRow(tray::interfaceLanguage()));
    for (TextId text : kUpdateFrequencyTexts) addComboEntry(ctrl::UpdateFrequency, tray::text(text), 0);
    select(ctrl::UpdateFrequency, updateFrequencyRow(host.store().updateFrequency()));
    check(ctrl::LaunchAtLogin, host.launchAtLogin());
    if (host.store().portable()) {
        setControlText(ctrl::LaunchAtLogin, tray::text(TextId::LaunchAtLoginPortableOption));
        EnableWindow(control(ctrl::LaunchAtLogin), FALSE);
    }
}

void fillSound(const settings::JsonValue& prefs) {
    for (int id : {ctrl::CorrectionSound, ctrl::UndoSound})
        for (TextId text : kSoundTexts) addComboEntry(id, tray::text(text), 0);
    select(ctrl::CorrectionSound, soundRow(settings::correctionSound(prefs), "SystemAsterisk"));
    select(ctrl::UndoSound, soundRow(settings::undoSound(prefs), "SystemExclamation"));
    check(ctrl::PlaySound, settings::playSoundOnCorrection(prefs));
}

void fillAutoRules(const settings::JsonValue& prefs) {
    check(ctrl::BackspaceReverts, settings::backspaceRevertsCorrection(prefs));
    check(ctrl::UppercaseOnlyExactPairs, settings::uppercaseOnlyExactPairs(prefs));
    check(ctrl::ProtectEndings, settings::protectEndingsAfterDelete(prefs));
    check(ctrl::PauseInGames, settings::pauseInGames(prefs));
}

void fillFeedback() {
    for (TextId text : kFeedbackTypeTexts) addComboEntry(ctrl::FeedbackType, tray::text(text), 0);
    select(ctrl::FeedbackType, 0);
}

// Installed by the setup program, or from the Store when the process has a package identity.
bool hasPackageIdentity() {
    using Query = LONG(WINAPI*)(UINT32*, PWSTR);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetCurrentPackageFullName")));
    if (!query) return false;
    UINT32 length = 0;
    return query(&length, nullptr) != APPMODEL_ERROR_NO_PACKAGE;
}

// The page exists on developer machines only.
void fillDebug(SettingsHost& host) {
    check(ctrl::DebugLog, host.debugLogEnabled());
    if (!control(ctrl::ExecutablePath)) return;
    SetWindowTextW(control(ctrl::ExecutablePath), executablePath().c_str());
    setControlText(ctrl::Distribution,
                   tray::text(TextId::DistributionPrefix) +
                       (hasPackageIdentity() ? u"Microsoft Store" : u"Installer (NSIS / WinSparkle)"));
}

}  // namespace

void fillPages() {
    SettingsHost& host = *settingsWindow().host;
    fillGeneral(host);
    const settings::JsonValue prefs = host.store().preferences();
    fillSound(prefs);
    fillAutoRules(prefs);
    fillFeedback();
    fillDebug(host);
    showHotkeyTexts();
    fillLanguagePickers();
    fillLanguageList();
    fillExcludedList();
    reloadDictionary();
}

std::wstring executablePath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return path;
}

}  // namespace quillom::ui
