// Every text the tray menu, its messages and the settings window show, by TextId, in
// English, Ukrainian or Russian. A text missing from the current language falls back to
// English, an unknown id to the empty text. Texts live until the process ends.
#pragma once

#include "common/app_mode.h"
#include "text_id.h"

#include <string>
#include <string_view>

namespace quillom::tray {

// "uk" and "ru" as given; any other code, also an empty one, selects "en".
void setInterfaceLanguage(std::string_view code);
// "en", "uk" or "ru".
std::string_view interfaceLanguage();

// The text of id in the current interface language.
const std::u16string& text(TextId id);
// The text of id in the language of code ("uk", "ru", anything else English).
const std::u16string& textIn(std::string_view code, TextId id);

// The text of id with its first "%s" replaced by argument; unchanged when it has none.
std::u16string formattedText(TextId id, std::u16string_view argument);
// The same replacement on any text.
std::u16string formatWithArgument(std::u16string_view text, std::u16string_view argument);

// The name of an application mode as a menu shows it, "&" before its access key.
const std::u16string& appModeText(AppMode mode);
// A menu text as a list shows it: "&&" becomes "&", a single "&" goes.
std::u16string withoutAccessKey(std::u16string_view menuText);

}  // namespace quillom::tray
