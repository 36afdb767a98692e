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
#include "win/scoped_win.h"

#include <string>
#include <vector>

namespace quillom::ui {

// What a rebuild after a DPI change keeps: the new DPI and the box the system suggested.
struct Reopening {
    int dpi = 0;  // 0: an ordinary opening
    Box suggested;
};

struct SettingsWindow {
    HINSTANCE instance = nullptr;
    SettingsHost* host = nullptr;
    HWND window = nullptr;
    HWND tabs = nullptr;
    win::ScopedFont font;
    int dpi = 96;
    Reopening reopening;
    int reopenPage = 0;  // the tab shown again after any rebuild
    std::vector<Page> pages;
    std::vector<std::vector<HWND>> pageControls;  // one list per tab page
    HIMAGELIST excludedImages = nullptr;          // attached to the excluded-apps list view
    win::ScopedBrush pageBrush;                   // the colour of the tab pages, behind static texts
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
std::u16string windowText(HWND hwnd);
std::u16string controlText(int id);
void setControlText(int id, const std::u16string& text);
int selectedRow(int listId);  // combo box, list box or list view; -1 when none
void addComboEntry(int id, const std::u16string& text, LPARAM data);

// The frame: class, DPI, font, tab control, version line and page brush (settings_frame_win.cpp).
bool createFrame(WNDPROC windowProc);
// The tab control's display area in its own client coordinates.
RECT tabDisplayArea();

// The pages (settings_pages_win.cpp).
void createPages();
void showPage(int index);
// The text a control is created with.
std::u16string initialText(const ControlSpec& def);

// Every page filled with what is stored now (settings_fill_win.cpp).
void fillPages();
std::wstring executablePath();

// Texts that do not fit their controls, named in the debug log (clipped_text_report_win.cpp).
void reportClippedTexts();

// Lists (settings_lists_win.cpp).
// Reads the dictionary again on the background worker, then fills its lists.
void reloadDictionary();
// Fills the dictionary lists from what was read, filtered by the search text.
void fillDictionaryLists();
void fillLanguageList();
void fillExcludedList();
// The mode list shows the mode of the selected application; greyed without one.
void showSelectedAppMode();
void fillLanguagePickers();
bool handleListCommand(int id, int notification);

// Hotkey capture fields (hotkey_field_win.cpp).
void attachHotkeyField(HWND field, int id);
void showHotkeyTexts();

// Feedback (feedback_win.cpp).
void sendFeedback();
void showFeedbackResult(unsigned status);

}  // namespace quillom::ui
