#include "debug_log_win.h"

#include <windows.h>

#include "win/scoped_win.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/log_queue.h"

namespace quillom::tray {
namespace {

const DebugLog* gFlag = nullptr;  // main thread
std::wstring gLogFolder;          // main thread, before the first line

}  // namespace

void setLogFolder(std::wstring folder) { gLogFolder = std::move(folder); }

// Worked out on first use and kept.
const std::wstring& logFilePath() {
    static const std::wstring path = [] {
        if (!gLogFolder.empty()) return gLogFolder + L"\\quillom.log";
        wchar_t folder[MAX_PATH + 1];
        DWORD length = GetTempPathW(MAX_PATH + 1, folder);
        if (length == 0 || length > MAX_PATH) return std::wstring();
        return std::wstring(folder, length) + L"quillom.log";
    }();
    return path;
}

namespace {

// Keeps the last megabyte or so of a log that passed its limit; a failure leaves it whole.
void cutIfTooLong(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || uint64_t(size.QuadPart) <= kLogCutAt) return;
    std::string tail(kLogKeep, '\0');
    LARGE_INTEGER from{};
    from.QuadPart = size.QuadPart - LONGLONG(kLogKeep);
    DWORD got = 0;
    if (!SetFilePointerEx(file, from, nullptr, FILE_BEGIN) ||
        !ReadFile(file, tail.data(), DWORD(kLogKeep), &got, nullptr) || got != kLogKeep)
        return;
    const size_t start = keptTailStart(size_t(size.QuadPart), tail) - size_t(from.QuadPart);
    LARGE_INTEGER zero{};
    DWORD written = 0;
    if (!SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) ||
        !WriteFile(file, tail.data() + start, DWORD(tail.size() - start), &written, nullptr))
        return;
    SetEndOfFile(file);
}

// The log file, opened once on the writer thread and again only when it went away.
class LogFile {
public:
    void write(const std::vector<std::string>& texts) {
        const std::wstring& path = logFilePath();
        if (path.empty()) return;
        if (file_ && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) file_.reset();
        if (!file_)
            file_.reset(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_) return;
        cutIfTooLong(file_.get());
        LARGE_INTEGER zero{};
        SetFilePointerEx(file_.get(), zero, nullptr, FILE_END);
        SYSTEMTIME now;
        GetLocalTime(&now);
        std::string bytes;
        for (const std::string& text : texts) bytes += logFileLine(now.wHour, now.wMinute, now.wSecond, text);
        DWORD written = 0;
        WriteFile(file_.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
    }

private:
    win::ScopedHandle file_;
};

LogFile gFile;                     // the queue's thread
std::unique_ptr<LogQueue> gQueue;  // set and reset on the main thread, with no line on the way

// Any thread.
void writeLine(const char* text) {
    if (!gFlag || !gFlag->enabled() || !text || !gQueue) return;
    gQueue->push(text);
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
    gQueue = std::make_unique<LogQueue>([](const std::vector<std::string>& texts) { gFile.write(texts); });
    setLogSink(writeLine);
}

void detachLogFile() {
    setLogSink(nullptr);
    gQueue.reset();
}

}  // namespace quillom::tray
