#include "scoring/read/letter_case.h"

#include "unicode/unicode.h"

namespace quillom::scoring {

bool capitalAfterLower(std::string_view text) {
    bool lower = false;
    for (std::string_view c : unicode::graphemes(text)) {
        if (!unicode::isLetterChar(c)) continue;
        if (unicode::isUpperChar(c)) {
            if (lower) return true;
        } else {
            lower = true;
        }
    }
    return false;
}

bool markMakesCapitalAfterLower(std::string_view typed, std::string_view corrected) {
    // Most corrections are cased as words are: the typed keys are read only for the rest.
    return capitalAfterLower(corrected) && !capitalAfterLower(typed);
}

}  // namespace quillom::scoring
