// Facts about the configured languages that every evaluation needs, worked out
// once per configuration so that a word costs one lookup per letter.
#pragma once

#include <bit>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "config/char_table.h"
#include "config/rules_config.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

// Both languages configured and their alphabets share a character.
bool isSameScriptDirection(const RulesConfig& config, const LayoutDirection& direction);

// Which languages can hold the letters of one word.
struct LetterScan {
    bool hasLetter = false;
    bool hasClassifiedLetter = false;  // a letter of some configured alphabet
    uint64_t holdingAllLetters = 0;    // languages whose alphabet holds every letter
    uint64_t holdingClassified = 0;    // ... every letter of some configured alphabet
};

// The bigram weights of pairs of one-scalar characters from ASCII and
// U+0400..U+04FF (nearly every pair of a word), as a dense table: the same
// weights as the string map, found without hashing.
class ScalarPairWeights {
public:
    ScalarPairWeights() = default;
    explicit ScalarPairWeights(const StringMap<double>& bigrams);

    // Scalars the table speaks for.
    static bool isHot(char32_t scalar) { return hotIndex(scalar) < kHotScalars; }
    // The weight of the pair a, b (both hot); null when the map has none.
    const double* find(char32_t a, char32_t b) const;

private:
    static constexpr std::size_t kHotScalars = 0x180;
    static std::size_t hotIndex(char32_t scalar) {
        if (scalar < 0x80) return scalar;
        if (scalar >= 0x400 && scalar <= 0x4FF) return 0x80 + (scalar - 0x400);
        return kHotScalars;
    }

    std::vector<std::uint16_t> slot_;  // per hot scalar: 0, or 1 + its row
    std::size_t width_ = 0;
    std::vector<double> weights_;  // width_ x width_
    std::vector<bool> present_;
};

// Micro-dictionary words of this many characters or more give a bonus to the
// words that begin with them.
inline constexpr std::size_t kMicroWordHead = 4;

// A language's word starts, ends, suffix boosts and micro-dictionary as
// lookup tables, so that a word is tested by its own prefixes and suffixes
// instead of by walking the lists.
struct AffixIndex {
    WordSet strongStarts, weakStarts, strongEnds, weakEnds;
    // suffix -> (position of its first entry in the list, boost)
    std::unordered_map<std::string, std::pair<std::size_t, double>, WordHash, std::equal_to<>> suffixBoosts;
    CharTable<bool> vowels;  // the language's vowels
    // The first four characters of every micro-dictionary word of four or
    // more: a word whose own first four are not among them begins with none.
    WordSet microWordHeads;
    // Longest entry of each kind, in characters.
    std::size_t longestStart = 0, longestEnd = 0, longestSuffix = 0, longestMicroWord = 0;
    ScalarPairWeights pairWeights;
};

// A direction's key maps from the keyboard layout, as character tables.
struct LayoutTables {
    CharTable<std::string> lower, shift;
};

// Bit i of a language set stands for the i-th configured key (keys in ascending order).
using LanguageSet = uint64_t;

// The keys of a language set in ascending order, viewing the index's own
// strings (nothing is copied).
class LanguageKeys {
public:
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string*;
        using reference = const std::string&;

        iterator() = default;
        iterator(const std::vector<std::string>* keys, LanguageSet rest) : keys_(keys), rest_(rest) {}
        const std::string& operator*() const { return (*keys_)[static_cast<std::size_t>(std::countr_zero(rest_))]; }
        iterator& operator++() {
            rest_ &= rest_ - 1;
            return *this;
        }
        iterator operator++(int) {
            iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const iterator& o) const { return rest_ == o.rest_; }

    private:
        const std::vector<std::string>* keys_ = nullptr;
        LanguageSet rest_ = 0;
    };

    LanguageKeys(const std::vector<std::string>& keys, LanguageSet set) : keys_(&keys), set_(set) {}
    iterator begin() const { return {keys_, set_}; }
    iterator end() const { return {keys_, 0}; }
    bool empty() const { return set_ == 0; }
    std::size_t size() const { return static_cast<std::size_t>(std::popcount(set_)); }
    const std::string& front() const { return *begin(); }

private:
    const std::vector<std::string>* keys_;
    LanguageSet set_;
};

class LanguageIndex {
public:
    using LanguageSet = scoring::LanguageSet;
    static constexpr std::size_t maxLanguages = 64;

    LanguageIndex() = default;
    explicit LanguageIndex(const RulesConfig& config);

    // Languages whose alphabet holds this (lower-case) character; 0 for none.
    LanguageSet languagesOf(std::string_view character) const;
    LanguageSet allLanguages() const { return all_; }
    const std::vector<std::string>& keys() const { return keys_; }
    LanguageKeys keysOf(LanguageSet set) const { return {keys_, set & all_}; }

    // lowerToken: the word with every character lower-cased.
    LetterScan scanLetters(const TextChars& lowerToken) const;

    // Null for a language that is not configured.
    const AffixIndex* affixes(const std::string& key) const;

    // Precomputed isSameScriptDirection for every pair of configured languages.
    bool isSameScript(const LayoutDirection& direction) const;
    // Precomputed RulesConfig::sameScript (the languages' "script" values) for
    // every pair of configured languages.
    bool shareScriptName(const std::string& a, const std::string& b) const;

    // The direction's lower and shift maps (empty tables when not configured),
    // holding what layout::lowerMapFor and layout::shiftMapFor give.
    const LayoutTables& layoutTables(const LayoutDirection& direction) const;

private:
    std::vector<std::string> keys_;
    LanguageSet all_ = 0;
    CharTable<LanguageSet> alphabetMembership_;
    std::vector<std::pair<LayoutDirection, LayoutTables>> layouts_;
    // A handful of languages: walked, not hashed.
    std::vector<LayoutDirection> sameScript_;
    std::vector<LayoutDirection> sameScriptName_;
    std::vector<std::pair<std::string, AffixIndex>> affixes_;
};

// The configuration together with its index; cheap to pass by value.
struct ScoringContext {
    const RulesConfig& config;
    const LanguageIndex& index;
};

}  // namespace quillom::scoring
