// Windows-side helper of settings_window.sh, run under Wine. Finds things in Quillom's settings
// window and the tray menu so the script can click them with xdotool and read them back:
//   settings_helper window-rect <out>        "x y width height" of the settings window
//   settings_helper control-rect <id> <out>  screen rectangle of a control of the window
//   settings_helper tab-rect <index> <out>   screen rectangle of a tab of the tab control
//   settings_helper text <id> <out>          a control's text, UTF-8
//   settings_helper shows <id>               exit 0 when the control is visible
//   settings_helper enabled <id>             exit 0 when the control is enabled
//   settings_helper list-rows <id> <out>     the rows of a list view, cells joined by tabs, UTF-8
//   settings_helper windows <out>            how many settings windows exist
//   settings_helper menu-open                exit 0 while a popup menu shows
//   settings_helper focused <out>            the control id of the keyboard focus in the window
// Exit codes: 0 done, 1 not found or failed, 2 usage.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr wchar_t kClass[] = L"QuillomSettingsWindow";

std::string toUtf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

int writeFile(const char* path, const std::string& bytes) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return 1;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok ? 0 : 1;
}

int writeRect(const char* path, const RECT& r) {
    char line[96];
    std::snprintf(line, sizeof line, "%ld %ld %ld %ld\n", long(r.left), long(r.top), long(r.right - r.left),
                  long(r.bottom - r.top));
    return writeFile(path, line);
}

HWND settingsWindow() { return FindWindowW(kClass, nullptr); }

HWND controlOf(const char* id) {
    HWND window = settingsWindow();
    return window ? GetDlgItem(window, std::atoi(id)) : nullptr;
}

int controlRect(const char* id, const char* out) {
    HWND control = controlOf(id);
    RECT r;
    if (!control || !GetWindowRect(control, &r)) return 1;
    return writeRect(out, r);
}

int windowRect(const char* out) {
    HWND window = settingsWindow();
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return 1;
    return writeRect(out, r);
}

// The tab control lives in another process: its item rectangle comes back through shared memory.
int tabRect(const char* index, const char* out) {
    HWND tabs = controlOf("1000");
    if (!tabs) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(tabs, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    RECT r{};
    bool ok = remote && SendMessageW(tabs, TCM_GETITEMRECT, WPARAM(std::atoi(index)), LPARAM(remote)) &&
              ReadProcessMemory(process, remote, &r, sizeof r, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    if (!ok) return 1;
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return writeRect(out, r);
}

int text(const char* id, const char* out) {
    HWND control = controlOf(id);
    if (!control) return 1;
    std::wstring t(size_t(GetWindowTextLengthW(control)) + 1, L'\0');
    t.resize(size_t(GetWindowTextW(control, t.data(), int(t.size()))));
    return writeFile(out, toUtf8(t));
}

// List view items are read through memory in Quillom's process, as for the tab rectangle.
int listRows(const char* id, const char* out) {
    HWND list = controlOf(id);
    if (!list) return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    constexpr int kChars = 256;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    HWND header = ListView_GetHeader(list);
    const int columns = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    const int rows = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::string result;
    for (int row = 0; remote && row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
            item.cchTextMax = kChars;
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            const int n = int(SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(remote)));
            std::wstring cell(size_t(n), L'\0');
            ReadProcessMemory(process, remote + sizeof(LVITEMW), cell.data(), size_t(n) * sizeof(wchar_t), nullptr);
            if (column > 0) result += '\t';
            result += toUtf8(cell);
        }
        result += '\n';
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return writeFile(out, result);
}

int countWindows(const char* out) {
    int count = 0;
    HWND w = nullptr;
    while ((w = FindWindowExW(nullptr, w, kClass, nullptr)) != nullptr) ++count;
    return writeFile(out, std::to_string(count) + "\n");
}

bool menuOpen() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu);
}

// The focus belongs to the window's thread, which is not ours: ask the system for it.
int focused(const char* out) {
    HWND window = settingsWindow();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!window || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) return 1;
    HWND control = info.hwndFocus;
    // A drop-down list's focus may sit in its child edit; its id is the combo box's.
    while (control && GetParent(control) && GetParent(control) != window) control = GetParent(control);
    return writeFile(out, std::to_string(control ? GetDlgCtrlID(control) : 0) + "\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string command = argv[1];
    if (command == "menu-open") return menuOpen() ? 0 : 1;
    if (argc < 3) return 2;
    if (command == "window-rect") return windowRect(argv[2]);
    if (command == "windows") return countWindows(argv[2]);
    if (command == "focused") return focused(argv[2]);
    if (command == "shows") return controlOf(argv[2]) && IsWindowVisible(controlOf(argv[2])) ? 0 : 1;
    if (command == "enabled") return controlOf(argv[2]) && IsWindowEnabled(controlOf(argv[2])) ? 0 : 1;
    if (argc < 4) return 2;
    if (command == "control-rect") return controlRect(argv[2], argv[3]);
    if (command == "tab-rect") return tabRect(argv[2], argv[3]);
    if (command == "text") return text(argv[2], argv[3]);
    if (command == "list-rows") return listRows(argv[2], argv[3]);
    return 2;
}
