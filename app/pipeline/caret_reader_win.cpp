#include "caret_reader_win.h"

#include <windows.h>

#include "edit_control_win.h"

namespace quillom::pipeline {

std::optional<PrecedingText> WinCaretReader::read(unsigned limitMs) {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return std::nullopt;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) || !info.hwndFocus) return std::nullopt;
    return readEditCaret(info.hwndFocus, limitMs);
}

}  // namespace quillom::pipeline
