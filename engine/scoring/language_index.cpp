#include "scoring/language_index.h"

#include <algorithm>

#include "scoring/token_scorer.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

// Empty entries would match every word; they carry no information.
void addEntries(WordSet& set, std::size_t& longest, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        if (entry.empty()) continue;
        set.insert(entry);
        longest = std::max(longest, unicode::graphemeCount(entry));
    }
}

AffixIndex buildAffixIndex(const LanguageConfig& language) {
    AffixIndex index;
    addEntries(index.strongStarts, index.longestStart, language.strongWordStarts);
    addEntries(index.weakStarts, index.longestStart, language.weakWordStarts);
    addEntries(index.strongEnds, index.longestEnd, language.strongWordEnds);
    addEntries(index.weakEnds, index.longestEnd, language.weakWordEnds);
    for (std::size_t i = 0; i < language.commonSuffixBoosts.size(); ++i) {
        const auto& [suffix, boost] = language.commonSuffixBoosts[i];
        if (suffix.empty()) continue;
        index.suffixBoosts.try_emplace(suffix, i, boost);
        index.longestSuffix = std::max(index.longestSuffix, unicode::graphemeCount(suffix));
    }
    for (std::string_view word : language.microDictionary)
        index.longestMicroWord = std::max(index.longestMicroWord, unicode::graphemeCount(word));
    return index;
}

}  // namespace

LanguageIndex::LanguageIndex(const RulesConfig& config) {
    for (const auto& [key, language] : config.languages) affixes_.emplace(key, buildAffixIndex(language));
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
    auto it = alphabetMembership_.find(character);
    return it == alphabetMembership_.end() ? 0 : it->second;
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

const AffixIndex* LanguageIndex::affixes(const std::string& key) const {
    auto it = affixes_.find(key);
    return it == affixes_.end() ? nullptr : &it->second;
}

bool LanguageIndex::isSameScript(const LayoutDirection& direction) const {
    return sameScript_.count(direction) != 0;
}

}  // namespace quillom::scoring
