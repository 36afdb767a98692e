#include "debug_log_win.h"

#include <windows.h>

#include <string>

namespace quillom::tray {
namespace {

const DebugLog* gFlag = nullptr;  // main thread

// Worked out on first use and kept.
const std::wstring& logPath() {
    static const std::wstring path = [] {
        wchar_t folder[MAX_PATH + 1];
        DWORD length = GetTempPathW(MAX_PATH + 1, folder);
        if (length == 0 || length > MAX_PATH) return std::wstring();
        return std::wstring(folder, length) + L"quillom.log";
    }();
    return path;
}

void writeLine(const char* text) {
    if (!gFlag || !gFlag->enabled() || !text) return;
    const std::wstring& path = logPath();
    if (path.empty()) return;
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string line = logFileLine(now.wHour, now.wMinute, now.wSecond, text);
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

bool developerMarkerPresent() {
    wchar_t profile[260];
    DWORD length = GetEnvironmentVariableW(L"USERPROFILE", profile, 260);
    if (length == 0 || length >= 260) return false;
    std::wstring marker = std::wstring(profile, length) + L"\\.quillom_dev";
    DWORD attributes = GetFileAttributesW(marker.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void attachLogFile(const DebugLog& flag) {
    gFlag = &flag;
    setLogSink(writeLine);
}

}  // namespace quillom::tray
