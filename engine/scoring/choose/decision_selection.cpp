#include "scoring/choose/decision_selection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "layout/token_mapping.h"
#include "scoring/judge/corrected_run.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

// Candidates closer than this are too close to call on score alone.
constexpr double closeScoreMargin = 2.0;

using DirectionPool = InlineBuffer<const CompetingDirection*, 16>;

// Highest candidate score first; equal scores keep their order.
void sortByScore(DirectionPool& pool) {
    for (std::size_t i = 1; i < pool.size(); ++i)
        for (std::size_t j = i; j > 0 && pool[j - 1]->decision.candidateScore < pool[j]->decision.candidateScore; --j)
            std::swap(pool.begin()[j - 1], pool.begin()[j]);
}

// Lower-cased letters of the word (and apostrophes, trimmed from both ends, when asked).
// The kept characters are lower-cased together at the end (apostrophes are
// their own lower case).
TextChars reducedWord(std::string_view word, bool keepApostrophes) {
    const TextChars chars(word);
    TextChars out;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        std::string_view c = chars[i];
        bool apostrophe = keepApostrophes && isApostrophe(c);
        if (apostrophe && out.empty()) continue;
        if (apostrophe || unicode::isLetterChar(c)) out.append(c);
    }
    if (!keepApostrophes) return std::move(out).lowered();
    std::size_t keep = out.size();
    while (keep > 0 && isApostrophe(out[keep - 1])) --keep;
    if (keep == out.size()) return std::move(out).lowered();
    TextChars trimmed;
    for (std::size_t i = 0; i < keep; ++i) trimmed.append(out[i]);
    return std::move(trimmed).lowered();
}

bool isKnownTargetWord(const RulesConfig& config, const CompetingDirection& c) {
    const LanguageConfig* target = config.language(c.direction.to);
    if (!target || !c.decision.correctedToken) return false;
    TextChars word = reducedWord(*c.decision.correctedToken, true);
    return word.size() >= 2 && target->isCommonWord(word.text());
}

bool sameCorrection(const CompetingDirection& a, const CompetingDirection& b) {
    return a.decision.correctedToken == b.decision.correctedToken;
}

bool withinMargin(const CompetingDirection& top, const CompetingDirection& c) {
    return std::abs(top.decision.candidateScore - c.decision.candidateScore) <= closeScoreMargin;
}

std::optional<RulesDecision> sessionTieBreak(const DirectionPool& pool, const std::string& sessionLanguage) {
    const CompetingDirection& top = *pool.front();
    const CompetingDirection* first = nullptr;
    for (const CompetingDirection* c : pool) {
        if (!withinMargin(top, *c) || c->direction.to != sessionLanguage) continue;
        if (!first) first = c;
        else if (!sameCorrection(*first, *c)) return std::nullopt;
    }
    if (!first) return std::nullopt;
    RulesDecision d = first->decision;
    d.reason = Reason::SessionLanguageTieBreak;
    return d;
}

// The rank band of a member's correction in its target language; an unranked
// word counts as rarer than every ranked one.
int64_t correctionBand(const RulesConfig& config, const CompetingDirection& c) {
    constexpr int64_t unranked = 1 << 20;
    const LanguageConfig* target = config.language(c.direction.to);
    if (!target || !c.decision.correctedToken) return unranked;
    auto band = target->rankBand(reducedWord(*c.decision.correctedToken, true).text());
    return band && *band != PackedLexicon::kUnranked ? static_cast<int64_t>(*band) : unranked;
}

// The first member that beats every member with another correction (each of
// another target language) by `beats`.
template <typename Beats>
const CompetingDirection* beatingEveryRival(const DirectionPool& pool, Beats beats) {
    for (const CompetingDirection* m : pool) {
        bool rival = false, beatsAll = true;
        for (const CompetingDirection* o : pool) {
            if (sameCorrection(*m, *o)) continue;
            rival = true;
            if (o->direction.to == m->direction.to || !beats(*m, *o)) {
                beatsAll = false;
                break;
            }
        }
        if (rival && beatsAll) return m;
    }
    return nullptr;
}

bool sameScriptTargets(const RulesConfig& config, const CompetingDirection& a, const CompetingDirection& b) {
    return config.sameScript(a.direction.to, b.direction.to);
}

