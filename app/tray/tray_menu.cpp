#include "tray_menu.h"

#include "interface_strings.h"

#include "pipeline/foreground.h"
#include "common/utf16.h"
#include "quillom_version.h"

namespace quillom::tray {
namespace {

namespace menu_text {
constexpr int LaunchAtLogin = 4, Enabled = 5, LearningMode = 6, Debug = 7, PauseFor15Minutes = 8,
              PauseUntilRestart = 9, Resume = 10, Undo = 11, ConvertSelection = 12, ConvertTo = 13,
              DisableApp = 14, EnableApp = 15, DisableCurrentApp = 16, CheckForUpdates = 17, Settings = 18,
              Quit = 19;
}

MenuEntry item(std::u16string text, uint32_t command, bool checked = false, bool greyed = false) {
    return {MenuEntry::Kind::Item, std::move(text), command, checked, greyed, {}};
}

MenuEntry separator() { return {MenuEntry::Kind::Separator, {}, 0, false, false, {}}; }

// The language names stay the same in every interface language.
MenuEntry languageItem(std::u16string name, const std::optional<std::u16string>& hotkey, uint32_t command) {
    if (hotkey) name += u'\t' + *hotkey;
    return item(std::move(name), command);
}

void addRecentApps(std::vector<MenuEntry>& menu, const TrayMenuState& state) {
    if (state.recentApps.empty()) {
        menu.push_back(item(text(menu_text::DisableCurrentApp), command::FirstRecentApp, false, true));
        return;
    }
    uint32_t index = 0;
    for (const RecentAppEntry& app : state.recentApps) {
        if (index == 4) break;
        std::u16string name = toUtf16(pipeline::displayNameOf(app.appId));
        int id = app.excluded ? menu_text::EnableApp : menu_text::DisableApp;
        menu.push_back(item(formattedText(id, name), command::FirstRecentApp + index++));
    }
}

}  // namespace

std::vector<MenuEntry> buildTrayMenu(const TrayMenuState& state) {
    std::vector<MenuEntry> menu;
    menu.push_back(item(u"Quillom " QUILLOM_VERSION " — " + state.statusText, 0, false, true));
    menu.push_back(separator());
    menu.push_back(item(text(menu_text::LaunchAtLogin), command::LaunchAtLogin, state.launchAtLogin));
    menu.push_back(item(text(menu_text::Enabled), command::Enabled, state.enabled));
    menu.push_back(item(text(menu_text::LearningMode), command::LearningMode, state.learningMode));
    if (state.developerMachine) menu.push_back(item(text(menu_text::Debug), command::Debug, state.debugLog));
    menu.push_back(separator());
    menu.push_back(item(text(menu_text::PauseFor15Minutes), command::PauseFor15Minutes));
    menu.push_back(item(text(menu_text::PauseUntilRestart), command::PauseUntilRestart));
    if (state.paused) menu.push_back(item(text(menu_text::Resume), command::Resume));
    menu.push_back(separator());
    menu.push_back(item(text(menu_text::Undo), command::Undo, false, !state.undoAvailable));
    menu.push_back(item(text(menu_text::ConvertSelection), command::ConvertSelection));
    MenuEntry convertTo{MenuEntry::Kind::Submenu, text(menu_text::ConvertTo), 0, false, false, {}};
    convertTo.children.push_back(languageItem(u"English", state.convertEnHotkey, command::ConvertToEnglish));
    convertTo.children.push_back(languageItem(u"Українська", state.convertUkHotkey, command::ConvertToUkrainian));
    convertTo.children.push_back(languageItem(u"Русский", state.convertRuHotkey, command::ConvertToRussian));
    menu.push_back(std::move(convertTo));
    menu.push_back(separator());
    addRecentApps(menu, state);
    menu.push_back(separator());
    menu.push_back(item(text(menu_text::CheckForUpdates), command::CheckForUpdates));
    menu.push_back(item(text(menu_text::Settings), command::Settings));
    menu.push_back(separator());
    menu.push_back(item(text(menu_text::Quit), command::Quit));
    return menu;
}

std::u16string trayTooltip(const std::u16string& statusText) {
    std::u16string tip = u"Quillom — " + statusText;
    if (tip.size() > 127) tip.resize(127);
    return tip;
}

}  // namespace quillom::tray
