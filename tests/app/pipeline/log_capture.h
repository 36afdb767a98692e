// The debug-log lines a test's hook writes, captured while a LogCapture lives.
#pragma once

#include <string>
#include <vector>

#include "common/debug_log.h"

namespace quillom::pipeline::testing {

inline std::vector<std::string> gLogged;  // the lines since the last LogCapture began

struct LogCapture {
    LogCapture() {
        gLogged.clear();
        setLogSink([](const char* line) { gLogged.emplace_back(line); });
    }
    ~LogCapture() { setLogSink(nullptr); }
};

}  // namespace quillom::pipeline::testing
