// The settings window's state and the pieces its source files share. Internal to app/ui.
// Everything here is owned and used by the main thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "dictionary_tab.h"
#include "list_tabs.h"
#include "settings/manual_overrides.h"
#include "settings_host.h"
#include "settings_layout.h"

#include <string>
#include <vector>

namespace quillom::ui {

struct SettingsWindow {
    HINSTANCE instance = nullptr;
    SettingsHost* host = nullptr;
    HWND window = nullptr;
    HWND tabs = nullptr;
    HFONT font = nullptr;
    int dpi = 96;
    std::vector<Page> pages;
    std::vector<std::vector<HWND>> pageControls;  // one list per tab page
    HIMAGELIST excludedImages = nullptr;          // attached to the excluded-apps list view
    HBRUSH pageBrush = nullptr;                   // the colour of the tab pages, behind static texts
    // The whole dictionary as last read from the rules file; the search filters this.
    DictionaryRows dictionary;
    // The records the filled lists show, in row order.
    std::vector<settings::ExactPairEntry> pairRows;
    std::vector<settings::NeverCorrectEntry> neverRows;
    std::vector<LanguageRow> languageRows;
    std::vector<settings::ExcludedApp> excludedRows;
};

// The one settings window of the process.
SettingsWindow& settingsWindow();

// 1/96-inch units at the window's DPI.
int scaled(int units);
HWND control(int id);
const wchar_t* wide(const std::u16string& text);
std::u16string controlText(int id);
void setControlText(int id, const std::u16string& text);
int selectedRow(int listId);  // combo box, list box or list view; -1 when none
void addComboEntry(int id, const std::u16string& text, LPARAM data);

// Lists (settings_lists_win.cpp).
// Reads the dictionary again on the background worker, then fills its lists.
void reloadDictionary();
// Fills the dictionary lists from what was read, filtered by the search text.
void fillDictionaryLists();
void fillLanguageList();
void fillExcludedList();
void fillLanguagePickers();
bool handleListCommand(int id, int notification);

// Hotkey capture fields (hotkey_field_win.cpp).
void attachHotkeyField(HWND field, int id);
void showHotkeyTexts();

// Feedback (feedback_win.cpp).
void sendFeedback();
void showFeedbackResult(unsigned status);

}  // namespace quillom::ui
