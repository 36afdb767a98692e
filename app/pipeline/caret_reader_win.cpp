#include "caret_reader_win.h"

#include <windows.h>

#include "edit_control_win.h"

namespace quillom::pipeline {
namespace {

HWND focusedControl() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return nullptr;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

}  // namespace

// A standard edit answers by its messages first: they are cheaper than UI
// Automation, and the style tells a password field without a question.
CaretReading WinCaretReader::read(unsigned limitMs) {
    HWND focus = focusedControl();
    const EditKind kind = focus ? editKindOf(focus) : EditKind::None;
    if (kind == EditKind::None) return uia_.read(limitMs);
    return CaretReading{readEditCaret(focus, limitMs), isPasswordEdit(focus),
                        kind == EditKind::Edit ? "edit" : "rich edit"};
}

}  // namespace quillom::pipeline
