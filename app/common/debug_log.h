// The diagnostic log: one printf-style function that every part of the
// program writes through, and the line format of the log file. The log holds
// typed text, so it exists only on developer machines (see DebugLog).
#pragma once

#include <atomic>
#include <string>
#include <string_view>

namespace quillom {

// Receives one finished line: NUL-terminated UTF-8 without a line end.
using LogSink = void (*)(const char* line);

// Set at start-up, before the engine exists, and cleared at the end; main thread.
// logLine may be called from any thread; the sink must allow that.
void setLogSink(LogSink sink);

// Formats into 512 bytes (longer text is cut to 511) and hands it to the sink.
void logLine(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// "[hh:mm:ss] " + text + "\r\n", the bytes of one line of the log file.
std::string logFileLine(int hour, int minute, int second, std::string_view text);

// The log file is cut when it passes kLogCutAt, keeping about its last kLogKeep bytes.
inline constexpr size_t kLogCutAt = 5u << 20;
inline constexpr size_t kLogKeep = 1u << 20;
// Where the kept tail of a log of fileSize bytes starts, given the last kLogKeep bytes of it
// (all of it when shorter): just after the first line end in that tail, so no line is kept
// half; kLogKeep bytes from the end when the tail holds no line end.
size_t keptTailStart(size_t fileSize, std::string_view tail);

// Whether lines reach the file: only with the developer marker and the
// debug_log preference on. Set on the main thread, read by any.
class DebugLog {
public:
    explicit DebugLog(bool developerMachine) : developerMachine_(developerMachine) {}

    bool developerMachine() const { return developerMachine_; }
    bool enabled() const { return enabled_; }
    // Returns the flag as it now stands (never on without the marker).
    bool setEnabled(bool on) { return enabled_ = on && developerMachine_; }

private:
    bool developerMachine_;
    std::atomic<bool> enabled_ = false;
};

}  // namespace quillom
