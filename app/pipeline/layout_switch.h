// Choosing and requesting the focused window's keyboard layout after a
// correction, Undo or conversion, and naming the language of a layout.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform.h"

namespace quillom::pipeline {

namespace lang {
inline constexpr uint16_t English = 0x09, Russian = 0x19, Ukrainian = 0x22;
}

// Primary language (low 10 bits) of a language id.
inline constexpr uint16_t primaryLanguage(uint16_t langId) { return langId & 0x3FF; }

// "en", "ru", "uk" for the layout's primary language; empty for any other.
std::string inputSourceOf(uint16_t langId);

// The language to switch to: the engine's target when it names one,
// otherwise the script of the text; nothing when neither decides.
std::optional<uint16_t> switchTarget(std::string_view targetLang, std::u16string_view text);

// The first installed layout of that primary language, in list order.
std::optional<LayoutId> firstLayoutOf(std::span<const LayoutId> layouts, uint16_t primary);

// The layout a switch would ask the focused window to take: none when it
// already has one of the target language or no such layout is installed.
std::optional<LayoutId> layoutToRequest(Desktop& desktop, std::string_view targetLang, std::u16string_view text);

// Asks the focused window to take a layout of the target language unless it
// already has one. Returns the layout requested, if any.
std::optional<LayoutId> switchLayout(Desktop& desktop, std::string_view targetLang, std::u16string_view text);

}  // namespace quillom::pipeline
