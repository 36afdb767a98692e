// The Dictionary, Languages and Excluded Apps lists: filled from disk, and their buttons.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <functional>
#include <memory>

#include "control_ids.h"
#include "dictionary_tab.h"
#include "language_picker.h"
#include "common/utf16.h"
#include "settings_window_state_win.h"
#include "tray/interface_strings.h"

namespace quillom::ui {
namespace {

constexpr DWORD kDialogBufferLength = 65536;

std::u16string utf16(const std::string& text) { return toUtf16(text); }

void addRow(HWND list, int row, const std::vector<std::u16string>& cells, int image = -1) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = row;
    item.iImage = image;
    item.pszText = const_cast<wchar_t*>(wide(cells.front()));
    const int index = ListView_InsertItem(list, &item);
    for (size_t column = 1; column < cells.size(); ++column)
        ListView_SetItemText(list, index, int(column), const_cast<wchar_t*>(wide(cells[column])));
}

void fillPicker(int id, const LanguagePicker& picker) {
    HWND combo = control(id);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (size_t i = 0; i < picker.codes.size(); ++i)
        addComboEntry(id, languageDisplayName(picker.codes[i]), picker.numbers[i]);
    SendMessageW(combo, CB_SETCURSEL, picker.selected, 0);
}

std::string pickerValue(int id) {
    const int row = selectedRow(id);
    return pickerLanguage(row < 0 ? 0 : int(SendMessageW(control(id), CB_GETITEMDATA, row, 0)));
}

// A change of the rules file: on the background worker, then the lists are read again.
void editDictionary(std::function<void(SettingsHost&)> edit) {
    SettingsHost* host = settingsWindow().host;
    host->runInBackground([host, edit = std::move(edit)] { edit(*host); }, reloadDictionary);
}

void addPair() {
    const std::u16string typed = controlText(ctrl::PairTyped), corrected = controlText(ctrl::PairCorrected);
    if (stripBlanks(typed).empty() || stripBlanks(corrected).empty()) return;
    editDictionary([typed, corrected, from = pickerValue(ctrl::PairFrom), to = pickerValue(ctrl::PairTo)](
                       SettingsHost& host) { addDictionaryPair(host, typed, corrected, from, to); });
    setControlText(ctrl::PairTyped, u"");
    setControlText(ctrl::PairCorrected, u"");
}

void addNeverCorrect() {
    const std::u16string word = controlText(ctrl::NeverWord);
    if (stripBlanks(word).empty()) return;
    editDictionary(
        [word, lang = pickerValue(ctrl::NeverLanguage)](SettingsHost& host) { addNeverCorrectWord(host, word, lang); });
    setControlText(ctrl::NeverWord, u"");
}

template <typename Record, typename Remove>
void removeSelected(int listId, const std::vector<Record>& rows, Remove remove) {
    const int row = selectedRow(listId);
    if (row < 0 || size_t(row) >= rows.size()) return;
    const Record record = rows[size_t(row)];
    remove(*settingsWindow().host, record);
}

template <typename Record, typename Remove>
void removeSelectedInBackground(int listId, const std::vector<Record>& rows, Remove remove) {
    const int row = selectedRow(listId);
    if (row < 0 || size_t(row) >= rows.size()) return;
    editDictionary([record = rows[size_t(row)], remove](SettingsHost& host) { remove(host, record); });
}

void moveSelectedLanguage(int delta) {
    const std::optional<std::string> moved =
        moveLanguage(*settingsWindow().host, int(SendMessageW(control(ctrl::LanguageList), LB_GETCURSEL, 0, 0)), delta);
    fillLanguageList();
    if (!moved) return;
    const std::vector<LanguageRow>& rows = settingsWindow().languageRows;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].code == *moved) SendMessageW(control(ctrl::LanguageList), LB_SETCURSEL, i, 0);
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shell's small icon of the file, or its generic one for executables.
int addIcon(HIMAGELIST images, const std::wstring& path) {
    SHFILEINFOW info{};
    const bool found = !path.empty() && isFile(path) &&
                       SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon;
    if (!found)
        SHGetFileInfoW(L".exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | SHGFI_SMALLICON);
    if (!info.hIcon) return -1;
    const int index = ImageList_AddIcon(images, info.hIcon);
    DestroyIcon(info.hIcon);  // the image list keeps a copy
    return index;
}

void addApplications() {
    std::wstring buffer(kDialogBufferLength, L'\0');
    const std::u16string& title = tray::text(tray::TextId::ChooseApplicationsTitle);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = settingsWindow().window;
    dialog.lpstrFilter = L"Applications (*.exe)\0*.exe\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kDialogBufferLength;
    dialog.lpstrTitle = wide(title);
    dialog.lpstrDefExt = L"exe";
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return;
    std::vector<ChosenApplication> apps;
    for (std::u16string& path :
         chosenPaths(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()), buffer.size()))) {
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<const wchar_t*>(path.c_str()), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
        apps.push_back({std::move(path), std::u16string(reinterpret_cast<const char16_t*>(info.szDisplayName))});
    }
    addExcludedApplications(*settingsWindow().host, apps);
    fillExcludedList();
}

// Keeps the row selected, so that the keyboard user stays where they were.
void changeSelectedAppMode() {
    SettingsWindow& w = settingsWindow();
    const int row = selectedRow(ctrl::ExcludedList), choice = selectedRow(ctrl::ExcludedMode);
    if (row < 0 || size_t(row) >= w.excludedRows.size() || choice < 0 || size_t(choice) >= std::size(kAppModes)) return;
    const std::string key = w.excludedRows[size_t(row)].key;
    setExcludedAppMode(*w.host, w.excludedRows[size_t(row)], kAppModes[choice]);
    fillExcludedList();
    for (size_t i = 0; i < w.excludedRows.size(); ++i) {
        if (w.excludedRows[i].key != key) continue;
        ListView_SetItemState(control(ctrl::ExcludedList), int(i), LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        showSelectedAppMode();
    }
}

}  // namespace

