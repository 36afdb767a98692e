#include "scoring/evaluate/word_evaluation.h"

#include "scoring/choose/decision_selection.h"
#include "scoring/judge/mixed_script.h"
#include "scoring/judge/pair_diagnosis.h"
#include "scoring/read/protected_patterns.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

RulesDecision refusal(Reason reason) {
    RulesDecision d;
    d.reason = reason;
    return d;
}

bool hasNumericChar(const TextChars& token) {
    for (std::size_t i = 0; i < token.size(); ++i)
        if (unicode::isNumericChar(token[i])) return true;
    return false;
}

RulesDecision exactPairDecision(const ScoringContext& context, const TextChars& token, std::string_view lowerKey,
                                const std::string& replacement, std::string_view trailing) {
    const RulesConfig& config = context.config;
    RulesDecision d;
    d.shouldCorrect = true;
    d.correctedToken = correctionText(token.text(), replacement, trailing);
    d.confidence = 0.99;
    d.reason = Reason::ExactSeedPair;
    d.candidateScore = config.decision.scoringWeights.exactSeedPair;
    // The language the user recorded for the pair wins over guessing from its letters.
    auto recorded = config.manualOverrides.exactPairTargetLang.find(lowerKey);
    if (recorded != config.manualOverrides.exactPairTargetLang.end()) {
        d.targetLanguage = recorded->second;
    } else {
        std::vector<std::string> languages = detectSourceLanguages(context.index, TextChars(replacement).lowered());
        if (languages.size() == 1) d.targetLanguage = std::move(languages.front());
    }
    return d;
}

// The place by which a target's candidates are weighed: its place among the
// active languages, except that of two languages of one script the one the
// user has lately written mostly goes first (LanguageVotes::written).
std::size_t priorityIndex(const ScoringContext& context, std::size_t index, const LanguageVotes* votes) {
    const RulesConfig& config = context.config;
    const std::string& target = config.activeLanguages[index];
    for (std::size_t other = 0; other < config.activeLanguages.size(); ++other) {
        const std::string& key = config.activeLanguages[other];
        if (other == index || !context.index.shareScriptName(key, target)) continue;
        if (other < index ? writtenMostly(config, votes, target, key) : writtenMostly(config, votes, key, target))
            return other;
    }
    return index;
}

// The size of the character ending at byte `end` when its bytes alone tell
// that it stands alone: printable ASCII, or a Cyrillic letter (U+0400..U+04FF
// less the combining marks U+0483..U+0489); 0 otherwise.
std::size_t plainCharacterEndingAt(std::string_view text, std::size_t end) {
    const auto byteAt = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (end >= 1 && byteAt(end - 1) >= 0x20 && byteAt(end - 1) < 0x7F) return 1;
    if (end >= 2 && byteAt(end - 2) >= 0xD0 && byteAt(end - 2) <= 0xD3 && (byteAt(end - 1) & 0xC0) == 0x80 &&
        !(byteAt(end - 2) == 0xD2 && byteAt(end - 1) >= 0x83 && byteAt(end - 1) <= 0x89))
        return 2;
    return 0;
}

// The text's last character, found without segmenting the text, when it is
// such a character after another or after nothing: only a prepended mark
// before it could join it to what comes before. Empty otherwise.
std::string_view plainLastCharacter(std::string_view text) {
    const std::size_t last = plainCharacterEndingAt(text, text.size());
    if (last == 0) return {};
    const std::size_t before = text.size() - last;
    if (before > 0 && plainCharacterEndingAt(text, before) == 0) return {};
    return text.substr(before);
}

}  // namespace

TrailingSplit stripTrailingBoundary(const RulesConfig& config, std::string_view token) {
    if (!config.tokenization.stripBoundaryBeforeScoring) return {token, {}};
    const CharSet& boundaries = config.tokenization.wordBoundaries;
    // Most words end in a letter: nothing to strip, and no need to segment them.
    const std::string_view last = plainLastCharacter(token);
    if (!last.empty() && !boundaries.contains(last)) return {token, token.substr(token.size())};
    const TextChars chars(token);
    std::size_t kept = chars.size();
    while (kept > 0 && boundaries.contains(chars[kept - 1])) --kept;
    const std::size_t coreSize = chars.prefix(kept).size();
    return {token.substr(0, coreSize), token.substr(coreSize)};
}

