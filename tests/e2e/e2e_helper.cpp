// Small Windows-side helper of the end-to-end script, run under Wine:
//   e2e_helper gettext <out>          text of notepad's edit control, UTF-8, into <out>
//   e2e_helper settext <in>           puts the UTF-8 text of <in> into notepad's edit control
//   e2e_helper clipboard-set <in>     puts the UTF-8 text of <in> on the clipboard
//   e2e_helper clipboard-get <out>    writes the clipboard's text, UTF-8, into <out>
//   e2e_helper has-window <class>     exit 0 when a top-level window of that class exists
//   e2e_helper shows-window <class>   exit 0 when a visible top-level window of that class exists
//   e2e_helper close-quillom          asks the running Quillom to quit (WM_CLOSE)
//   e2e_helper probe-window <log>     shows a window with an edit field and logs every
//                                     WM_INPUTLANGCHANGEREQUEST it receives into <log>
//   e2e_helper fields-window <prefix> shows a multi-line edit and a password edit; writes their
//                                     texts to <prefix>-multi.txt and <prefix>-password.txt on
//                                     every change and appends each Enter the multi-line edit
//                                     gets, with the Shift state, to <prefix>-keys.txt
//   e2e_helper scan-window <prefix>   a field that acts only on scan codes (app_targets.h)
//   e2e_helper custom-fields <prefix> two custom-drawn fields switched by Tab (app_targets.h)
//   e2e_helper clipboard-set-private <in>  the text of <in> plus a private format with 4 bytes
//   e2e_helper clipboard-get-private <out> the clipboard's text and the private format's bytes
//                                     (hex) as two lines into <out>
//   e2e_helper drop-tray-icon         removes Quillom's notification-area icon, as a crash of
//                                     the shell would
//   e2e_helper taskbar-created        broadcasts "TaskbarCreated", as a new shell does
//   e2e_helper uia-read <out>         reads the focused element three times through the
//                                     program's UI Automation caret reader; one line per read
//                                     (time, how it answered, hidden, text) into <out>
// Exit codes: 0 done, 1 not found or failed, 2 usage.
#include <windows.h>

#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app_targets.h"
#include "pipeline/uia_caret_win.h"

namespace {

std::wstring fromUtf8(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

std::string toUtf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

bool readFile(const char* path, std::string& out) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    std::fclose(f);
    return true;
}

bool writeFile(const char* path, const std::string& bytes) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

HWND notepadEdit() {
    HWND notepad = FindWindowW(L"Notepad", nullptr);
    return notepad ? FindWindowExW(notepad, nullptr, L"Edit", nullptr) : nullptr;
}

int getText(const char* out) {
    HWND edit = notepadEdit();
    if (!edit) return 1;
    int length = int(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(size_t(length) + 1, L'\0');
    length = int(SendMessageW(edit, WM_GETTEXT, WPARAM(length + 1), LPARAM(text.data())));
    text.resize(size_t(length));
    return writeFile(out, toUtf8(text)) ? 0 : 1;
}

int setText(const char* in) {
    HWND edit = notepadEdit();
    std::string bytes;
    if (!edit || !readFile(in, bytes)) return 1;
    std::wstring text = fromUtf8(bytes);
    return SendMessageW(edit, WM_SETTEXT, 0, LPARAM(text.c_str())) ? 0 : 1;
}

// On an open clipboard: puts a copy of size bytes at source under format.
bool putOnClipboard(UINT format, const void* source, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return false;
    memcpy(GlobalLock(memory), source, size);
    GlobalUnlock(memory);
    // The clipboard owns the memory once SetClipboardData succeeds.
    if (SetClipboardData(format, memory)) return true;
    GlobalFree(memory);
    return false;
}

// On an open clipboard: its text, empty when it holds none.
std::wstring clipboardText() {
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    return text;
}

int clipboardSet(const char* in) {
    std::string bytes;
    if (!readFile(in, bytes)) return 1;
    std::wstring text = fromUtf8(bytes);
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    const bool ok = putOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    CloseClipboard();
    return ok ? 0 : 1;
}

int clipboardGet(const char* out) {
    if (!OpenClipboard(nullptr)) return 1;
    const std::wstring text = clipboardText();
    CloseClipboard();
    return writeFile(out, toUtf8(text)) ? 0 : 1;
}

int findWindow(const char* className, bool mustBeVisible) {
    HWND w = FindWindowW(fromUtf8(className).c_str(), nullptr);
    return w && (!mustBeVisible || IsWindowVisible(w)) ? 0 : 1;
}

int closeQuillom() {
    HWND w = FindWindowW(L"QuillomTrayApp", nullptr);
    return w && PostMessageW(w, WM_CLOSE, 0, 0) ? 0 : 1;
}

std::FILE* gProbeLog = nullptr;
WNDPROC gEditProc = nullptr;

// WM_INPUTLANGCHANGEREQUEST goes to the focused window, the edit field.
LRESULT CALLBACK probeEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INPUTLANGCHANGEREQUEST) {
        std::fprintf(gProbeLog, "WM_INPUTLANGCHANGEREQUEST wParam=%llu lParam=0x%08llx\n",
                     static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
        std::fflush(gProbeLog);
    }
    return CallWindowProcW(gEditProc, window, message, wParam, lParam);
}

LRESULT CALLBACK probeFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int probeWindow(const char* logPath) {
    gProbeLog = std::fopen(logPath, "w");
    if (!gProbeLog) return 1;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = probeFrameProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"QuillomLangProbe";
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, L"QuillomLangProbe", L"Quillom layout probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700,
                                 100, 400, 200, nullptr, nullptr, instance, nullptr);
    HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 360, 30,
                                frame, nullptr, instance, nullptr);
    gEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, LONG_PTR(probeEditProc)));
    SetFocus(edit);
    std::fprintf(gProbeLog, "ready\n");
    std::fflush(gProbeLog);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    std::fclose(gProbeLog);
    return 0;
}

