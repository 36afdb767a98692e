#include "tray_menu.h"

#include "interface_strings.h"

#include "pipeline/foreground.h"
#include "pipeline/pause_state.h"
#include "common/utf16.h"
#include "quillom_version.h"

namespace quillom::tray {
namespace {

constexpr size_t kRecentAppsShown = 4;

MenuEntry item(std::u16string text, uint32_t command, bool checked = false, bool greyed = false) {
    return {MenuEntry::Kind::Item, std::move(text), command, checked, greyed, {}};
}

MenuEntry item(TextId text, uint32_t command, bool checked = false, bool greyed = false) {
    return item(tray::text(text), command, checked, greyed);
}

MenuEntry separator() { return {MenuEntry::Kind::Separator, {}, 0, false, false, {}}; }

// The language names stay the same in every interface language.
MenuEntry languageItem(std::u16string name, const std::optional<std::u16string>& hotkey, uint32_t command) {
    if (hotkey) name += u'\t' + *hotkey;
    return item(std::move(name), command);
}

void addRecentApps(std::vector<MenuEntry>& menu, const TrayMenuState& state) {
    if (state.recentApps.empty()) {
        menu.push_back(item(TextId::MenuDisableCurrentApp, command::FirstRecentApp, false, true));
        return;
    }
    for (size_t index = 0; index < state.recentApps.size() && index < kRecentAppsShown; ++index) {
        const RecentAppEntry& app = state.recentApps[index];
        std::u16string name = toUtf16(pipeline::displayNameOf(app.appId));
        MenuEntry modes{MenuEntry::Kind::Submenu, formattedText(TextId::MenuAppIn, name), 0, false, false, {}};
        for (AppMode mode : kAppModes)
            modes.children.push_back(item(appModeText(mode), recentAppCommand(index, mode), app.mode == mode));
        menu.push_back(std::move(modes));
    }
}

}  // namespace

uint32_t recentAppCommand(size_t appIndex, AppMode mode) {
    return command::FirstRecentApp + uint32_t(appIndex * std::size(kAppModes)) + uint32_t(mode);
}

std::optional<RecentAppChoice> recentAppChoice(uint32_t command, size_t appsShown) {
    if (command < command::FirstRecentApp) return std::nullopt;
    const size_t offset = command - command::FirstRecentApp, appIndex = offset / std::size(kAppModes);
    if (appIndex >= std::min(appsShown, kRecentAppsShown)) return std::nullopt;
    return RecentAppChoice{appIndex, kAppModes[offset % std::size(kAppModes)]};
}

std::vector<MenuEntry> buildTrayMenu(const TrayMenuState& state) {
    std::vector<MenuEntry> menu;
    menu.push_back(item(u"Quillom " QUILLOM_VERSION " — " + state.statusText, 0, false, true));
    menu.push_back(separator());
    if (state.portable) menu.push_back(item(TextId::MenuLaunchAtLoginPortable, command::LaunchAtLogin, false, true));
    else menu.push_back(item(TextId::MenuLaunchAtLogin, command::LaunchAtLogin, state.launchAtLogin));
    menu.push_back(item(TextId::MenuEnabled, command::Enabled, state.enabled));
    menu.push_back(item(TextId::MenuLearningMode, command::LearningMode, state.learningMode));
    if (state.developerMachine) menu.push_back(item(TextId::MenuDebug, command::Debug, state.debugLog));
    menu.push_back(separator());
    menu.push_back(item(TextId::MenuPauseFor15Minutes, command::PauseFor15Minutes));
    menu.push_back(item(TextId::MenuPauseUntilRestart, command::PauseUntilRestart));
    if (state.paused) menu.push_back(item(TextId::MenuResume, command::Resume));
    menu.push_back(separator());
    menu.push_back(item(TextId::UndoLastCorrection, command::Undo, false, !state.undoAvailable));
    menu.push_back(item(TextId::ConvertSelectedText, command::ConvertSelection));
    MenuEntry convertTo{MenuEntry::Kind::Submenu, text(TextId::ConvertTo), 0, false, false, {}};
    convertTo.children.push_back(languageItem(u"English", state.convertEnHotkey, command::ConvertToEnglish));
    convertTo.children.push_back(languageItem(u"Українська", state.convertUkHotkey, command::ConvertToUkrainian));
    convertTo.children.push_back(languageItem(u"Русский", state.convertRuHotkey, command::ConvertToRussian));
    menu.push_back(std::move(convertTo));
    menu.push_back(separator());
    addRecentApps(menu, state);
    menu.push_back(separator());
    menu.push_back(item(TextId::MenuCheckForUpdates, command::CheckForUpdates));
    menu.push_back(item(TextId::MenuSettings, command::Settings));
    menu.push_back(separator());
    menu.push_back(item(TextId::MenuQuit, command::Quit));
    return menu;
}

const std::u16string& statusText(pipeline::Status status) {
    switch (status) {
    case pipeline::Status::Active: return text(TextId::StatusActive);
    case pipeline::Status::Paused: return text(TextId::StatusPaused);
    case pipeline::Status::PausedFullScreen: return text(TextId::StatusPausedFullScreen);
    case pipeline::Status::Disabled: break;
    }
    return text(TextId::StatusDisabled);
}

std::u16string trayTooltip(const std::u16string& statusText) {
    std::u16string tip = u"Quillom — " + statusText;
    if (tip.size() > 127) tip.resize(127);
    return tip;
}

}  // namespace quillom::tray
