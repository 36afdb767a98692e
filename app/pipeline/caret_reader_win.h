// Reads what precedes the caret in the focused control of the foreground
// window: standard edits and rich edits by their messages. Controls of other
// kinds give no answer, and their words keep an unknown beginning.
#pragma once

#include "caret_context.h"

namespace quillom::pipeline {

// Worker thread.
class WinCaretReader final : public CaretReader {
public:
    std::optional<PrecedingText> read(unsigned limitMs) override;
};

}  // namespace quillom::pipeline
