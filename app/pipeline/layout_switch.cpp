#include "layout_switch.h"

#include <algorithm>

namespace quillom::pipeline {

std::string inputSourceOf(uint16_t langId) {
    switch (primaryLanguage(langId)) {
    case lang::English: return "en";
    case lang::Russian: return "ru";
    case lang::Ukrainian: return "uk";
    default: return {};
    }
}

std::optional<uint16_t> switchTarget(std::string_view targetLang, std::u16string_view text) {
    if (targetLang == "ru") return lang::Russian;
    if (targetLang == "uk") return lang::Ukrainian;
    if (targetLang == "en") return lang::English;
    if (std::ranges::any_of(text, [](char16_t u) { return u >= 0x0400 && u <= 0x04FF; })) return lang::Russian;
    if (std::ranges::any_of(text, [](char16_t u) { return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z'); }))
        return lang::English;
    return std::nullopt;
}

std::optional<LayoutId> firstLayoutOf(std::span<const LayoutId> layouts, uint16_t primary) {
    auto it = std::ranges::find_if(layouts, [primary](LayoutId l) { return primaryLanguage(uint16_t(l)) == primary; });
    if (it == layouts.end()) return std::nullopt;
    return *it;
}

std::optional<LayoutId> layoutToRequest(Desktop& desktop, std::string_view targetLang, std::u16string_view text) {
    std::optional<uint16_t> target = switchTarget(targetLang, text);
    if (!target) return std::nullopt;
    WindowId window = desktop.focusTarget();
    if (window == 0) return std::nullopt;
    if (primaryLanguage(desktop.layoutLanguage(window)) == *target) return std::nullopt;
    std::vector<LayoutId> layouts = desktop.installedLayouts();
    return firstLayoutOf(layouts, *target);
}

std::optional<LayoutId> switchLayout(Desktop& desktop, std::string_view targetLang, std::u16string_view text) {
    std::optional<LayoutId> layout = layoutToRequest(desktop, targetLang, text);
    if (layout) desktop.requestLayoutChange(desktop.focusTarget(), *layout);
    return layout;
}

}  // namespace quillom::pipeline