// Known readings in different languages (файлы, файлі): the language of the
// words typed just before decides, or else a clearly higher frequency, or at
// the start of a text (when the rules ask) a higher frequency by a smaller
// margin between languages of one script.
std::optional<RulesDecision> resolveTwins(const RulesConfig& config, const DirectionPool& pool,
                                          const LanguageVotes* votes, bool textStart) {
    const LanguageEvidenceConfig& evidence = config.decision.languageEvidence;
    if (!evidence.enabled()) return std::nullopt;
    if (const CompetingDirection* m = beatingEveryRival(pool, [&](const auto& a, const auto& b) {
            return votesFavour(config, votes, a.direction.to, b.direction.to);
        })) {
        RulesDecision d = m->decision;
        d.reason = Reason::SessionLanguageTieBreak;
        return d;
    }
    if (evidence.twinRankMargin <= 0) return std::nullopt;
    const bool unsettled = textStart && noLanguageCounted(votes);
    // Against the language the user has lately written mostly, only a far
    // wider gap of bands, counted in two corpora of different genres
    // (Режимі 37 against Режимы 65 is not one).
    const auto gap = [&](const CompetingDirection& rival, const CompetingDirection& m, int64_t margin) {
        return unsettled && writtenMostly(config, votes, rival.direction.to, m.direction.to)
                   ? kWrittenLanguageMarginFactor * evidence.twinRankMargin
                   : margin;
    };
    if (const CompetingDirection* m = beatingEveryRival(pool, [&](const auto& a, const auto& b) {
            return correctionBand(config, a) + gap(b, a, evidence.twinRankMargin) <= correctionBand(config, b);
        }))
        return m->decision;
    const int64_t startMargin = evidence.textStartTwinRankMargin;
    if (startMargin <= 0 || !unsettled) return std::nullopt;
    if (const CompetingDirection* m = beatingEveryRival(pool, [&](const auto& a, const auto& b) {
            return sameScriptTargets(config, a, b) &&
                   correctionBand(config, a) + gap(b, a, startMargin) <= correctionBand(config, b);
        }))
        return m->decision;
    // Else the language of the script the user has lately written mostly.
    if (const CompetingDirection* m = beatingEveryRival(pool, [&](const auto& a, const auto& b) {
            return sameScriptTargets(config, a, b) && writtenMostly(config, votes, a.direction.to, b.direction.to);
        }))
        return m->decision;
    return std::nullopt;
}

// The letters of the longest ending of `word` that `language` lists, of at
// least minLength letters after at least two others, that starts at or before
// `lastStart` (тяжелый in супертяжелый); 0 for none.
std::size_t knownTailLength(const LanguageConfig& language, const TextChars& word, std::size_t minLength,
                            std::size_t lastStart) {
    for (std::size_t start = 2; start <= lastStart && start + minLength <= word.size(); ++start)
        if (language.isCommonWord(word.suffix(word.size() - start))) return word.size() - start;
    return 0;
}

// Of two readings of the same keys, `a` ends in a longer listed word of its
// language than `b` does, counting only endings that hold the last letter in
// which the two differ (ладка in Выдладка tells nothing against Відладка).
bool endsInLongerKnownWord(const RulesConfig& config, const CompetingDirection& a, const CompetingDirection& b,
                           std::size_t minLength) {
    const LanguageConfig* first = config.language(a.direction.to);
    const LanguageConfig* second = config.language(b.direction.to);
    if (!first || !second || !a.decision.correctedToken || !b.decision.correctedToken) return false;
    const TextChars x = reducedWord(*a.decision.correctedToken, true);
    const TextChars y = reducedWord(*b.decision.correctedToken, true);
    if (x.size() != y.size()) return false;
    std::size_t lastDifference = x.size();
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i] != y[i]) lastDifference = i;
    if (lastDifference == x.size()) return false;
    return knownTailLength(*first, x, minLength, lastDifference) >
           knownTailLength(*second, y, minLength, lastDifference);
}

// Readings in languages of one script that neither lists (Субвыборка,
// Субвіборка): the one ending in a longer word of its language. The last
// words do not decide here: unlisted names in Ukrainian text (Кембрідж) would
// follow a single Russian word before them.
std::optional<RulesDecision> resolveUnknownTwins(const RulesConfig& config, const DirectionPool& pool) {
    const LanguageEvidenceConfig& evidence = config.decision.languageEvidence;
    if (!evidence.enabled() || evidence.twinKnownTailMinLength <= 0) return std::nullopt;
    const auto minLength = static_cast<std::size_t>(evidence.twinKnownTailMinLength);
    if (const CompetingDirection* m = beatingEveryRival(pool, [&](const auto& a, const auto& b) {
            return sameScriptTargets(config, a, b) && endsInLongerKnownWord(config, a, b, minLength);
        }))
        return m->decision;
    return std::nullopt;
}

// Rank bands from this one on (ranks beyond 16,384) are a language's rare words.
constexpr int64_t kRareBand = 57;

