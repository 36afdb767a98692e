#include "scoring/judge/corrected_run.h"

#include "scoring/read/capitals.h"
#include "scoring/score/token_scorer.h"

namespace quillom::scoring {

namespace {

// The session's run: enough words corrected from `from` into `into`.
bool runOf(const RulesConfig& config, const LanguageVotes* votes, const std::string& from, const std::string& into) {
    const int64_t minWords = config.decision.correctedRunMinWords;
    if (minWords <= 0 || !votes || votes->correctedRun.words < minWords) return false;
    const LanguageVotes::CorrectedRun& run = votes->correctedRun;
    const std::size_t count = config.activeLanguages.size();
    return run.from < count && run.into < count && config.activeLanguages[run.from] == from &&
           config.activeLanguages[run.into] == into;
}

// Letters only, the first beginning words and each pair one target's text holds.
bool pairsOfTarget(const ScoringContext& context, const TextChars& letters, const std::string& target,
                   const LanguageConfig& language) {
    if (letters.empty() || !allLetters(letters)) return false;
    const AffixIndex* affixes = context.index.affixes(target);
    return countUnknownBigrams(letters, &language, affixes ? &affixes->pairWeights : nullptr) == 0;
}

// An apostrophe between two letters, where target's alphabet holds one (the
// key that gives it typed inside the word: Ks`cfh is Лі'сар); the pairs are
// tested on each side of it, a name's apostrophe standing where the
// language's own words put none.
std::size_t innerApostrophe(const RulesConfig& config, const TextChars& reading, const LanguageConfig& language) {
    if (!config.decision.correctedRunReadsApostrophe) return 0;
    for (std::size_t i = 1; i + 1 < reading.size(); ++i)
        if ((isApostrophe(reading[i]) || reading[i] == "\u02BC") && language.scriptAlphabet.contains(reading[i]))
            return i;
    return 0;
}

bool readsAsTargetLetters(const ScoringContext& context, const TextChars& reading, const std::string& target,
                          const LanguageConfig& language) {
    if (reading.size() < 2 || letterBeginsNoWord(reading[0])) return false;
    const std::size_t apostrophe = innerApostrophe(context.config, reading, language);
    if (apostrophe == 0) return pairsOfTarget(context, reading, target, language);
    const std::size_t after = apostrophe + 1;
    return pairsOfTarget(context, TextChars(reading.slice(0, apostrophe)), target, language) &&
           pairsOfTarget(context, TextChars(reading.slice(after, reading.size() - after)), target, language);
}

// An apostrophe inside the typed word is the apostrophe English and
// Ukrainian write (Ал'тунран), not the letter its key gives on the other
// layout.
bool holdsApostrophe(std::string_view typed) {
    return typed.find('\'') != std::string_view::npos || typed.find("\u2019") != std::string_view::npos;
}

}  // namespace

bool listedInScript(const RulesConfig& config, const std::string& script, std::string_view word,
                    const std::string& except) {
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (key == except || !language || language->script != script) continue;
        if (language->isCommonWord(word) || language->technicalWords.contains(word)) return true;
    }
    return false;
}

bool rareWordInCorrectedRun(const RulesConfig& config, const LanguageVotes* votes,
                            const std::optional<std::string>* typedOn, const LayoutDirection& direction,
                            std::optional<int64_t> typedOrder) {
    const int64_t rareBand = config.decision.rareReadingMinBandInTypedText;
    return typedOn && *typedOn && **typedOn == direction.from && rareBand > 0 && typedOrder &&
           *typedOrder != LanguageConfig::kUnrankedOrder && *typedOrder >= rareBand &&
           runOf(config, votes, direction.from, direction.to);
}

bool correctsInCorrectedRun(const RulesConfig& config, const LanguageVotes* votes,
                            const std::optional<std::string>& typedOn, const RulesDecision& decision) {
    return decision.shouldCorrect && typedOn && decision.sourceLanguage == typedOn && decision.targetLanguage &&
           runOf(config, votes, *typedOn, *decision.targetLanguage);
}

bool unlistedWordInCorrectedRun(const ScoringContext& context, const LanguageVotes* votes,
                                const std::optional<std::string>* typedOn, const LayoutDirection& direction,
                                const TextChars& lowerTyped, const TextChars& lowerReading, double typedScore,
                                double readingScore) {
    const RulesConfig& config = context.config;
    if (!typedOn || !*typedOn || **typedOn != direction.from || !runOf(config, votes, direction.from, direction.to))
        return false;
    const LanguageConfig* source = config.language(direction.from);
    const LanguageConfig* target = config.language(direction.to);
    if (!source || !target || typedScore >= readingScore) return false;
    if (holdsApostrophe(lowerTyped.text()) || listedInScript(config, source->script, lowerTyped.text())) return false;
    const std::string_view reading = lowerReading.text();
    if (!target->isCommonWord(reading) && listedInScript(config, target->script, reading, direction.to)) return false;
    return readsAsTargetLetters(context, lowerReading, direction.to, *target);
}

}  // namespace quillom::scoring
