#include "scoring/evaluate/possessive.h"

#include "layout/token_mapping.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

PossessiveKeys::PossessiveKeys(const RulesConfig& config) {
    if (!config.isActive("en")) return;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (!language || language->script != "cyrillic") continue;
        for (const std::string english : {"'s", "'S"}) {
            const std::string typed = layout::mapLayout(config.keyboardLayout, english, {"en", key});
            // Keys the layout reads as marks or not at all tell nothing.
            if (typed != english && allLetters(TextChars(typed))) endings_.push_back({typed, english, key});
        }
    }
}

PossessiveEnding PossessiveKeys::endingOf(std::string_view token) const {
    for (const Keys& keys : endings_)
        if (token.ends_with(keys.typed)) return {keys.typed.size(), keys.english, keys.layout};
    return {};
}

}  // namespace quillom::scoring
