#include "scoring/language_index.h"

#include "scoring/token_scorer.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

LanguageIndex::LanguageIndex(const RulesConfig& config) {
    // Languages past the 64th get no bit; no real rules file comes near that.
    for (const auto& [key, language] : config.languages) {
        if (keys_.size() == maxLanguages) break;
        LanguageSet bit = LanguageSet{1} << keys_.size();
        keys_.push_back(key);
        all_ |= bit;
        for (const std::string& character : language.scriptAlphabet) alphabetMembership_[character] |= bit;
    }
    for (const std::string& from : keys_)
        for (const std::string& to : keys_) {
            LayoutDirection direction{from, to};
            if (from != to && isSameScriptDirection(config, direction)) sameScript_.insert(direction);
        }
}

LanguageIndex::LanguageSet LanguageIndex::languagesOf(std::string_view character) const {
    // Characters are short, so the key usually stays in the small-string buffer.
    auto it = alphabetMembership_.find(std::string(character));
    return it == alphabetMembership_.end() ? 0 : it->second;
}

std::vector<std::string> LanguageIndex::keysOf(LanguageSet set) const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < keys_.size(); ++i)
        if (set & (LanguageSet{1} << i)) out.push_back(keys_[i]);
    return out;
}

LetterScan LanguageIndex::scanLetters(const TextChars& lowerToken) const {
    LetterScan scan;
    scan.holdingAllLetters = all_;
    scan.holdingClassified = all_;
    for (std::size_t i = 0; i < lowerToken.size(); ++i) {
        std::string_view c = lowerToken[i];
        if (!unicode::isLetterChar(c)) continue;
        scan.hasLetter = true;
        LanguageSet holders = languagesOf(c);
        scan.holdingAllLetters &= holders;
        if (holders != 0) {
            scan.hasClassifiedLetter = true;
            scan.holdingClassified &= holders;
        }
    }
    if (!scan.hasLetter) scan.holdingAllLetters = 0;
    return scan;
}

bool LanguageIndex::isSameScript(const LayoutDirection& direction) const {
    return sameScript_.count(direction) != 0;
}

}  // namespace quillom::scoring
