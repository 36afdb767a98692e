#include "app_modes.h"

#include <algorithm>

namespace quillom::pipeline {
namespace {

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return out;
}

}  // namespace

bool allows(AppMode mode, AppAction action) {
    switch (mode) {
    case AppMode::Automatic: return true;
    case AppMode::HotkeysOnly: return action != AppAction::WordEnd;
    case AppMode::Off: return false;
    }
    return true;
}

void AppModes::set(std::string_view appKey, AppMode mode) {
    if (mode == AppMode::Automatic) modes_.erase(lowerAscii(appKey));
    else modes_[lowerAscii(appKey)] = mode;
}

AppMode AppModes::of(std::string_view appKey) const {
    auto it = modes_.find(lowerAscii(appKey));
    return it == modes_.end() ? AppMode::Automatic : it->second;
}

}  // namespace quillom::pipeline
