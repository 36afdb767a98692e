#include "app_targets.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace e2e {
namespace {

void writeUtf8(const std::string& path, const std::wstring& text, const char* mode = "wb") {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), n, nullptr, nullptr);
    if (std::FILE* f = std::fopen(path.c_str(), mode)) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

int runLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

HWND topWindow(const wchar_t* className, const wchar_t* title, WNDPROC proc) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    wc.hbrBackground = HBRUSH(COLOR_WINDOW + 1);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    RegisterClassW(&wc);
    return CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 300, 420, 200, nullptr, nullptr,
                           instance, nullptr);
}

// --- the scan-code field -----------------------------------------------------------

std::string gScanPrefix;
HWND gScanEdit = nullptr;
WNDPROC gEditProc = nullptr;
bool gPacketPending = false;

void scanEditReplace(const wchar_t* text, bool eraseOne) {
    const int length = GetWindowTextLengthW(gScanEdit);
    CallWindowProcW(gEditProc, gScanEdit, EM_SETSEL, WPARAM(eraseOne && length > 0 ? length - 1 : length), length);
    CallWindowProcW(gEditProc, gScanEdit, EM_REPLACESEL, FALSE, LPARAM(text));
}

// The key is what the scan code says; the virtual key is only recorded. A
// Unicode packet's character passes, as such clients send it on as text.
LRESULT CALLBACK scanEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        wchar_t line[8];
        std::swprintf(line, 8, L"%02X\n", unsigned(wParam));
        writeUtf8(gScanPrefix + "-keys.txt", line, "ab");
        if (wParam == VK_PACKET) {
            gPacketPending = true;
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            DestroyWindow(GetParent(window));
            return 0;
        }
        const UINT scan = (UINT(lParam) >> 16 & 0xFF) | (lParam & (1 << 24) ? 0xE000 : 0);
        const UINT key = scan & 0xFF ? MapVirtualKeyW(scan, MAPVK_VSC_TO_VK_EX) : 0;
        if (key == VK_BACK) scanEditReplace(L"", true);
        if (key == VK_SPACE) scanEditReplace(L" ", false);
        if (key >= 'A' && key <= 'Z') {
            const wchar_t letter[2] = {wchar_t(key - 'A' + (GetKeyState(VK_SHIFT) < 0 ? 'A' : 'a')), 0};
            scanEditReplace(letter, false);
        }
        return 0;
    }
    if (message == WM_CHAR) {
        if (!gPacketPending) return 0;
        gPacketPending = false;
    }
    return CallWindowProcW(gEditProc, window, message, wParam, lParam);
}

LRESULT CALLBACK scanFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        const int length = GetWindowTextLengthW(gScanEdit);
        std::wstring text(size_t(length) + 1, L'\0');
        text.resize(size_t(GetWindowTextW(gScanEdit, text.data(), length + 1)));
        writeUtf8(gScanPrefix + "-text.txt", text);
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

// --- two custom-drawn fields -------------------------------------------------------

std::string gFieldsPrefix;
std::wstring gFields[2];
int gFocused = 0;
HWND gFieldsWindow = nullptr;

void saveFields() {
    writeUtf8(gFieldsPrefix + "-name.txt", gFields[0]);
    writeUtf8(gFieldsPrefix + "-secret.txt", gFields[1]);
}

LRESULT CALLBACK fieldsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        if (wParam == VK_TAB) {
            gFocused = 1 - gFocused;
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_CHAR:
        if (wParam == L'\b') {
            if (!gFields[gFocused].empty()) gFields[gFocused].pop_back();
        } else if (wParam >= L' ') {
            gFields[gFocused] += wchar_t(wParam);
        }
        saveFields();
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        const std::wstring hidden(gFields[1].size(), L'*');
        TextOutW(dc, 10, 20, gFields[0].c_str(), int(gFields[0].size()));
        TextOutW(dc, 10, 90, hidden.c_str(), int(hidden.size()));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int scanCodeWindow(const char* prefix) {
    gScanPrefix = prefix;
    HWND frame = topWindow(L"QuillomScanTarget", L"Quillom scan-code target", scanFrameProc);
    // The field fills the window: a click anywhere in it lands there.
    gScanEdit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 420, 200, frame,
                                HMENU(1), GetModuleHandleW(nullptr), nullptr);
    gEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(gScanEdit, GWLP_WNDPROC, LONG_PTR(scanEditProc)));
    writeUtf8(gScanPrefix + "-text.txt", L"");
    writeUtf8(gScanPrefix + "-keys.txt", L"");
    SetFocus(gScanEdit);
    return runLoop();
}

int customFieldsWindow(const char* prefix) {
    gFieldsPrefix = prefix;
    saveFields();
    gFieldsWindow = topWindow(L"QuillomCustomFields", L"Quillom custom fields", fieldsProc);
    return runLoop();
}

}  // namespace e2e
