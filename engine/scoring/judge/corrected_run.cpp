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

// Some active language of `script` lists the word (as a word or a technical
// one); the language `except` does not count.
bool listedInScript(const RulesConfig& config, const std::string& script, std::string_view word,
                    const std::string& except = {}) {
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (key == except || !language || language->script != script) continue;
        if (language->isCommonWord(word) || language->technicalWords.contains(word)) return true;
    }
    return false;
}

// Letters only, the first beginning words and each pair one target's text holds.
bool readsAsTargetLetters(const ScoringContext& context, const TextChars& reading, const std::string& target,
                          const LanguageConfig& language) {
    if (reading.size() < 2 || !allLetters(reading) || letterBeginsNoWord(reading[0])) return false;
    const AffixIndex* affixes = context.index.affixes(target);
    return countUnknownBigrams(reading, &language, affixes ? &affixes->pairWeights : nullptr) == 0;
}

// An apostrophe inside the typed word is the apostrophe English and
// Ukrainian write (Ал'тунран), not the letter its key gives on the other
// layout.
bool holdsApostrophe(std::string_view typed) {
    return typed.find('\'') != std::string_view::npos || typed.find("\u2019") != std::string_view::npos;
}

}  // namespace

bool rareWordInCorrectedRun(const RulesConfig& config, const LanguageVotes* votes,
                            const std::optional<std::string>* typedOn, const LayoutDirection& direction,
                            std::optional<int64_t> typedOrder) {
    const int64_t rareBand = config.decision.rareReadingMinBandInTypedText;
    return typedOn && *typedOn && **typedOn == direction.from && rareBand > 0 && typedOrder &&
           *typedOrder != LanguageConfig::kUnrankedOrder && *typedOrder >= rareBand &&
           runOf(config, votes, direction.from, direction.to);
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
