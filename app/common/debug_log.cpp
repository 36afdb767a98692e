#include "debug_log.h"

#include <cstdarg>
#include <cstdio>

namespace quillom {
namespace {

LogSink gSink = nullptr;  // main thread

}  // namespace

void setLogSink(LogSink sink) { gSink = sink; }

void logLine(const char* format, ...) {
    if (!gSink) return;
    char buffer[512];
    va_list args;
    va_start(args, format);
    // vsnprintf cuts at 511 bytes and always terminates.
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    gSink(buffer);
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
