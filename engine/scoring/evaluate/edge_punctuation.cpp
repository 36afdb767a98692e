#include "scoring/evaluate/edge_punctuation.h"

#include <algorithm>
#include <array>

#include "layout/token_mapping.h"
#include "scoring/judge/pair_diagnosis.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

constexpr std::array<std::string_view, 6> kOpening{"\"", "'", "[", "{", "<", "("};
constexpr std::array<std::string_view, 11> kClosing{"\"", "'", "]", "}", ">", ")", ":", ";", ",", ".", "!"};

// Full stops opening a word that make an ellipsis (...cannot), not one
// closing an abbreviation before it.
constexpr std::size_t kEllipsisDots = 2;

template <std::size_t N>
bool isOneOf(const std::array<std::string_view, N>& set, std::string_view c) {
    return std::find(set.begin(), set.end(), c) != set.end();
}

}  // namespace

bool mayReadAsColonLetter(const RulesConfig& config, std::string_view token, Reason reason) {
    return config.tokenization.edgeColonLetterAuto && reason == Reason::ProtectedPattern &&
           TextChars(token).size() == 2;
}

bool isColonLetter(std::string_view text) {
    return text.size() == 2 && text[0] >= 'A' && text[0] <= 'Z' && text[1] == ':';
}

namespace {

bool isKnownIn(const LanguageConfig* language, const TextChars& lowerWord) {
    return language && language->isCommonWord(lowerWord.text());
}

// A known word of an active Cyrillic language, as a whole or as its letters.
bool isKnownCyrillicWord(const RulesConfig& config, const TextChars& lowerToken) {
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (language && language->script == "cyrillic" && isKnownIn(language, lowerToken)) return true;
    }
    return false;
}

// A capital letter with a colon and nothing else (Q:, A:), the letter of a
// question and answer or a heading, when the rules read those edges so;
// typed in capitals (ЙЖ), the keys must be no abbreviation of a Cyrillic
// language. A full stop is not read so: ю after a capital is a word (Ею).
bool capitalWithColon(const RulesConfig& config, const TextChars& mapped, const EdgeSplit& split,
                      const TextChars& lowerTyped) {
    if (!config.tokenization.edgeColonLetterAuto || split.leading != 0 || split.trailing != 1 || mapped.size() != 2 ||
        !unicode::isUpperChar(mapped[0]) || mapped[1] != ":")
        return false;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (language && language->script == "cyrillic" && language->abbreviations.contains(lowerTyped.text()))
            return false;
    }
    return true;
}

// The first closing mark's key is a capital letter after a lower-case one.
bool capitalMarkAfterLower(const TextChars& typed, const EdgeSplit& split) {
    const std::size_t at = typed.size() - split.trailing;
    return split.trailing > 0 && at > split.leading && unicode::isUpperChar(typed[at]) &&
           unicode::isLetterChar(typed[at - 1]) && !unicode::isUpperChar(typed[at - 1]);
}

// The opening marks' keys are capital letters before a capitalised word.
bool capitalMarkBeforeCapitalised(const TextChars& typed, const EdgeSplit& split) {
    if (split.leading == 0 || split.leading + 1 >= typed.size() - split.trailing) return false;
    for (std::size_t i = 0; i <= split.leading; ++i)
        if (!unicode::isLetterChar(typed[i]) || !unicode::isUpperChar(typed[i])) return false;
    return unicode::isLetterChar(typed[split.leading + 1]) && !unicode::isUpperChar(typed[split.leading + 1]);
}

// A one-letter core ("I, "a) counts when it is an English word and a quote or
// bracket, not a comma or full stop, stands beside it.
std::optional<std::string> oneLetterCore(const RulesConfig& config, const TextChars& mapped, const EdgeSplit& split) {
    const LanguageConfig* english = config.language("en");
    std::string_view core = mapped[split.leading];
    if (!english || !english->isCommonWord(unicode::toLower(core))) return std::nullopt;
    bool quoteOrBracket = split.leading > 0;
    for (std::size_t i = mapped.size() - split.trailing; i < mapped.size(); ++i)
        if (isOneOf(kOpening, mapped[i]) || mapped[i] == "]" || mapped[i] == "}" || mapped[i] == ")")
            quoteOrBracket = true;
    if (!quoteOrBracket) return std::nullopt;
    return std::string(core);
}

}  // namespace

