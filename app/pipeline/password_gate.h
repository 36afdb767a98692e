// Keeps what is typed into password fields out of the pipeline: nothing there
// is captured, evaluated, corrected or logged. Decided when the focus moves
// to another control, not on every key.
#pragma once

#include "platform.h"

namespace quillom::pipeline {

// Hook thread.
class PasswordGate {
public:
    // focus: the focused control now. True while it is a password field.
    bool blocks(Desktop& desktop, WindowId focus);

private:
    WindowId checked_ = 0;
    bool password_ = false;
};

}  // namespace quillom::pipeline
