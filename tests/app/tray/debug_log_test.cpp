#include <gtest/gtest.h>

#include <string>

#include "common/debug_log.h"

namespace quillom::tray {
namespace {

std::string lastLine;
int lines = 0;

void recordLine(const char* line) {
    lastLine = line;
    ++lines;
}

struct SinkGuard {
    SinkGuard() { setLogSink(recordLine); }
    ~SinkGuard() { setLogSink(nullptr); }
};

TEST(DebugLog, FormatsThroughTheSinkAndCutsLongLines) {
    SinkGuard guard;
    logLine("corrected: %s -> %s  (conf %.2f, %s, lang '%s')", "ghbdtn", "привет", 0.987, "layout_mismatch", "ru");
    EXPECT_EQ(lastLine, "corrected: ghbdtn -> привет  (conf 0.99, layout_mismatch, lang 'ru')");
    logLine("%s", std::string(600, 'x').c_str());
    EXPECT_EQ(lastLine.size(), 511u);
}

TEST(DebugLog, WithoutSinkNothingHappens) {
    setLogSink(nullptr);
    lines = 0;
    logLine("lost");
    EXPECT_EQ(lines, 0);
}

TEST(DebugLog, FileLineHasTimeAndCrLf) {
    EXPECT_EQ(logFileLine(9, 5, 3, "undo: restored 'ghbdtn'"), "[09:05:03] undo: restored 'ghbdtn'\r\n");
    EXPECT_EQ(logFileLine(23, 59, 59, std::string(511, 'y')).size(), 11u + 511u + 2u);
}

TEST(DebugLog, FlagNeedsTheDeveloperMarker) {
    DebugLog ordinary(false);
    EXPECT_FALSE(ordinary.setEnabled(true));
    EXPECT_FALSE(ordinary.enabled());
    DebugLog developer(true);
    EXPECT_TRUE(developer.setEnabled(true));
    EXPECT_FALSE(developer.setEnabled(false));
}

}  // namespace
}  // namespace quillom::tray
