// Where the user types: the recently used applications offered by the tray
// menu, and whether the foreground window is full-screen.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace quillom::pipeline {

// Up to four executable names, most recent first, no duplicates. Written by
// the keyboard hook on the main thread; the tray menu and the settings window
// read copies, so it has its own lock.
class RecentApps {
public:
    static constexpr size_t kCapacity = 4;

    void record(const std::string& name);
    std::vector<std::string> snapshot() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> names_;  // guarded by mutex_
};

// The window covers its monitor, 2 pixels of slack on each side.
bool isFullScreen(const WindowGeometry& geometry);

// The part of a path after its last backslash or slash.
std::string_view fileNameOf(std::string_view path);

// The executable name without a final ".exe" (any case), only when the name
// is longer than four characters.
std::string displayNameOf(const std::string& appId);

}  // namespace quillom::pipeline
