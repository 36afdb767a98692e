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
    return !capitalAfterLower(typed) && capitalAfterLower(corrected);
}

}  // namespace quillom::scoring
