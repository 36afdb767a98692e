#include "layout/selection_conversion.h"

#include <algorithm>
#include <map>
#include <set>

#include "layout/selection_marks.h"
#include "layout/token_mapping.h"
#include "unicode/unicode.h"

namespace quillom::layout {

namespace {

bool isCyrillicLanguage(const RulesConfig& config, const std::string& key) {
    const LanguageConfig* lang = config.language(key);
    return lang && lang->script == "cyrillic";
}

const CharMap& selectionLower(const KeyboardLayoutConfig& layout, const LayoutDirection& direction) {
    auto it = layout.selectionMaps.find(direction);
    return it != layout.selectionMaps.end() ? it->second : lowerMapFor(layout, direction);
}

const CharMap& selectionShift(const KeyboardLayoutConfig& layout, const LayoutDirection& direction) {
    auto it = layout.selectionShiftMaps.find(direction);
    return it != layout.selectionShiftMaps.end() ? it->second : shiftMapFor(layout, direction);
}

std::optional<std::string> uniqueMaxKey(const std::map<std::string, int64_t>& counts) {
    int64_t best = 0;
    const std::string* bestKey = nullptr;
    bool tie = false;
    for (const auto& [key, count] : counts) {
        if (count > best) {
            best = count;
            bestKey = &key;
            tie = false;
        } else if (count == best && bestKey) {
            tie = true;
        }
    }
    if (!bestKey || tie) return std::nullopt;
    return *bestKey;
}

}  // namespace

std::string mapSelection(const KeyboardLayoutConfig& layout, std::string_view text, const LayoutDirection& direction) {
    return mapToken(text, selectionLower(layout, direction), selectionShift(layout, direction));
}

ScriptLetterCounts scriptLetterCounts(std::string_view text) {
    ScriptLetterCounts counts;
    for (std::string_view c : unicode::graphemes(text)) {
        if (!unicode::isLetterChar(c)) continue;
        char32_t cp = unicode::firstScalar(c);
        if ((cp >= 'A' && cp <= 'Z') || (cp >= 'a' && cp <= 'z')) ++counts.latin;
        else if (cp >= 0x400 && cp <= 0x4FF) ++counts.cyrillic;
    }
    return counts;
}

std::string mapCyrillicToLatin(const RulesConfig& config, std::string_view text) {
    // Directions are visited in key order so that the result does not depend
    // on hash order: ru -> en wins over uk -> en where the two disagree.
    const KeyboardLayoutConfig& layout = config.keyboardLayout;
    std::map<std::string, LayoutDirection> toEnglish;
    for (const auto* maps : {&layout.maps, &layout.shiftMaps, &layout.selectionMaps, &layout.selectionShiftMaps})
        for (const auto& [direction, map] : *maps)
            if (direction.to == "en" && direction.from != "en") toEnglish.emplace(direction.from, direction);
    CharMap lower, upper;
    for (const auto& [from, direction] : toEnglish) {
        for (const auto& [k, v] : selectionLower(layout, direction)) lower.emplace(k, v);
        for (const auto& [k, v] : selectionShift(layout, direction)) upper.emplace(k, v);
    }
    return mapToken(text, lower, upper);
}

std::vector<std::string> latinWords(std::string_view text) {
    std::vector<std::string> words;
    std::string current;
    const std::string lower = unicode::toLower(text);
    for (std::string_view c : unicode::graphemes(lower)) {
        if (unicode::isLetterChar(c)) {
            current += c;
        } else if (!current.empty()) {
            words.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) words.push_back(std::move(current));
    return words;
}

std::vector<std::string_view> spaceSeparatedPieces(std::string_view text) {
    const auto isAsciiSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isAsciiSpace(text[i])) continue;
        if (i > start) pieces.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    return pieces;
}

namespace {

// Per candidate, where each space-separated piece of the selection, read in
// its layout, stands in frequency: the rarest of the words in it when every
// one is listed (LanguageConfig::frequencyOrder), else nothing. Pieces, not
// words, keep the candidates aligned where a key is a letter in one layout and
// a mark in another (` is ё in Russian and ' in Ukrainian). A piece that some
// candidate reads as marks alone tells nothing: nothing for every candidate;
// with selection_target_by_letters, nor do keys typed without a letter key
// that come twice ('...' around a name is quotes, not є є; one alone may be
// the word є).
using PieceOrders = std::vector<std::optional<int64_t>>;

bool hasLetterKey(std::string_view piece) {
    return std::any_of(piece.begin(), piece.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

// The pieces typed without letter keys that come twice or more.
std::set<std::string_view> pairedMarks(const std::vector<std::string_view>& pieces) {
    std::set<std::string_view> seen, paired;
    for (std::string_view piece : pieces)
        if (!hasLetterKey(piece) && !seen.insert(piece).second) paired.insert(piece);
    return paired;
}

std::optional<int64_t> pieceOrder(const LanguageConfig* lang, const std::vector<std::string>& words) {
    if (!lang || words.empty()) return std::nullopt;
    int64_t rarest = 0;
    for (const auto& w : words) {
        auto order = lang->frequencyOrder(w);
        if (!order) return std::nullopt;
        rarest = std::max(rarest, *order);
    }
    return rarest;
}

std::vector<PieceOrders> piecesOrders(const RulesConfig& config, const std::vector<std::string_view>& pieces,
                                      const std::vector<std::string>& candidates) {
    std::vector<PieceOrders> orders(candidates.size(), PieceOrders(pieces.size()));
    const std::set<std::string_view> paired =
        config.keyboardLayout.selectionTargetByLetters ? pairedMarks(pieces) : std::set<std::string_view>();
    std::vector<std::vector<std::string>> words(candidates.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (paired.contains(pieces[i])) continue;
        bool marksAlone = false;
        for (std::size_t c = 0; c < candidates.size(); ++c) {
            words[c] = latinWords(mapSelection(config.keyboardLayout, pieces[i], {"en", candidates[c]}));
            marksAlone = marksAlone || words[c].empty();
        }
        if (marksAlone) continue;
        for (std::size_t c = 0; c < candidates.size(); ++c)
            orders[c][i] = pieceOrder(config.language(candidates[c]), words[c]);
    }
    return orders;
}

// Per candidate, the pieces that only it reads as words, or that it reads as
// far more frequent words than every other (первый is only Russian, первій a
// rare Ukrainian form).
std::map<std::string, int64_t> telltalePieces(const RulesConfig& config, const std::vector<std::string>& candidates,
                                              const std::vector<PieceOrders>& orders) {
    std::map<std::string, int64_t> counts;
    std::vector<std::optional<int64_t>> readings(candidates.size());
    for (std::size_t i = 0; i < orders.front().size(); ++i) {
        for (std::size_t c = 0; c < candidates.size(); ++c) readings[c] = orders[c][i];
        if (auto best = clearlyMoreFrequent(readings, config.decision.languageEvidence.twinRankMargin))
            ++counts[candidates[*best]];
    }
    return counts;
}

// Of pieces that every candidate reads, the candidate whose readings are more
// frequent more often (дамы against дамі).
std::map<std::string, int64_t> morePieceFrequent(const std::vector<std::string>& candidates,
                                                 const std::vector<PieceOrders>& orders) {
    std::map<std::string, int64_t> counts;
    for (std::size_t i = 0; i < orders.front().size(); ++i) {
        std::optional<std::size_t> best;
        bool everyReads = true, tie = false;
        for (std::size_t c = 0; c < candidates.size() && everyReads; ++c) {
            const auto& order = orders[c][i];
            if (!order) everyReads = false;
            else if (!best || *order < *orders[*best][i]) best = c, tie = false;
            else if (*order == *orders[*best][i]) tie = true;
        }
        if (everyReads && best && !tie) ++counts[candidates[*best]];
    }
    return counts;
}

}  // namespace

std::optional<std::string> chooseCyrillicTarget(const RulesConfig& config, std::string_view forLatin,
                                                const std::vector<std::string>& candidates,
                                                const TargetByLetters& byLetters) {
    if (candidates.empty()) return std::nullopt;
    if (candidates.size() == 1) return candidates.front();
    const auto pieces = spaceSeparatedPieces(forLatin);
    if (pieces.empty()) return candidates.front();
    const std::vector<PieceOrders> orders = piecesOrders(config, pieces, candidates);
    std::map<std::string, int64_t> known;
    for (std::size_t c = 0; c < candidates.size(); ++c)
        for (const auto& order : orders[c])
            if (order) ++known[candidates[c]];
    if (auto telling = uniqueMaxKey(telltalePieces(config, candidates, orders))) return telling;
    if (auto most = uniqueMaxKey(known)) return most;
    if (auto frequent = uniqueMaxKey(morePieceFrequent(candidates, orders))) return frequent;
    if (config.keyboardLayout.selectionTargetByLetters && byLetters)
        if (auto letters = byLetters(forLatin, candidates)) return letters;
    return candidates.front();
}

namespace {

// Capitals that English lists among its abbreviations (OK, USB), or three
// letters or more of a word it ranks above its rare words (the band the rules
// call rare), read as no word or abbreviation of the target: a name or term
// of the text typed as meant (Linux; not ghbdtn, nor the By of Рах Ин Мар,
// nor UP or IS, a frequent word in capitals being an acronym of the target).
bool englishWordKept(const RulesConfig& config, const std::string& target, std::string_view typed,
                     std::string_view read) {
    constexpr std::size_t kMinLetters = 3;
    const LanguageConfig* english = config.isActive("en") ? config.language("en") : nullptr;
    const LanguageConfig* targetLanguage = config.language(target);
    const int64_t rareBand = config.decision.rareReadingMinBandInTypedText;
    if (!english || !targetLanguage || rareBand <= 0) return false;
    const std::string lowerTyped = unicode::toLower(typed), lowerRead = unicode::toLower(read);
    if (targetLanguage->isCommonWord(lowerRead) || targetLanguage->abbreviations.contains(lowerRead)) return false;
    if (std::none_of(typed.begin(), typed.end(), [](char c) { return c >= 'a' && c <= 'z'; }))
        return typed.size() >= kMinLetters && english->abbreviations.contains(lowerTyped);
    const std::optional<int64_t> order = english->frequencyOrder(lowerTyped);
    return typed.size() >= kMinLetters && order && *order < rareBand;
}

// Text typed on the US layout read in a Cyrillic target, the marks typed as
// themselves, and the English words, kept where the rules ask for it.
std::string mapFromLatin(const RulesConfig& config, std::string_view text, const std::string& target) {
    const KeyboardLayoutConfig& layout = config.keyboardLayout;
    if (!layout.selectionKeepsTypedMarks) return mapSelection(layout, text, {"en", target});
    if (!layout.selectionKeepsEnglishWords) return mapSelectionKeepingMarks(layout, text, {"en", target});
    return mapSelectionKeepingMarks(layout, text, {"en", target}, [&](std::string_view typed, std::string_view read) {
        return englishWordKept(config, target, typed, read);
    });
}

}  // namespace

ManualConversionResult convertSelectionSmart(const RulesConfig& config, std::string_view text,
                                             const std::optional<std::string>&, const TargetByLetters& byLetters) {
    const auto counts = scriptLetterCounts(text);
    if (counts.latin == 0 && counts.cyrillic == 0) return {std::string(text), "en"};
    if (counts.cyrillic >= counts.latin) return {mapCyrillicToLatin(config, text), "en"};
    std::vector<std::string> candidates;
    for (const auto& key : config.activeLanguages)
        if (isCyrillicLanguage(config, key)) candidates.push_back(key);
    auto target = chooseCyrillicTarget(config, text, candidates, byLetters);
    if (!target) return {std::string(text), "en"};
    return {mapFromLatin(config, text, *target), *target};
}

ManualConversionResult convertSelection(const RulesConfig& config, std::string_view text, const std::string& to) {
    if (to == "en") return {mapCyrillicToLatin(config, text), "en"};
    const auto counts = scriptLetterCounts(text);
    std::string source = "en";
    if (counts.cyrillic > 0 && counts.latin <= counts.cyrillic) {
        source.clear();
        for (const auto& key : config.activeLanguages) {
            if (key != to && isCyrillicLanguage(config, key)) {
                source = key;
                break;
            }
        }
        if (source.empty()) source = (to == "ru") ? "uk" : "ru";
    }
    if (source == "en") return {mapFromLatin(config, text, to), to};
    return {mapSelection(config.keyboardLayout, text, {source, to}), to};
}

}  // namespace quillom::layout
