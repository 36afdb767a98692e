#include "foreground.h"

#include <algorithm>

namespace quillom::pipeline {

void RecentApps::record(const std::string& name) {
    if (name.empty()) return;
    std::lock_guard lock(mutex_);
    std::erase(names_, name);
    names_.insert(names_.begin(), name);
    if (names_.size() > kCapacity) names_.resize(kCapacity);
}

std::vector<std::string> RecentApps::snapshot() const {
    std::lock_guard lock(mutex_);
    return names_;
}

bool isFullScreen(const WindowGeometry& g) {
    if (g.isShellWindow || !g.visible || g.minimised || g.childStyle) return false;
    if (!g.window || !g.monitor) return false;
    constexpr long slack = 2;
    const Rect& w = *g.window;
    const Rect& m = *g.monitor;
    return w.left <= m.left + slack && w.top <= m.top + slack && w.right >= m.right - slack &&
           w.bottom >= m.bottom - slack;
}

std::string_view fileNameOf(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string displayNameOf(const std::string& appId) {
    if (appId.size() <= 4) return appId;
    std::string tail = appId.substr(appId.size() - 4);
    std::ranges::transform(tail, tail.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return tail == ".exe" ? appId.substr(0, appId.size() - 4) : appId;
}

}  // namespace quillom::pipeline
