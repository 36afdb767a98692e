// What the program does in each kind of top-level window whose input or
// layout is not that of an ordinary window, told by the window's class:
// - a frame-hosted Store app (ApplicationFrameWindow): the frame belongs to
//   the frame host; the app's CoreWindow, on the app's own thread, has the
//   focus and the layout, and takes the layout switch;
// - Windows Terminal (CASCADIA_HOSTING_WINDOW_CLASS): an ordinary window of
//   its own process; its focus window's thread has the layout;
// - a classic console (ConsoleWindowClass): the window is drawn by the
//   console host for another program, and no documented call names the
//   thread whose layout its input follows; the layout cannot be read, so
//   nothing is corrected there rather than leave text and layout disagreeing.
#pragma once

#include <string_view>

#include "platform.h"

namespace quillom::pipeline {

WindowKind windowKindOfClass(std::u16string_view className);

// The class of a frame-hosted app's own window, a child of its frame.
inline constexpr std::u16string_view kCoreWindowClass = u"Windows.UI.Core.CoreWindow";

struct WindowKindPolicy {
    bool corrects;     // words are evaluated and corrected, the layout follows
    const char* name;  // for the debug log
};

WindowKindPolicy policyOf(WindowKind kind);

}  // namespace quillom::pipeline
