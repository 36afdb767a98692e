// Facts about the configured languages that every evaluation needs, worked out
// once per configuration so that a word costs one lookup per letter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "config/rules_config.h"
#include "scoring/text_chars.h"

namespace quillom::scoring {

// Which languages can hold the letters of one word.
struct LetterScan {
    bool hasLetter = false;
    bool hasClassifiedLetter = false;  // a letter of some configured alphabet
    uint64_t holdingAllLetters = 0;    // languages whose alphabet holds every letter
    uint64_t holdingClassified = 0;    // ... every letter of some configured alphabet
};

// A language's word starts, ends, suffix boosts and micro-dictionary as
// lookup tables, so that a word is tested by its own prefixes and suffixes
// instead of by walking the lists.
struct AffixIndex {
    WordSet strongStarts, weakStarts, strongEnds, weakEnds;
    // suffix -> (position of its first entry in the list, boost)
    StringMap<std::pair<std::size_t, double>> suffixBoosts;
    // Longest entry of each kind, in characters.
    std::size_t longestStart = 0, longestEnd = 0, longestSuffix = 0, longestMicroWord = 0;
};

class LanguageIndex {
public:
    // Bit i of a language set stands for keys()[i] (keys in ascending order).
    using LanguageSet = uint64_t;
    static constexpr std::size_t maxLanguages = 64;

    LanguageIndex() = default;
    explicit LanguageIndex(const RulesConfig& config);

    // Languages whose alphabet holds this (lower-case) character; 0 for none.
    LanguageSet languagesOf(std::string_view character) const;
    LanguageSet allLanguages() const { return all_; }
    const std::vector<std::string>& keys() const { return keys_; }
    std::vector<std::string> keysOf(LanguageSet set) const;

    // lowerToken: the word with every character lower-cased.
    LetterScan scanLetters(const TextChars& lowerToken) const;

    // Null for a language that is not configured.
    const AffixIndex* affixes(const std::string& key) const;

    // Precomputed isSameScriptDirection for every pair of configured languages.
    bool isSameScript(const LayoutDirection& direction) const;

private:
    std::vector<std::string> keys_;
    LanguageSet all_ = 0;
    StringMap<LanguageSet> alphabetMembership_;
    std::unordered_set<LayoutDirection, LayoutDirectionHash> sameScript_;
    std::unordered_map<std::string, AffixIndex> affixes_;
};

// The configuration together with its index; cheap to pass by value.
struct ScoringContext {
    const RulesConfig& config;
    const LanguageIndex& index;
};

}  // namespace quillom::scoring