void fillLanguagePickers() {
    const std::vector<std::string> active = settingsWindow().host->store().activeLanguages();
    fillPicker(ctrl::PairFrom, languagePicker(active, "en"));
    fillPicker(ctrl::PairTo, languagePicker(active, firstCyrillicLanguage(active)));
    fillPicker(ctrl::NeverLanguage, languagePicker(active, "en"));
}

void reloadDictionary() {
    SettingsWindow& w = settingsWindow();
    if (!w.host) return;
    SettingsHost* host = w.host;
    auto rows = std::make_shared<DictionaryRows>();
    host->runInBackground([host, rows] { *rows = loadDictionaryRows(host->store()); },
                          [rows] {
                              settingsWindow().dictionary = std::move(*rows);
                              fillDictionaryLists();
                          });
}

void fillDictionaryLists() {
    SettingsWindow& w = settingsWindow();
    HWND pairs = control(ctrl::PairList), never = control(ctrl::NeverList);
    if (!pairs || !never) return;
    DictionaryRows rows = filterDictionaryRows(w.dictionary, w.host->store().platform(), controlText(ctrl::Search));
    ListView_DeleteAllItems(pairs);
    for (size_t i = 0; i < rows.pairs.size(); ++i) {
        const settings::ExactPairEntry& p = rows.pairs[i];
        addRow(pairs, int(i),
               {languageDisplayName(p.src), utf16(p.typed), languageDisplayName(p.dst), utf16(p.corrected)});
    }
    ListView_DeleteAllItems(never);
    for (size_t i = 0; i < rows.neverCorrect.size(); ++i)
        addRow(never, int(i), {languageDisplayName(rows.neverCorrect[i].lang), utf16(rows.neverCorrect[i].word)});
    w.pairRows = std::move(rows.pairs);
    w.neverRows = std::move(rows.neverCorrect);
}

void fillLanguageList() {
    SettingsWindow& w = settingsWindow();
    HWND list = control(ctrl::LanguageList);
    if (!list) return;
    w.languageRows = refreshLanguageRows(*w.host);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const LanguageRow& row : w.languageRows)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(languageRowText(row))));
}

void fillExcludedList() {
    SettingsWindow& w = settingsWindow();
    HWND list = control(ctrl::ExcludedList);
    if (!list) return;
    ListView_DeleteAllItems(list);
    ListView_SetImageList(list, nullptr, LVSIL_SMALL);
    if (w.excludedImages) ImageList_Destroy(w.excludedImages);
    w.excludedImages =
        ImageList_Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 8, 4);
    ListView_SetImageList(list, w.excludedImages, LVSIL_SMALL);
    w.excludedRows = settings::excludedApps(w.host->store().preferences());
    for (size_t i = 0; i < w.excludedRows.size(); ++i) {
        const settings::ExcludedApp& app = w.excludedRows[i];
        const std::u16string path = utf16(app.path);
        const int image = addIcon(w.excludedImages, std::wstring(path.begin(), path.end()));
        addRow(list, int(i), {utf16(app.name), utf16(app.key), tray::withoutAccessKey(tray::appModeText(app.mode))},
               image);
    }
    HWND modes = control(ctrl::ExcludedMode);
    if (modes && SendMessageW(modes, CB_GETCOUNT, 0, 0) == 0)
        for (AppMode mode : kAppModes)
            addComboEntry(ctrl::ExcludedMode, tray::withoutAccessKey(tray::appModeText(mode)), 0);
    showSelectedAppMode();
}

void showSelectedAppMode() {
    const std::vector<settings::ExcludedApp>& rows = settingsWindow().excludedRows;
    const int row = selectedRow(ctrl::ExcludedList);
    const bool chosen = row >= 0 && size_t(row) < rows.size();
    SendMessageW(control(ctrl::ExcludedMode), CB_SETCURSEL, chosen ? WPARAM(rows[size_t(row)].mode) : WPARAM(-1), 0);
    EnableWindow(control(ctrl::ExcludedMode), chosen);
}

bool handleListCommand(int id, int notification) {
    SettingsWindow& w = settingsWindow();
    if (id == ctrl::Search) {
        if (notification == EN_CHANGE) fillDictionaryLists();
        return true;
    }
    if (id == ctrl::ExcludedMode) {
        if (notification == CBN_SELCHANGE) changeSelectedAppMode();
        return true;
    }
    if (notification != BN_CLICKED) return false;
    switch (id) {
    case ctrl::AddPair: addPair(); return true;
    case ctrl::AddNever: addNeverCorrect(); return true;
    case ctrl::RemovePair: removeSelectedInBackground(ctrl::PairList, w.pairRows, removeDictionaryPair); return true;
    case ctrl::RemoveNever:
        removeSelectedInBackground(ctrl::NeverList, w.neverRows, removeNeverCorrectWord);
        return true;
    case ctrl::MoveUp: moveSelectedLanguage(-1); return true;
    case ctrl::MoveDown: moveSelectedLanguage(+1); return true;
    case ctrl::RemoveExcluded:
        removeSelected(ctrl::ExcludedList, w.excludedRows, removeExcludedApplication);
        fillExcludedList();
        return true;
    case ctrl::AddExcluded: addApplications(); return true;
    default: return false;
    }
}

}  // namespace quillom::ui