// The language of the last words, or at the start of a text the one the
// user has lately written mostly, leads `other` of its script.
bool textLeansTo(const RulesConfig& config, const LanguageVotes* votes, bool textStart, std::string_view language,
                 std::string_view other) {
    return votesFavour(config, votes, language, other) ||
           (textStart && noLanguageCounted(votes) && writtenMostly(config, votes, language, other));
}

// A reading that the language the text leans to does not list (Галеоны,
// Перцептуальный: forms its dictionary lacks) against a rare word of
// another language of its script (Галеоні, Перцептуальній): the keys were
// meant in the language of the text, as they would be were the other not
// active. `known`: the members of `correcting` whose correction is a listed
// word of their target.
std::optional<RulesDecision> unlistedFormOfTheText(const RulesConfig& config, const DirectionPool& correcting,
                                                   const DirectionPool& known, const LanguageVotes* votes,
                                                   bool textStart) {
    if (!config.decision.languageEvidence.enabled() || known.empty() || known.size() == correcting.size())
        return std::nullopt;
    const auto listed = [&](const CompetingDirection& c) {
        return std::find(known.begin(), known.end(), &c) != known.end();
    };
    if (const CompetingDirection* m = beatingEveryRival(correcting, [&](const auto& a, const auto& b) {
            return !listed(a) && listed(b) && sameScriptTargets(config, a, b) &&
                   correctionBand(config, b) >= kRareBand &&
                   textLeansTo(config, votes, textStart, a.direction.to, b.direction.to);
        }))
        return m->decision;
    return std::nullopt;
}

// Readings no language lists, one of them into the language of a run of
// corrections from the layout typed on (Мор'тал, not Морётал, after
// Ukrainian typed on the US layout): the run's language
// ("corrected_run_picks_unlisted_reading").
const CompetingDirection* readingOfCorrectedRun(const RulesConfig& config, const DirectionPool& pool,
                                                const std::optional<std::string>& activeInputSource,
                                                const LanguageVotes* votes) {
    if (!config.decision.correctedRunPicksUnlistedReading) return nullptr;
    for (const CompetingDirection* c : pool)
        if (correctsInCorrectedRun(config, votes, activeInputSource, c->decision)) return c;
    return nullptr;
}

RulesDecision clearWinner(const DirectionPool& pool, const std::optional<std::string>& activeInputSource) {
    const CompetingDirection& top = *pool.front();
    if (activeInputSource) {
        std::size_t agreeing = 0;
        for (const CompetingDirection* c : pool) agreeing += sameCorrection(top, *c);
        if (agreeing >= 2)
            for (const CompetingDirection* c : pool)
                if (sameCorrection(top, *c) && c->direction.from == *activeInputSource) return c->decision;
    }
    const CompetingDirection* chosen = &top;
    for (const CompetingDirection* c : pool)
        if (sameCorrection(top, *c) && withinMargin(top, *c) && c->direction.from < chosen->direction.from) chosen = c;
    return chosen->decision;
}

}  // namespace

RulesDecision selectWinningDecision(const RulesConfig& config, std::span<const CompetingDirection> candidates,
                                    const std::optional<std::string>& activeInputSource,
                                    const std::optional<std::string>& sessionLanguage, const LanguageVotes* votes) {
    if (candidates.size() == 1) return candidates.front().decision;

    DirectionPool correcting;
    for (const CompetingDirection& c : candidates)
        if (c.decision.shouldCorrect) correcting.push_back(&c);
    if (correcting.empty()) {
        const CompetingDirection* best = &candidates.front();
        for (const CompetingDirection& c : candidates)
            if (c.decision.candidateScore > best->decision.candidateScore) best = &c;
        return best->decision;
    }
    if (correcting.size() == 1) return correcting.front()->decision;

    DirectionPool pool;
    for (const CompetingDirection* c : correcting)
        if (isKnownTargetWord(config, *c)) pool.push_back(c);
    if (auto unlisted = unlistedFormOfTheText(config, correcting, pool, votes, !sessionLanguage)) return *unlisted;
    const bool allKnown = !pool.empty();
    if (!allKnown) pool = std::move(correcting);
    if (pool.size() == 1) return pool.front()->decision;
    if (!allKnown)
        if (const CompetingDirection* run = readingOfCorrectedRun(config, pool, activeInputSource, votes))
            return run->decision;

    sortByScore(pool);
    if (allKnown) {
        if (auto twin = resolveTwins(config, pool, votes, !sessionLanguage)) return *twin;
    } else if (auto twin = resolveUnknownTwins(config, pool)) {
        return *twin;
    }
    const CompetingDirection& top = *pool.front();
    bool closeRival = std::any_of(pool.begin() + 1, pool.end(), [&](const CompetingDirection* c) {
        return !sameCorrection(top, *c) &&
               std::abs(top.decision.candidateScore - c->decision.candidateScore) < closeScoreMargin;
    });
    if (!closeRival) return clearWinner(pool, activeInputSource);
    if (sessionLanguage)
        if (auto settled = sessionTieBreak(pool, *sessionLanguage)) return *settled;
    return refusalWithScoresOf(Reason::AmbiguousTarget, top.decision);
}

