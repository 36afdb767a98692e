// Learning mode's writes into the user's dictionary: after a successful selection conversion
// (correction pairs) and after a successful Undo (a never-correct word). Both do nothing
// while learning_mode is off, and both leave a working rules file that cannot be read alone
// rather than replace it with a document holding only the dictionary.
// Texts are UTF-8. reloadEngine runs after the rules file was saved.
#pragma once

#include "settings_store.h"

#include <functional>
#include <string_view>

namespace quillom::settings {

using ReloadEngine = std::function<void()>;

// source is the selection before conversion, converted the result, lang the conversion's
// target language (may be empty). Returns whether the rules file was saved.
bool learnFromConversion(SettingsStore& store, std::string_view source, std::string_view converted,
                         std::string_view lang, const ReloadEngine& reloadEngine);

// restored is the text Undo put back; of several words, the last is learned. Returns
// whether the rules file was saved.
bool learnFromUndo(SettingsStore& store, std::string_view restored, const ReloadEngine& reloadEngine);

}  // namespace quillom::settings
