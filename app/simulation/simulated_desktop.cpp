#include "simulation/simulated_desktop.h"

#include "common/virtual_keys.h"
#include "pipeline/key_event.h"

namespace quillom::simulation {

namespace {

constexpr std::pair<const char*, LayoutId> kLayouts[] = {
    {"en", 0x04090409},
    {"ru", 0x04190419},
    {"uk", 0x04220422},
};

}  // namespace

LayoutId layoutOf(const std::string& language) {
    for (const auto& [name, layout] : kLayouts)
        if (language == name) return layout;
    return kLayouts[0].second;
}

std::string languageOf(LayoutId layout) {
    for (const auto& [name, id] : kLayouts)
        if ((id & 0x3FF) == (layout & 0x3FF)) return name;
    return {};
}

void SimulatedDesktop::openWindow(const std::string& app, const std::string& language) {
    window_ += 0x10;
    app_ = app;
    layout_ = layoutOf(language);
    text_.clear();
    presses_.clear();
    erased_.clear();
    woken_ = false;
}

std::vector<LayoutId> SimulatedDesktop::installedLayouts() {
    std::vector<LayoutId> layouts;
    for (const auto& entry : kLayouts) layouts.push_back(entry.second);
    return layouts;
}

char16_t SimulatedDesktop::translateKeyInLayout(uint32_t vk, uint32_t scan, bool shift, LayoutId layout) {
    // A character the user reached some other way (an input method, a
    // character map) arrives as a Unicode packet.
    if (vk == vk::Packet) return char16_t(scan);
    return keys_.charFor(languageOf(layout), {vk, shift});
}

bool SimulatedDesktop::takeWake() {
    const bool woken = woken_;
    woken_ = false;
    return woken;
}

void SimulatedDesktop::type(char16_t unit) {
    text_ += unit;
    if (erased_.empty()) {
        presses_.push_back(press_);
        return;
    }
    presses_.push_back(erased_.front());
    erased_.erase(erased_.begin());
}

void SimulatedDesktop::erase() {
    if (text_.empty()) return;
    text_.pop_back();
    erased_.insert(erased_.begin(), presses_.back());
    presses_.pop_back();
}

void SimulatedDesktop::beginPress(uint32_t press) {
    erased_.clear();
    press_ = press;
}

void SimulatedDesktop::userKey(uint32_t vk, uint32_t scan, bool down, bool shift) {
    if (!down) return;
    switch (vk) {
    case vk::Backspace: erase(); return;
    case vk::Enter: type(u'\n'); return;
    case vk::Tab: type(u'\t'); return;
    default: break;
    }
    if (char16_t ch = translateKey(vk, scan, shift, window_)) type(ch);
}

size_t SimulatedDesktop::send(std::span<const pipeline::SyntheticKey> keys) {
    for (const pipeline::SyntheticKey& key : keys) {
        const bool down = !(key.flags & pipeline::keyflag::KeyUp);
        if (key.flags & pipeline::keyflag::Unicode) {
            if (down) type(char16_t(key.scan));
        } else if (down && key.vk == vk::Backspace) {
            erase();
        } else if (down && key.vk == vk::Enter) {
            type(u'\n');
        } else if (down && key.vk == vk::Tab) {
            type(u'\t');
        } else if (key.vk == vk::Shift || key.vk == vk::LeftShift || key.vk == vk::RightShift) {
            sentShift_ = down;
        } else if (down && !isModifierKey(key.vk)) {
            // A held key sent again: it types what it gives in the layout now.
            if (char16_t ch = translateKey(key.vk, key.scan, sentShift_, window_)) type(ch);
        }
    }
    return keys.size();
}

}  // namespace quillom::simulation