std::optional<RulesDecision> uppercaseRejection(const RulesConfig& config, const TextChars& token,
                                                const TextChars& lowerToken) {
    if (!config.uppercaseOnlyExactPairs) return std::nullopt;
    bool hasLetter = false;
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (!unicode::isLetterChar(token[i])) continue;
        if (!unicode::isUpperChar(token[i])) return std::nullopt;
        hasLetter = true;
    }
    if (!hasLetter) return std::nullopt;
    const std::string_view key = lowerToken.text();
    if (config.manualOverrides.neverCorrect.contains(key)) return refusal(Reason::NeverCorrect);
    if (config.manualOverrides.exactPairs.count(key)) return std::nullopt;
    return refusal(Reason::UppercaseRequiresExactPair);
}

std::vector<std::string> detectSourceLanguages(const LanguageIndex& index, const TextChars& lowerToken) {
    const LanguageKeys keys = index.keysOf(index.scanLetters(lowerToken).holdingAllLetters);
    return {keys.begin(), keys.end()};
}

RulesDecision evaluatePair(const ScoringContext& context, std::string_view tokenText, std::string_view trailing,
                           const EvaluationRequest& request) {
    const RulesConfig& config = context.config;
    const TokenizationConfig& tokenization = config.tokenization;
    if (tokenText.empty()) return refusal(Reason::EmptyToken);
    const TextChars token(tokenText);
    auto length = static_cast<int64_t>(token.size());
    if (length < tokenization.minTokenLengthForAuto) return refusal(Reason::TooShort);
    if (length > tokenization.maxTokenLengthForAuto) return refusal(Reason::TooLong);

    TextChars lowerToken = token.lowered();
    if (auto rejected = uppercaseRejection(config, token, lowerToken)) return *rejected;
    bool isProtected = isProtectedToken(config, token);

    LetterScan letters = context.index.scanLetters(lowerToken);
    if (isMixedScript(letters)) {
        if (!tokenization.mixedScriptAuto) return refusal(Reason::MixedScript);
        return evaluateMixedScript(context, token, trailing, isProtected);
    }
    if (!tokenization.digitsInTokenAuto && hasNumericChar(token)) return refusal(Reason::ContainsDigits);
    const LanguageKeys sources = context.index.keysOf(letters.holdingAllLetters);
    if (sources.empty()) return refusal(Reason::UnknownScript);

    const std::string_view lowerKey = lowerToken.text();
    const ManualOverridesConfig& overrides = config.manualOverrides;
    if (overrides.neverCorrect.contains(lowerKey)) return refusal(Reason::NeverCorrect);
    auto pair = overrides.exactPairs.find(lowerKey);
    if (pair != overrides.exactPairs.end()) return exactPairDecision(context, token, lowerKey, pair->second, trailing);

    TypedScoreCache typedScores;
    WordContext word{token,
                     lowerToken,
                     trailing,
                     isProtected,
                     request.sessionLanguage,
                     &typedScores,
                     request.votes,
                     &request.activeInputSource};
    InlineBuffer<CompetingDirection, 8> competing;
    for (const std::string& source : sources) {
        for (std::size_t i = 0; i < config.activeLanguages.size(); ++i) {
            const std::string& target = config.activeLanguages[i];
            if (target == source) continue;
            LayoutDirection direction{source, target};
            RulesDecision decision =
                scoreAndDecideForDirection(context, word, direction, priorityIndex(context, i, request.votes));
            decision.sourceLanguage = source;
            decision.targetLanguage = target;
            competing.push_back({std::move(direction), std::move(decision)});
        }
    }
    if (competing.empty()) return refusal(Reason::NoTargetLanguage);
    return selectWinningDecision(config, competing, request.activeInputSource, request.sessionLanguage, request.votes);
}

}  // namespace quillom::scoring
