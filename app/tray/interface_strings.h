// Every text the tray menu, its messages and the settings window show, by integer id, in
// English, Ukrainian or Russian. A text missing from the current language falls back to
// English, an unknown id to the empty text. Texts live until the process ends.
#pragma once

#include <string>
#include <string_view>

namespace quillom::tray {

// Every table holds the ids 0 to kInterfaceStringCount - 1.
inline constexpr int kInterfaceStringCount = 125;

namespace text_id {
inline constexpr int Unset = 91;  // "(unset)": the text of an unbound hotkey
inline constexpr int DamagedRulesKeptAside = 120;  // %s: where the damaged rules file was kept
inline constexpr int HotkeyTakenByCommand = 121;   // %s: the command's label
inline constexpr int HotkeyTakenBySystem = 122;
inline constexpr int HotkeyNeedsModifier = 123;
inline constexpr int HotkeyReserved = 124;
}

// "uk" and "ru" as given; any other code, also an empty one, selects "en".
void setInterfaceLanguage(std::string_view code);
// "en", "uk" or "ru".
std::string_view interfaceLanguage();

// The text of id in the current interface language.
const std::u16string& text(int id);
// The text of id in the language of code ("uk", "ru", anything else English).
const std::u16string& textIn(std::string_view code, int id);

// The text of id with its first "%s" replaced by argument; unchanged when it has none.
std::u16string formattedText(int id, std::u16string_view argument);
// The same replacement on any text.
std::u16string formatWithArgument(std::u16string_view text, std::u16string_view argument);

}  // namespace quillom::tray
