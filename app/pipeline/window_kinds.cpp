#include "window_kinds.h"

namespace quillom::pipeline {

WindowKind windowKindOfClass(std::u16string_view className) {
    if (className == u"ApplicationFrameWindow") return WindowKind::FrameHost;
    if (className == u"ConsoleWindowClass") return WindowKind::Console;
    if (className == u"CASCADIA_HOSTING_WINDOW_CLASS") return WindowKind::Terminal;
    return WindowKind::Standard;
}

WindowKindPolicy policyOf(WindowKind kind) {
    switch (kind) {
    case WindowKind::Standard: return {true, "window"};
    case WindowKind::FrameHost: return {true, "frame-hosted app"};
    case WindowKind::Terminal: return {true, "terminal"};
    case WindowKind::Console: return {false, "console"};
    }
    return {false, "window"};
}

}  // namespace quillom::pipeline