bool hasLayoutMappedTrailing(const RulesConfig& config, std::string_view trailing) {
    for (std::string_view c : unicode::graphemes(trailing))
        if (layout::someMapSendsToLetter(config.keyboardLayout, c)) return true;
    return false;
}

bool trailingHasNonPunctuationLetterKey(const RulesConfig& config, std::string_view trailing) {
    static constexpr std::array<std::string_view, 13> punctuation = {".",  ",", "!",      "?",      ";",      ":", ")",
                                                                     "\"", "'", "\u2019", "\u00BB", "\u2026", "-"};
    for (std::string_view c : unicode::graphemes(trailing)) {
        bool ordinary = std::find(punctuation.begin(), punctuation.end(), c) != punctuation.end();
        if (!ordinary && layout::someMapSendsToLetter(config.keyboardLayout, c)) return true;
    }
    return false;
}

bool isKnownWordInAnyTarget(const RulesConfig& config, const std::optional<std::string>& word) {
    if (!word) return false;
    // Ukrainian writes the apostrophe inside words (сім'ю); English lists
    // its words with and without it.
    const TextChars letters = reducedWord(*word, false), withApostrophes = reducedWord(*word, true);
    if (letters.size() < 2) return false;
    const bool apostrophes = config.tokenization.apostrophesInKnownWords;
    for (const std::string& languageKey : config.activeLanguages) {
        const LanguageConfig* language = config.language(languageKey);
        if (language &&
            (language->isCommonWord(letters.text()) || (apostrophes && language->isCommonWord(withApostrophes.text()))))
            return true;
    }
    return false;
}

namespace {

// The correction reads between two layouts of one script, which give the
// trailing marks alike (the full stop and comma keys of the Russian and
// Ukrainian layouts): the word with them is no other reading (Єло, is Эло,).
bool trailingStaysMarkOfSameScript(const RulesConfig& config, std::string_view trailing, const RulesDecision& d) {
    if (!config.decision.sameScriptUnlistedReading || !d.shouldCorrect || !d.sourceLanguage || !d.targetLanguage ||
        !config.sameScript(*d.sourceLanguage, *d.targetLanguage))
        return false;
    const LayoutDirection direction{*d.sourceLanguage, *d.targetLanguage};
    const CharMap& lower = layout::lowerMapFor(config.keyboardLayout, direction);
    const CharMap& shift = layout::shiftMapFor(config.keyboardLayout, direction);
    for (std::string_view c : unicode::graphemes(trailing)) {
        const std::string* key = layout::detail::lookup(lower, c);
        if (!key) key = layout::detail::lookup(shift, c);
        if (key && *key != c) return false;
    }
    return true;
}

}  // namespace

RulesDecision chooseTrailingReading(const RulesConfig& config, std::string_view trailing, RulesDecision first,
                                    RulesDecision second) {
    bool knownFirst = isKnownWordInAnyTarget(config, first.correctedToken);
    bool knownSecond = isKnownWordInAnyTarget(config, second.correctedToken);
    // A closing mark read as a letter must make a word: "cvjnh." is смотрю,
    // "this:" stays as typed.
    const bool mustMakeWord = config.tokenization.trailingLetterMakesWord;
    if (second.shouldCorrect && ((!first.shouldCorrect && (knownSecond || !mustMakeWord)) ||
                                 trailingHasNonPunctuationLetterKey(config, trailing)))
        return second;
    if (first.shouldCorrect && second.shouldCorrect) {
        if (knownFirst != knownSecond) {
            if (knownSecond) return second;
        } else if (knownSecond && config.tokenization.preferWholeKnownWord) {
            return second;
        } else if (second.candidateScore > first.candidateScore) {
            return second;
        }
    }
    if (!first.shouldCorrect || knownFirst || knownSecond || trailingStaysMarkOfSameScript(config, trailing, first))
        return first;
    return refusalWithScoresOf(Reason::AmbiguousTrailingUnknownStem, first);
}

}  // namespace quillom::scoring
