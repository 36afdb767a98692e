// Mapping a word key by key from one layout to another, carrying letter case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"

namespace quillom::layout {

// Character by character; characters no map knows pass through unchanged.
std::string mapToken(std::string_view token, const CharMap& lowerMap, const CharMap& upperMap);

// The direction's lower and shift maps (empty maps when not configured).
const CharMap& lowerMapFor(const KeyboardLayoutConfig& layout, const LayoutDirection& direction);
const CharMap& shiftMapFor(const KeyboardLayoutConfig& layout, const LayoutDirection& direction);

std::string mapLayout(const KeyboardLayoutConfig& layout, std::string_view token,
                      const LayoutDirection& direction);

// Carries the case pattern of the typed word over to its replacement.
std::string preserveCase(std::string_view original, std::string_view replacement);

// Lower-cased letters of the token that some configured alphabet contains.
std::vector<std::string> classifiedLetters(const RulesConfig& config, std::string_view token);

// True when some configured map (lower or shift) sends the character to a letter.
bool someMapSendsToLetter(const KeyboardLayoutConfig& layout, std::string_view character);

}  // namespace quillom::layout
