#include "scoring/score/language_index.h"

#include <algorithm>

#include "layout/token_mapping.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

bool isSameScriptDirection(const RulesConfig& config, const LayoutDirection& direction) {
    const LanguageConfig* source = config.language(direction.from);
    const LanguageConfig* target = config.language(direction.to);
    if (!source || !target) return false;
    const CharSet& smaller = source->scriptAlphabet.size() <= target->scriptAlphabet.size() ? source->scriptAlphabet
                                                                                            : target->scriptAlphabet;
    const CharSet& larger = &smaller == &source->scriptAlphabet ? target->scriptAlphabet : source->scriptAlphabet;
    for (const std::string& c : smaller)
        if (larger.count(c)) return true;
    return false;
}

namespace {

// Empty entries would match every word; they carry no information.
void addEntries(WordSet& set, std::size_t& longest, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        if (entry.empty()) continue;
        set.insert(entry);
        longest = std::max(longest, unicode::graphemeCount(entry));
    }
}

// The scalars of a key of exactly two, both hot, spelt as in the key.
bool hotPair(std::string_view key, char32_t& a, char32_t& b) {
    std::size_t pos = 0;
    char32_t scalars[2];
    for (char32_t& s : scalars) {
        if (pos >= key.size()) return false;
        s = unicode::decodeScalar(key, pos);
    }
    if (pos != key.size()) return false;
    char bytes[8];
    std::size_t n = unicode::encodeScalar(scalars[0], bytes);
    n += unicode::encodeScalar(scalars[1], bytes + n);
    a = scalars[0];
    b = scalars[1];
    return std::string_view(bytes, n) == key && ScalarPairWeights::isHot(a) && ScalarPairWeights::isHot(b);
}

AffixIndex buildAffixIndex(const LanguageConfig& language) {
    AffixIndex index;
    index.pairWeights = ScalarPairWeights(language.bigramLogWeights);
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
    for (const std::string& vowel : language.vowels) index.vowels.insert(vowel, true);
    for (std::string_view word : language.microDictionary) {
        const TextChars chars(word);
        index.longestMicroWord = std::max(index.longestMicroWord, chars.size());
        if (chars.size() >= kMicroWordHead) index.microWordHeads.insert(chars.prefix(kMicroWordHead));
    }
    return index;
}

const LayoutTables& emptyTables() {
    static const LayoutTables empty;
    return empty;
}

// Language keys are two letters: compared here without a call.
bool sameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

}  // namespace

LanguageIndex::LanguageIndex(const RulesConfig& config) {
    for (const auto& [key, language] : config.languages) affixes_.emplace_back(key, buildAffixIndex(language));
    // Languages past the 64th get no bit; no real rules file comes near that.
    for (const auto& [key, language] : config.languages) {
        if (keys_.size() == maxLanguages) break;
        LanguageSet bit = LanguageSet{1} << keys_.size();
        keys_.push_back(key);
        all_ |= bit;
        for (const std::string& character : language.scriptAlphabet) {
            const LanguageSet* holders = alphabetMembership_.find(character);
            alphabetMembership_.insert(character, (holders ? *holders : 0) | bit);
        }
    }
    const KeyboardLayoutConfig& layout = config.keyboardLayout;
    for (const auto* maps : {&layout.maps, &layout.shiftMaps})
        for (const auto& [direction, map] : *maps)
            if (&layoutTables(direction) == &emptyTables())
                layouts_.emplace_back(direction,
                                      LayoutTables{CharTable<std::string>(layout::lowerMapFor(layout, direction)),
                                                   CharTable<std::string>(layout::shiftMapFor(layout, direction))});
    for (const std::string& from : keys_)
        for (const std::string& to : keys_) {
            LayoutDirection direction{from, to};
            if (from != to && isSameScriptDirection(config, direction)) sameScript_.push_back(direction);
        }
    for (const auto& [from, first] : config.languages)
        for (const auto& [to, second] : config.languages)
            if (config.sameScript(from, to)) sameScriptName_.push_back({from, to});
}

ScalarPairWeights::ScalarPairWeights(const StringMap<double>& bigrams) {
    slot_.assign(kHotScalars, 0);
    char32_t a = 0, b = 0;
    for (const auto& [key, weight] : bigrams)
        if (hotPair(key, a, b))
            for (std::size_t s : {hotIndex(a), hotIndex(b)})
                if (slot_[s] == 0) slot_[s] = static_cast<std::uint16_t>(++width_);
    weights_.assign(width_ * width_, 0.0);
    present_.assign(width_ * width_, false);
    for (const auto& [key, weight] : bigrams) {
        if (!hotPair(key, a, b)) continue;
        const std::size_t cell = (slot_[hotIndex(a)] - 1u) * width_ + (slot_[hotIndex(b)] - 1u);
        weights_[cell] = weight;
        present_[cell] = true;
    }
}

const double* ScalarPairWeights::find(char32_t a, char32_t b) const {
    const std::size_t ia = hotIndex(a), ib = hotIndex(b);
    if (slot_.empty() || slot_[ia] == 0 || slot_[ib] == 0) return nullptr;
    const std::size_t cell = (slot_[ia] - 1u) * width_ + (slot_[ib] - 1u);
    return present_[cell] ? &weights_[cell] : nullptr;
}

LanguageIndex::LanguageSet LanguageIndex::languagesOf(std::string_view character) const {
    const LanguageSet* holders = alphabetMembership_.find(character);
    return holders ? *holders : 0;
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
    for (const auto& [known, index] : affixes_)
        if (sameKey(known, key)) return &index;
    return nullptr;
}

const LayoutTables& LanguageIndex::layoutTables(const LayoutDirection& direction) const {
    for (const auto& [known, tables] : layouts_)
        if (sameKey(known.from, direction.from) && sameKey(known.to, direction.to)) return tables;
    return emptyTables();
}

bool LanguageIndex::isSameScript(const LayoutDirection& direction) const {
    for (const LayoutDirection& known : sameScript_)
        if (sameKey(known.from, direction.from) && sameKey(known.to, direction.to)) return true;
    return false;
}

bool LanguageIndex::shareScriptName(const std::string& a, const std::string& b) const {
    for (const LayoutDirection& known : sameScriptName_)
        if (sameKey(known.from, a) && sameKey(known.to, b)) return true;
    return false;
}

}  // namespace quillom::scoring
