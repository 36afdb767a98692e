#include "password_gate.h"

namespace quillom::pipeline {

bool PasswordGate::blocks(Desktop& desktop, WindowId focus) {
    if (focus != checked_) {
        checked_ = focus;
        password_ = focus != 0 && desktop.isPasswordField(focus);
    }
    return password_;
}

}  // namespace quillom::pipeline
