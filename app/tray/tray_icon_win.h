// The notification-area icon: adding, updating and removing it, and drawing
// the two-letter layout icon with GDI.
#pragma once

#include <windows.h>

#include <string>

#include "tray_icon.h"

namespace quillom::tray {

inline constexpr UINT kMsgTrayCallback = 0x8002;  // WM_APP + 2
inline constexpr int kIconResource = 101;

// Main thread. Owns the generated icon it shows.
class NotifyIcon {
public:
    NotifyIcon() = default;
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;
    ~NotifyIcon();

    bool add(HWND owner, HINSTANCE instance);
    // Sent to the shell only when the text changed.
    void setTip(const std::u16string& tip);
    // Redraws only when the look changed, unless forced.
    void show(const IconLook& look, bool force);
    // A balloon notification from the icon (the system cuts text past 255 characters).
    void notify(const std::u16string& title, const std::u16string& text);
    void remove();

private:
    NOTIFYICONDATAW data_{};
    HICON generated_ = nullptr;
    std::u16string lastKey_;
    std::u16string lastTip_;
};

// A new icon of the small-icon size, owned by the caller; null on failure.
HICON drawLabelIcon(const std::u16string& label, uint32_t colour);

}  // namespace quillom::tray