// --- the fields window ---------------------------------------------------------

std::string gFieldsPrefix;
HWND gMulti = nullptr, gPassword = nullptr;
WNDPROC gMultiProc = nullptr;

void saveField(HWND edit, const char* suffix) {
    int length = GetWindowTextLengthW(edit);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(edit, text.data(), length + 1)));
    writeFile((gFieldsPrefix + suffix).c_str(), toUtf8(text));
}

LRESULT CALLBACK multiEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_RETURN) {
        if (std::FILE* f = std::fopen((gFieldsPrefix + "-keys.txt").c_str(), "ab")) {
            std::fprintf(f, "Enter shift=%d\n", GetKeyState(VK_SHIFT) < 0 ? 1 : 0);
            std::fclose(f);
        }
    }
    return CallWindowProcW(gMultiProc, window, message, wParam, lParam);
}

LRESULT CALLBACK fieldsFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        saveField(gMulti, "-multi.txt");
        saveField(gPassword, "-password.txt");
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

int fieldsWindow(const char* prefix) {
    gFieldsPrefix = prefix;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = fieldsFrameProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"QuillomFieldsWindow";
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, L"QuillomFieldsWindow", L"Quillom test fields", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 600, 300, 420, 260, nullptr, nullptr, instance, nullptr);
    // The multi-line edit fills the top, the password edit the bottom.
    gMulti = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE | ES_WANTRETURN, 0, 0,
                             400, 110, frame, HMENU(1), instance, nullptr);
    gPassword = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL, 0,
                                130, 400, 80, frame, HMENU(2), instance, nullptr);
    gMultiProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(gMulti, GWLP_WNDPROC, LONG_PTR(multiEditProc)));
    saveField(gMulti, "-multi.txt");
    saveField(gPassword, "-password.txt");
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// --- clipboard with a private format ----------------------------------------------

UINT privateFormat() { return RegisterClipboardFormatW(L"Quillom e2e private"); }

int clipboardSetPrivate(const char* in) {
    std::string bytes;
    if (!readFile(in, bytes)) return 1;
    std::wstring text = fromUtf8(bytes);
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    const unsigned char data[4] = {0xDE, 0xAD, 0xBE, 0xEF};
    bool ok = putOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ok = putOnClipboard(privateFormat(), data, sizeof data) && ok;
    CloseClipboard();
    return ok ? 0 : 1;
}

int clipboardGetPrivate(const char* out) {
    if (!OpenClipboard(nullptr)) return 1;
    const std::wstring text = clipboardText();
    std::string hex;
    if (HANDLE data = GetClipboardData(privateFormat())) {
        const SIZE_T size = GlobalSize(data);
        if (auto* p = static_cast<const unsigned char*>(GlobalLock(data))) {
            char two[3];
            for (SIZE_T i = 0; i < size; ++i) {
                std::snprintf(two, sizeof two, "%02x", p[i]);
                hex += two;
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return writeFile(out, toUtf8(text) + "\n" + hex + "\n") ? 0 : 1;
}

// --- the notification area ---------------------------------------------------------

int dropTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = FindWindowW(L"QuillomTrayApp", nullptr);
    data.uID = 1;
    return data.hWnd && Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
}

int taskbarCreated() { return PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0) ? 0 : 1; }

}  // namespace

// This thread owns no window, as the program's caret worker.
int uiaRead(const char* outPath) {
    quillom::pipeline::UiaCaretReader reader;
    reader.begin();
    std::string out;
    for (int i = 1; i <= 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        quillom::pipeline::CaretReading reading = reader.read(quillom::pipeline::kCaretReadLimitMs);
        const auto us =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
        char line[512];
        std::string text = reading.text ? toUtf8(std::wstring(reading.text->text.begin(), reading.text->text.end()))
                                        : std::string("(none)");
        std::snprintf(line, sizeof line, "read %d: %.1f ms, via '%s', hidden %d, text '%s'%s\n", i, double(us) / 1000,
                      reading.via.c_str(), int(reading.hidden), text.c_str(),
                      reading.text && reading.text->reachesStart ? " from the start" : "");
        out += line;
    }
    reader.end();
    return writeFile(outPath, out) ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string command = argv[1];
    if (command == "close-quillom") return closeQuillom();
    if (command == "drop-tray-icon") return dropTrayIcon();
    if (command == "taskbar-created") return taskbarCreated();
    if (argc < 3) return 2;
    if (command == "gettext") return getText(argv[2]);
    if (command == "uia-read") return uiaRead(argv[2]);
    if (command == "settext") return setText(argv[2]);
    if (command == "clipboard-set") return clipboardSet(argv[2]);
    if (command == "clipboard-get") return clipboardGet(argv[2]);
    if (command == "has-window") return findWindow(argv[2], false);
    if (command == "shows-window") return findWindow(argv[2], true);
    if (command == "probe-window") return probeWindow(argv[2]);
    if (command == "fields-window") return fieldsWindow(argv[2]);
    if (command == "scan-window") return e2e::scanCodeWindow(argv[2]);
    if (command == "custom-fields") return e2e::customFieldsWindow(argv[2]);
    if (command == "clipboard-set-private") return clipboardSetPrivate(argv[2]);
    if (command == "clipboard-get-private") return clipboardGetPrivate(argv[2]);
    return 2;
}
