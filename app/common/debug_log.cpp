#include "debug_log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace quillom {
namespace {

// Set on the main thread; lines come from any thread.
std::atomic<LogSink> gSink = nullptr;

}  // namespace

void setLogSink(LogSink sink) { gSink = sink; }

void logLine(const char* format, ...) {
    const LogSink sink = gSink.load();
    if (!sink) return;
    char buffer[512];
    va_list args;
    va_start(args, format);
    // vsnprintf cuts at 511 bytes and always terminates.
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    sink(buffer);
}

size_t keptTailStart(size_t fileSize, std::string_view tail) {
    const size_t tailStart = fileSize - tail.size();
    const size_t lineEnd = tail.find('\n');
    return lineEnd == std::string_view::npos ? tailStart : tailStart + lineEnd + 1;
}

std::string logFileLine(int hour, int minute, int second, std::string_view text) {
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "[%02d:%02d:%02d] ", hour, minute, second);
    std::string line(stamp);
    line.append(text);
    line.append("\r\n");
    return line;
}

}  // namespace quillom