std::optional<EdgeSplit> splitMappedEdges(std::string_view typed, std::string_view mapped, bool leadingEllipsis) {
    const TextChars t(typed), m(mapped);
    if (t.size() != m.size()) return std::nullopt;
    EdgeSplit split;
    bool fromLetter = false;
    std::size_t dots = 0;
    while (leadingEllipsis && dots < m.size() && m[dots] == ".") ++dots;
    if (dots >= kEllipsisDots) {
        for (; split.leading < dots; ++split.leading)
            fromLetter = fromLetter || unicode::isLetterChar(t[split.leading]);
    }
    while (split.leading < m.size() && isOneOf(kOpening, m[split.leading])) {
        fromLetter = fromLetter || unicode::isLetterChar(t[split.leading]);
        ++split.leading;
    }
    while (split.trailing + split.leading < m.size() && isOneOf(kClosing, m[m.size() - 1 - split.trailing])) {
        fromLetter = fromLetter || unicode::isLetterChar(t[t.size() - 1 - split.trailing]);
        ++split.trailing;
    }
    if (!fromLetter || split.leading + split.trailing >= m.size()) return std::nullopt;
    return split;
}

std::optional<RulesDecision> evaluateEdgePunctuation(const ScoringContext& context, std::string_view token,
                                                     std::string_view trailing, const EvaluationRequest& request) {
    const RulesConfig& config = context.config;
    if (!config.isActive("en")) return std::nullopt;
    const TextChars typed(token);
    TextChars lowerTyped = typed.lowered();
    if (config.manualOverrides.neverCorrect.contains(lowerTyped.text()) || isKnownCyrillicWord(config, lowerTyped))
        return std::nullopt;
    for (const std::string& source : context.index.keysOf(context.index.scanLetters(lowerTyped).holdingAllLetters)) {
        const LanguageConfig* language = config.language(source);
        if (!language || language->script != "cyrillic") continue;
        ShortText mappedText;
        layout::mapLayoutInto(config.keyboardLayout, token, {source, "en"}, mappedText);
        const TextChars mapped(mappedText.view());
        auto split = splitMappedEdges(token, mapped.text(), config.tokenization.edgeLeadingEllipsisAuto);
        if (!split) continue;
        std::size_t coreSize = typed.size() - split->leading - split->trailing;
        std::string_view core = typed.slice(split->leading, coreSize);
        // The letter may be a word alone (В, О): its mark is what tells. A
        // capital closing lower-case letters (рукуЖ), or opening a capitalised
        // word (ЭЕру), is cased as no word is: the core decides as a word of
        // its own, here for "here:" and "The.
        const bool colonLetter = capitalWithColon(config, mapped, *split, lowerTyped);
        if (!colonLetter && !capitalMarkAfterLower(typed, *split) && !capitalMarkBeforeCapitalised(typed, *split) &&
            isKnownCyrillicWord(config, TextChars(core).lowered()))
            continue;
        std::optional<std::string> corrected;
        double confidence = 0.0, candidateScore = 0.0, originalScore = 0.0;
        if (colonLetter) {
            corrected = std::string(mapped[0]);
            confidence = 0.9;
        } else if (coreSize == 1) {
            if (hasLowerLetter(typed) || !config.uppercaseOnlyExactPairs)
                corrected = oneLetterCore(config, mapped, *split);
            confidence = 0.9;
        } else {
            RulesDecision inner = evaluatePair(context, core, {}, request);
            if (inner.shouldCorrect && inner.targetLanguage == "en") {
                corrected = inner.correctedToken;
                confidence = inner.confidence;
                candidateScore = inner.candidateScore;
                originalScore = inner.originalScore;
            }
        }
        if (!corrected) continue;
        RulesDecision d;
        d.shouldCorrect = true;
        d.correctedToken = std::string(mapped.prefix(split->leading)) + *corrected +
                           std::string(mapped.suffix(split->trailing)) + std::string(trailing);
        d.confidence = confidence;
        d.reason = Reason::LayoutMismatchEdgePunctuation;
        d.originalScore = originalScore;
        d.candidateScore = candidateScore;
        d.sourceLanguage = source;
        d.targetLanguage = "en";
        return d;
    }
    return std::nullopt;
}

}  // namespace quillom::scoring
