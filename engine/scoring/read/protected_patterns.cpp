#include "scoring/read/protected_patterns.h"

namespace quillom::scoring {

namespace {

bool isAsciiLetter(std::string_view c) {
    return c.size() == 1 && ((c[0] >= 'a' && c[0] <= 'z') || (c[0] >= 'A' && c[0] <= 'Z'));
}

}  // namespace

bool isProtectedToken(const RulesConfig& config, const TextChars& token) {
    // The full-stop key is a Cyrillic letter on the other layout: "cj.p" is a
    // mistyped word, not a file name with an extension.
    std::size_t n = token.size();
    if (n >= 2 && token[n - 2] == "." && isAsciiLetter(token[n - 1])) return false;
    if (config.protectedPatterns.empty()) return false;
    const regex::Subject subject(token.text());
    for (const ProtectedPattern& pattern : config.protectedPatterns)
        if (pattern.regex.search(subject)) return true;
    return false;
}

}  // namespace quillom::scoring
