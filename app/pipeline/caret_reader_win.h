// Reads what precedes the caret in the focused control of the foreground
// window: standard edits and rich edits by their messages, every other
// control through UI Automation.
#pragma once

#include "caret_context.h"
#include "uia_caret_win.h"

namespace quillom::pipeline {

// Worker thread.
class WinCaretReader final : public CaretReader {
public:
    void begin() override { uia_.begin(); }
    CaretReading read(unsigned limitMs) override;
    void end() override { uia_.end(); }

private:
    UiaCaretReader uia_;
};

}  // namespace quillom::pipeline
