#include "scoring/judge/pair_diagnosis.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "layout/token_mapping.h"
#include "scoring/judge/corrected_run.h"
#include "scoring/judge/mixed_case_name.h"
#include "scoring/read/capitals.h"
#include "scoring/score/token_scorer.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

double thresholdForLength(const std::map<int64_t, double>& byLength, double fallback, bool curveEnabled, double base,
                          double decay, double floor, int64_t length) {
    if (length < 5 && curveEnabled) {
        double v = base - static_cast<double>(5 - length) * decay;
        return floor <= v ? v : floor;
    }
    auto it = byLength.find(length);
    return it == byLength.end() ? fallback : it->second;
}

RulesDecision refusal(Reason reason, double confidence, double originalScore, double candidateScore) {
    RulesDecision d;
    d.reason = reason;
    d.confidence = confidence;
    d.originalScore = originalScore;
    d.candidateScore = candidateScore;
    return d;
}

RulesDecision correction(std::string text, Reason reason, double confidence, double originalScore,
                         double candidateScore) {
    RulesDecision d = refusal(reason, confidence, originalScore, candidateScore);
    d.shouldCorrect = true;
    d.correctedToken = std::move(text);
    return d;
}

bool hasUpperChar(const TextChars& token) {
    for (std::size_t i = 0; i < token.size(); ++i)
        if (unicode::isUpperChar(token[i])) return true;
    return false;
}

bool isCommonWord(const LanguageConfig* language, const TextChars& word) {
    return language && language->isCommonWord(word.text());
}

// Everything a decision step needs once both sides are scored.
struct Scored {
    const WordContext& word;
    const LayoutDirection& direction;
    const LayoutTables& maps;  // the direction's key maps
    const LanguageConfig* target;
    const TextChars& candidate;  // as mapped, case kept
    const TextChars& lowerCandidate;
    ScoreBreakdown typed;
    ScoreBreakdown cand;
    double originalScore;
    double candidateScore;
    double delta;
    double conf;
    bool sameScript;
};

ScoreBreakdown typedScore(const ScoringContext& context, const WordContext& word, const TextChars& source,
                          const std::string& language) {
    if (!word.typedScores) return scoreToken(context, source, language);
    for (const TypedScore& t : *word.typedScores)
        if (t.language == language && t.text.view() == source.text()) return t.score;
    ScoreBreakdown score = scoreToken(context, source, language);
    TypedScore entry{language, {}, score};
    entry.text.append(source.text());
    word.typedScores->push_back(std::move(entry));
    return score;
}

// The language the typed word is weighed in: the direction's source, or, when
// the rules ask for it and the source does not list the word, the language
// of the layout it was typed on when that one does (ешь typed on the Russian
// layout, read from the Ukrainian one, is a Russian word, not Ukrainian
// letters that read better as English); with the layout not known, any
// active language of the script that lists it.
const std::string& typedLanguage(const ScoringContext& context, const WordContext& word, const TextChars& source,
                                 const LayoutDirection& direction) {
    const RulesConfig& config = context.config;
    if (!config.decision.typedWordKnownInScript) return direction.from;
    const std::optional<std::string>* typedOn = word.typedOn;
    const bool layoutKnown = typedOn && *typedOn;
    if (layoutKnown && (**typedOn == direction.from || !context.index.shareScriptName(**typedOn, direction.from)))
        return direction.from;
    if (isCommonWord(config.language(direction.from), source)) return direction.from;
    for (const std::string& key : config.activeLanguages)
        if (key != direction.from && (!layoutKnown || key == **typedOn) &&
            context.index.shareScriptName(key, direction.from) && isCommonWord(config.language(key), source))
            return key;
    return direction.from;
}

RulesDecision decideOneCharacter(const RulesConfig& config, const Scored& s) {
    bool allowed = !config.tokenization.autoSkipLength1 && s.direction.to == "en" && !s.sameScript &&
                   s.word.trailing.find('.') == std::string_view::npos && !hasUpperChar(s.word.token) &&
                   !(s.typed.exactCommonWord > 0.0) && s.word.sessionLanguage == s.direction.to &&
                   isCommonWord(s.target, s.lowerCandidate);
    if (!allowed) return refusal(Reason::Length1NoExactPair, 0.0, s.originalScore, s.candidateScore);
    if (s.word.isProtected) return refusal(Reason::ProtectedPattern, 0.0, s.originalScore, s.candidateScore);
    return correction(correctionText(s.word.token.text(), s.candidate.text(), s.word.trailing),
                      Reason::LayoutMismatchLength1, cappedConfidence(s.conf, s.cand), s.originalScore,
                      s.candidateScore);
}

std::optional<RulesDecision> sameScriptRefusal(const RulesConfig& config, const Scored& s, const TextChars& source) {
    std::optional<Reason> reason;
    if (static_cast<int64_t>(s.word.token.size()) < config.decision.sameScriptMinLength)
        reason = Reason::SameScriptTooShort;
    else if (s.cand.exactCommonWord == 0.0) reason = Reason::SameScriptRequiresKnownWord;
    else if (s.typed.exactCommonWord > 0.0) reason = Reason::SameScriptSourceIsKnownWord;
    else if (sourceIsInflectedKnownWord(config, source, s.direction)) reason = Reason::SameScriptSourceIsInflectedWord;
    if (!reason) return std::nullopt;
    return refusal(*reason, s.conf, s.originalScore, s.candidateScore);
}

// The words typed just before are of the target language and the candidate is
// one of its words: the typed word is that word typed on the other layout of
// the script, even when it is a word of the source language too (файлі typed
// for файлы in Russian text) or shorter than same-script words must be.
bool contextSupportsTarget(const RulesConfig& config, const Scored& s) {
    return s.cand.exactCommonWord > 0.0 && votesFavour(config, s.word.votes, s.direction.to, s.direction.from);
}

// Words of the target language among the last words that make a text settled in it.
constexpr int kSettledTextMinWords = 2;

// Every key the direction reads differently that is no letter (the
// apostrophe, the key of ё) stands between letters: at the edges it is a
// quote (маркері'' in Russian text typed on the Ukrainian layout).
bool keysInsideWord(const TextChars& token, const LayoutTables& maps) {
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (unicode::isLetterChar(token[i]) || !(maps.lower.find(token[i]) || maps.shift.find(token[i]))) continue;
        if (i == 0 || i + 1 == token.size() || !unicode::isLetterChar(token[i - 1]) ||
            !unicode::isLetterChar(token[i + 1]))
            return false;
    }
    return true;
}

// The word before was kept on another layout of the script than the one this
// word was typed on, or the user changed to this one by hand earlier and no
// correction has switched it since: the layout is the user's choice.
bool layoutChangedByHand(const RulesConfig& config, const Scored& s) {
    const LanguageVotes* votes = s.word.votes;
    if (!votes) return false;
    const std::size_t count = config.activeLanguages.size();
    if (votes->chosenByHand && *votes->chosenByHand < count &&
        config.activeLanguages[*votes->chosenByHand] == s.direction.from)
        return true;
    if (!votes->keptOn || *votes->keptOn >= count) return false;
    const std::string& keptOn = config.activeLanguages[*votes->keptOn];
    return keptOn != s.direction.from && config.sameScript(keptOn, s.direction.from);
}

// The words typed just before are of the target language and the typed word
// is no word of its own: a reading that is no listed word either (a name, a
// rare form or compound: Анкорыдж typed for Анкорідж in Ukrainian text) is
// still that reading typed on the other layout of the script. Not when the
// word was typed on another layout than the one its letters are of (Капу'е,
// its mark reached some other way), nor when the user changed to it by hand
// from another layout of the script after the word before (see
// LanguageVotes::keptOn).
bool unlistedReadingInTargetText(const RulesConfig& config, const Scored& s) {
    if (!config.decision.sameScriptUnlistedReading || s.cand.exactCommonWord > 0.0 || s.typed.exactCommonWord > 0.0 ||
        !s.word.votes)
        return false;
    const LanguageVotes& votes = *s.word.votes;
    const std::optional<std::string>* typedOn = s.word.typedOn;
    if ((typedOn && *typedOn && **typedOn != s.direction.from) || layoutChangedByHand(config, s)) return false;
    return votes.countOf(config, s.direction.to) >= kSettledTextMinWords &&
           votesFavour(config, &votes, s.direction.to, s.direction.from) &&
           !votesLeanAwayFrom(config, &votes, s.direction.to) && keysInsideWord(s.word.token, s.maps);
}

// A word protected for its inner capitals whose reading joins listed words of
// the target (ПараметріСервис typed for ПараметрыСервис in Russian text): the
// capitals join words, each of them read in the text's language.
bool joinsWordsOfTarget(const RulesConfig& config, const Scored& s) {
    if (!config.decision.sameScriptUnlistedReading || !s.target) return false;
    const TextChars& word = s.candidate;
    std::size_t start = 0, pieces = 0;
    for (std::size_t i = 1; i <= word.size(); ++i) {
        if (i < word.size() && !unicode::isLetterChar(word[i])) return false;
        if (i < word.size() && !(unicode::isUpperChar(word[i]) && !unicode::isUpperChar(word[i - 1]))) continue;
        if (i - start < 2 || !s.target->isCommonWord(s.lowerCandidate.slice(start, i - start))) return false;
        ++pieces;
        start = i;
    }
    return pieces >= 2 && unicode::isLetterChar(word[0]);
}

// A word in capitals, protected as an abbreviation, whose reading is a listed
// word of the target as long as same-script words must be (БАЗІ typed for
// БАЗЫ in Russian text), unless the user changed the layout by hand.
bool capitalsOfListedWord(const RulesConfig& config, const Scored& s) {
    return config.decision.sameScriptUnlistedReading && s.cand.exactCommonWord > 0.0 &&
           static_cast<int64_t>(s.word.token.size()) >= config.decision.sameScriptMinLength &&
           allCapitals(s.word.token) && !layoutChangedByHand(config, s);
}

// The words typed just before are of the typed word's language: a word of one
// script typed on its own layout stays, even when unknown there and a word of
// the other language on the other layout (Лазерный, not Лазерній, in Russian
// text).
bool contextKeepsSource(const RulesConfig& config, const Scored& s) {
    return votesFavour(config, s.word.votes, s.direction.from, s.direction.to);
}

// The layout in use is the engine's guess between the languages of its
// script (Командир typed on the US layout, read the same in Russian and
// Ukrainian, went to the first of them in the order of the languages), and
// nothing since says which one the user writes: no word counted for a
// language, and the session language is not the layout's.
bool scriptLanguageUnsettled(const RulesConfig& config, const Scored& s) {
    if (!s.word.votes || !s.word.votes->guessedLayout || !config.decision.languageEvidence.enabled()) return false;
    const std::size_t guessed = *s.word.votes->guessedLayout;
    return guessed < config.activeLanguages.size() && config.activeLanguages[guessed] == s.direction.from &&
           s.word.sessionLanguage != s.direction.from && s.word.votes->countOf(config, s.direction.from) == 0;
}

// While it is unsettled, a word typed on one layout of the script that reads
// as a word of the other language only, or far more often there, is that
// word, however short: біл is был and мі is мы after that Командир. Far more
// often by a wider gap when the layout's language is the one the user has
// lately written mostly (гаубицы 65 stays against гаубиці 54).
bool otherLanguageWhileUnsettled(const RulesConfig& config, const Scored& s) {
    if (!s.target || !scriptLanguageUnsettled(config, s)) return false;
    const std::string_view typed = s.word.lowerToken.text();
    const std::string_view reading = s.lowerCandidate.text();
    if (!s.target->isCommonWord(reading)) return false;
    const LanguageConfig* source = config.language(s.direction.from);
    if (!source || !source->isCommonWord(typed)) return true;
    const bool written = writtenMostly(config, s.word.votes, s.direction.from, s.direction.to);
    return farMoreFrequentReading(config, *source, typed, *s.target, reading,
                                  written ? kWrittenLanguageMarginFactor : 1);
}

bool protectedMayBeOverridden(const DecisionConfig& decision, const Scored& s) {
    return s.candidateScore >= decision.protectedPatternOverrideMinScore &&
           static_cast<int64_t>(s.word.token.size()) >= decision.protectedOverrideMinLength;
}

// What the user has been typing supports the reading in the target language:
// the session language is the target's, or the last words count more words of
// the target than of the typed word's language (by the configured lead); and
// they count no language ahead of the target.
bool contextSupportsOtherReading(const RulesConfig& config, const Scored& s) {
    if (votesLeanAwayFrom(config, s.word.votes, s.direction.to)) return false;
    return s.word.sessionLanguage == s.direction.to ||
           votesFavour(config, s.word.votes, s.direction.to, s.direction.from);
}

// Where the word lies between the marks at its edges that the direction's
// maps leave marks: "рук." is рук (the Russian full stop is no letter on the
// US layout either), "to`" stays whole (the grave accent is the key of ё).
std::pair<std::size_t, std::size_t> spanBetweenMarks(const TextChars& typed, const LayoutTables& maps) {
    auto isMark = [&](std::string_view c) { return !unicode::isLetterChar(c) && !maps.lower.find(c); };
    std::size_t first = 0, last = typed.size();
    while (first < last && isMark(typed[first])) ++first;
    while (last > first && isMark(typed[last - 1])) --last;
    return {first, last - first};
}

// The reading of the typed word without the closing punctuation its letter
// keys give at its end: шею read on the US layout is "it" and a full stop,
// the ю key being the US full stop's (to` for ещё keeps its grave accent).
std::string_view readingBeforePunctuation(const TextChars& reading, std::size_t first, std::size_t count) {
    auto closing = [](std::string_view c) { return c == "." || c == "," || c == ";" || c == ":"; };
    std::size_t end = first + count;
    while (end > first && closing(reading[end - 1])) --end;
    return reading.slice(first, end - first);
}

// The language that lists the typed word: the direction's source, else an
// active language of its script that ranks it (шею read from the Ukrainian
// layout is still a Russian word; a form listed with no frequency estimate,
// such as иге, does not stand against its reading there).
const LanguageConfig* languageListing(const RulesConfig& config, const std::string& from, std::string_view word) {
    const LanguageConfig* source = config.language(from);
    if (!source || source->isCommonWord(word)) return source;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (!language || language->script != source->script) continue;
        auto order = language->frequencyOrder(word);
        if (order && *order != LanguageConfig::kUnrankedOrder) return language;
    }
    return nullptr;
}

// The typed word is a form its language lists with no frequency estimate and
// its reading one of the target's most frequent words (Еру is The): no need
// of the last words' support, only that they do not lean away from the
// target ("top_reading_max_band").
bool topReadingOfUnrankedWord(const RulesConfig& config, const LanguageConfig& source, std::string_view typed,
                              std::string_view reading, const Scored& s) {
    const int64_t maxBand = config.decision.topReadingMaxBand;
    if (maxBand <= 0 || source.frequencyOrder(typed) != LanguageConfig::kUnrankedOrder) return false;
    const std::optional<int64_t> order = s.target->frequencyOrder(reading);
    return order && *order <= maxBand && !votesLeanAwayFrom(config, s.word.votes, s.direction.to);
}

// Both readings are words of their languages (руку and here are the same
// keys): the word was typed on purpose unless the other reading is far more
// frequent and what the user has been typing supports it. At the start of a
// text nothing does, and the word stays as typed (the next word corrected to
// the other language may take it along, see word_before.h). A word in capitals
// is an acronym and stays. Nothing when the rules do not weigh frequency or
// either reading, without the marks at its edges, is no word.
std::optional<RulesDecision> decideBetweenWords(const RulesConfig& config, const Scored& s) {
    const LanguageEvidenceConfig& evidence = config.decision.languageEvidence;
    if (!evidence.enabled() || evidence.twinRankMargin <= 0) return std::nullopt;
    if (!s.target || s.word.lowerToken.size() != s.lowerCandidate.size()) return std::nullopt;
    const auto [first, count] = spanBetweenMarks(s.word.lowerToken, s.maps);
    const std::string_view typedWord = s.word.lowerToken.slice(first, count);
    const std::string_view otherWord = readingBeforePunctuation(s.lowerCandidate, first, count);
    const LanguageConfig* sourceLanguage = languageListing(config, s.direction.from, typedWord);
    if (!sourceLanguage || !s.target->isCommonWord(otherWord)) return std::nullopt;
    const bool runOfWrongLayout = rareWordInCorrectedRun(config, s.word.votes, s.word.typedOn, s.direction,
                                                         sourceLanguage->frequencyOrder(typedWord));
    if (allCapitals(s.word.token) ||
        !(runOfWrongLayout || (farMoreFrequentReading(config, *sourceLanguage, typedWord, *s.target, otherWord) &&
                               (contextSupportsOtherReading(config, s) ||
                                topReadingOfUnrankedWord(config, *sourceLanguage, typedWord, otherWord, s)))))
        return refusal(Reason::LowConfidence, s.conf, s.originalScore, s.candidateScore);
    if (s.word.isProtected && !protectedMayBeOverridden(config.decision, s))
        return refusal(Reason::ProtectedPattern, s.conf, s.originalScore, s.candidateScore);
    return correction(correctionText(s.word.token.text(), s.candidate.text(), s.word.trailing), Reason::LayoutMismatch,
                      s.conf, s.originalScore, s.candidateScore);
}

// What the user has been typing goes against the reading: the session
// language is the typed word's, or the last words count more of its language.
bool contextKeepsTyped(const RulesConfig& config, const Scored& s) {
    return s.word.sessionLanguage == s.direction.from ||
           votesFavour(config, s.word.votes, s.direction.from, s.direction.to);
}

// The last words are all of the typed word's language, which lists it rarely
// or not at all, and its reading is a word the target ranks in the
// configured band or rarer, or none (fps for азы, rect for кусе, CVS' for
// СМІЄ in English text): a term or an abbreviation of that text, not the
// other language typed on the wrong layout. Where any of the last words is
// the target's, such readings are corrected as before.
bool rareReadingInTextOfTyped(const RulesConfig& config, const Scored& s) {
    // Fewer words may be a word or two of it before text of the target (ok
    // ghbdtn is "ok привет", привет ranked as rarely in written text).
    constexpr int kWordsOfTypedText = 3;
    const int64_t minBand = config.decision.rareReadingMinBandInTypedText;
    if (minBand <= 0 || !s.target || !s.word.votes) return false;
    const LanguageVotes& votes = *s.word.votes;
    if (votes.countOf(config, s.direction.to) > 0 || votes.countOf(config, s.direction.from) < kWordsOfTypedText)
        return false;
    const auto [first, count] = spanBetweenMarks(s.word.lowerToken, s.maps);
    const std::optional<int64_t> order =
        s.target->frequencyOrder(readingBeforePunctuation(s.lowerCandidate, first, count));
    return !order || *order >= minBand;
}

// The typed word, which its language does not list, is a listed word of it
// short of its last letter (рун for руна, руны): a form of that word the
// list lacks. Where the last words are of that language and none of the
// target's, it stays, however frequent its reading (hey)
// ("form_of_listed_word_in_text_of_typed").
bool formOfListedWordInTextOfTyped(const RulesConfig& config, const Scored& s) {
    constexpr std::size_t kMinLetters = 3;
    if (!config.decision.formOfListedWordInTextOfTyped || s.typed.exactCommonWord > 0.0 || !s.word.votes) return false;
    const LanguageVotes& votes = *s.word.votes;
    const LanguageConfig* source = config.language(s.direction.from);
    if (!source || votes.countOf(config, s.direction.to) > 0 || votes.countOf(config, s.direction.from) == 0)
        return false;
    const auto [first, count] = spanBetweenMarks(s.word.lowerToken, s.maps);
    const std::string_view typed = s.word.lowerToken.slice(first, count);
    if (count < kMinLetters || !allLetters(TextChars(typed)) || source->isCommonWord(typed)) return false;
    std::array<char, 64> buffer;
    for (const std::string& letter : source->scriptAlphabet) {
        if (typed.size() + letter.size() > buffer.size()) return false;
        std::copy(typed.begin(), typed.end(), buffer.begin());
        std::copy(letter.begin(), letter.end(), buffer.begin() + typed.size());
        const std::optional<int64_t> order =
            source->frequencyOrder(std::string_view(buffer.data(), typed.size() + letter.size()));
        if (order && *order != LanguageConfig::kUnrankedOrder) return true;
    }
    return false;
}

// The reading's first letter is one no word begins with (mreqn read as
// ькуйт) and its target does not list it: no word of the target's text
// ("reading_beginning_no_word_kept").
bool readingBeginsNoWord(const RulesConfig& config, const Scored& s) {
    if (!config.decision.readingBeginningNoWordKept || !s.target) return false;
    std::size_t first = 0;
    while (first < s.lowerCandidate.size() && !unicode::isLetterChar(s.lowerCandidate[first])) ++first;
    if (first == s.lowerCandidate.size() || !letterBeginsNoWord(s.lowerCandidate[first])) return false;
    return !s.target->isCommonWord(readingBeforePunctuation(s.lowerCandidate, first, s.lowerCandidate.size() - first));
}

// A word its language lists among technical words (fcntl, wdctl, ls), the
// keys of marks around it aside, is the program's name typed as meant when
// its reading is no word the target lists (астед) or the last words are of
// its language (ls. in English text is no дію); at a text's start a listed
// reading still wins (ds is вы) ("technical_words_kept").
bool technicalWordKept(const RulesConfig& config, const Scored& s) {
    if (!config.decision.technicalWordsKept || !s.target) return false;
    const LanguageConfig* language = config.language(s.direction.from);
    const TextChars& typed = s.word.lowerToken;
    std::size_t first = 0, last = typed.size();
    while (first < last && !unicode::isLetterChar(typed[first])) ++first;
    while (last > first && !unicode::isLetterChar(typed[last - 1])) --last;
    if (!language || first == last || !language->technicalWords.contains(typed.slice(first, last - first)))
        return false;
    return !s.target->isCommonWord(readingBeforePunctuation(s.lowerCandidate, 0, s.lowerCandidate.size())) ||
           votesFavour(config, s.word.votes, s.direction.from, s.direction.to);
}

// Two letters are too few to tell a word typed on the wrong layout from one
// of the text's own language its lexicon lacks (ye, Jr. in English text, no
// ну or Ок.; щи in Russian text, not ob): where the last words favour a
// language of the typed word's script they stay
// ("two_letters_kept_in_text_of_typed"); a word after them corrected into
// the target may still take them along.
bool twoLettersInTextOfTyped(const RulesConfig& config, const Scored& s) {
    return config.decision.twoLettersKeptInTextOfTyped &&
           votesFavourScriptOf(config, s.word.votes, s.direction.from, s.direction.to);
}

// The capitals read as the target's abbreviation unless what the user has
// been typing says otherwise; of two letters only when it says so, two
// letters being too few to tell.
RulesDecision abbreviationOfTarget(const RulesConfig& config, const Scored& s, Reason kept) {
    const bool meant =
        s.word.token.size() <= 2 ? contextSupportsOtherReading(config, s) : !contextKeepsTyped(config, s);
    if (!meant) return refusal(kept, s.conf, s.originalScore, s.candidateScore);
    return correction(correctionText(s.word.token.text(), s.candidate.text(), s.word.trailing),
                      s.word.isProtected ? Reason::LayoutMismatchProtectedOverride : Reason::LayoutMismatch,
                      cappedConfidence(s.conf, s.cand), s.originalScore, s.candidateScore);
}

// Capitals where the last words support the target: an acronym of its text
// ("capitals_in_text_of_target_read"). Typed on a Cyrillic layout, any that
// no language of its script lists is an English one (ПЗГ is GPU in English
// text); Latin capitals in Cyrillic text only when the target lists their
// reading among its abbreviations, ranked or not (DDC is ВВС in Russian
// text), Latin acronyms standing there as typed.
bool acronymOfTargetText(const RulesConfig& config, const Scored& s) {
    if (!config.decision.capitalsInTextOfTargetRead || s.typed.exactCommonWord > 0.0 ||
        s.word.token.size() > kAcronymMaxLetters || !allLetters(s.lowerCandidate))
        return false;
    return (config.isFirstActive(s.direction.to) || s.target->abbreviations.contains(s.lowerCandidate.text())) &&
           contextSupportsOtherReading(config, s);
}

// Capitals typed with shifted mark keys among them that the direction reads
// as capitals (U< is ГБ, the shifted comma key being Б's): all capitals
// once read ("capitals_with_shifted_letter_keys").
bool capitalsWithShiftedLetterKeys(const RulesConfig& config, const Scored& s) {
    return config.decision.capitalsWithShiftedLetterKeys && allLetters(s.candidate) && allCapitals(s.candidate) &&
           !hasLowerLetter(s.word.token);
}

// A word typed all in capitals is an abbreviation. One its script's languages
// list (TLS, ГЕС) stays. One whose reading is a ranked abbreviation of the
// target (CIF for США, ЩЛ for OK) is that abbreviation, unless what the user has
// been typing says otherwise; of two letters (JR for ОК) only when it says
// so, two letters being too few to tell. One holding a letter no word begins
// with (ЬДЕ, "capitals_of_no_acronym_read") is the target's acronym on the
// same terms. Any other protected one (five letters at most) stays unless its reading is a ranked word of the target
// within the configured band and what the user has been typing does not go
// against it (VBH for МИР, ФДЗРФ for ALPHA typed with caps lock; not UTC for
// the rare ГЕС, nor JYJ for ОНО in English text): then it is decided as any
// word. Nothing when the rules list no abbreviations and set no band.
std::optional<RulesDecision> decideCapitals(const RulesConfig& config, const Scored& s) {
    if (s.sameScript || !s.target || !(allCapitals(s.word.token) || capitalsWithShiftedLetterKeys(config, s)))
        return std::nullopt;
    const std::string_view typed = s.word.lowerToken.text();
    const std::string_view reading = s.lowerCandidate.text();
    const Reason kept = s.word.isProtected ? Reason::ProtectedPattern : Reason::LowConfidence;
    if (abbreviationOfScript(config, s.direction.from, typed))
        return refusal(kept, s.conf, s.originalScore, s.candidateScore);
    if (readsAsAbbreviation(config.language(s.direction.from), typed, *s.target, reading))
        return abbreviationOfTarget(config, s, kept);
    if (config.decision.capitalsOfNoAcronymRead && s.typed.exactCommonWord == 0.0 &&
        capitalsOfNoAcronym(s.word.token) && allLetters(s.lowerCandidate))
        return abbreviationOfTarget(config, s, kept);
    if (acronymOfTargetText(config, s)) return abbreviationOfTarget(config, s, kept);
    const int64_t maxBand = config.decision.capitalsWordMaxBand;
    if (maxBand <= 0 || !s.word.isProtected) return std::nullopt;
    if (frequentWord(*s.target, reading, maxBand) && !contextKeepsTyped(config, s)) return std::nullopt;
    return refusal(Reason::ProtectedPattern, s.conf, s.originalScore, s.candidateScore);
}

// A grave accent after the first character (to` is ещё typed on the US
// layout, the ё key being the grave accent's) is no mark of a word of the
// source language: the typed word is not the word its letters spell.
bool graveAfterTheStart(const TextChars& token, const LayoutTables& maps) {
    const std::string* key = maps.lower.find("`");
    if (!key || !unicode::isLetterChar(*key)) return false;
    for (std::size_t i = 1; i < token.size(); ++i)
        if (token[i] == "`") return token[0] != "`";
    return false;
}

// A mark between two letters that the direction reads as a letter (le;t is
// дуже typed on the US layout, the ж key being the semicolon's) is no mark of
// a word of the source language either: "let" is not what was typed. The
// apostrophe is left out, English writing it inside words.
bool letterKeyMarkInside(const TextChars& token, const LayoutTables& maps) {
    for (std::size_t i = 1; i + 1 < token.size(); ++i) {
        if (unicode::isLetterChar(token[i]) || token[i] == "'") continue;
        if (!unicode::isLetterChar(token[i - 1]) || !unicode::isLetterChar(token[i + 1])) continue;
        const std::string* key = maps.lower.find(token[i]);
        if (key && unicode::isLetterChar(*key)) return true;
    }
    return false;
}

// A mark glued to a word's edge where English writing never puts one, that
// the direction reads as a letter (;le is жду, ,then берут, le[ дух typed on
// the US layout): a comma, semicolon or closing bracket before the letters,
// an opening bracket after them. The letters are not the word they spell.
bool letterKeyMarkAtAnEdge(const TextChars& token, const LayoutTables& maps) {
    auto readAsLetter = [&](std::string_view c) {
        const std::string* key = maps.lower.find(c);
        return key && unicode::isLetterChar(*key);
    };
    auto oneOf = [](std::string_view c, std::string_view marks) {
        return c.size() == 1 && marks.find(c[0]) != std::string_view::npos;
    };
    if (token.size() < 2) return false;
    const std::string_view first = token[0], last = token[token.size() - 1];
    return (oneOf(first, ",;]}") && unicode::isLetterChar(token[1]) && readAsLetter(first)) ||
           (oneOf(last, "[{") && unicode::isLetterChar(token[token.size() - 2]) && readAsLetter(last));
}

std::size_t typedLetters(const TextChars& token) {
    std::size_t letters = 0;
    for (std::size_t i = 0; i < token.size(); ++i)
        if (unicode::isLetterChar(token[i])) ++letters;
    return letters;
}

// The words typed just before are of a language of the script the word is
// typed in (Тихий океан/Чуук, whether read as Russian or Ukrainian): a word
// that the other language does not list is no guess to make there.
bool contextKeepsSourceScript(const RulesConfig& config, const Scored& s) {
    const LanguageConfig* source = config.language(s.direction.from);
    if (!source || !config.decision.languageEvidence.enabled()) return false;
    for (const std::string& key : config.activeLanguages) {
        const LanguageConfig* language = config.language(key);
        if (key == s.direction.to || !language || language->script != source->script) continue;
        if (s.word.sessionLanguage == key || votesFavour(config, s.word.votes, key, s.direction.to)) return true;
    }
    return false;
}

RulesDecision decideLowCandidate(const ScoringContext& context, const Scored& s, const TextChars& source) {
    const DecisionConfig& decision = context.config.decision;
    const LanguageConfig* sourceLanguage = context.config.language(s.direction.from);
    const auto unknownBigrams = [&] {
        const AffixIndex* affixes = context.index.affixes(s.direction.from);
        return countUnknownBigrams(source, sourceLanguage, affixes ? &affixes->pairWeights : nullptr);
    };
    const auto eligible = [&] {
        // Letters as typed: "[FV" or "W." are too short for a guess, whatever their
        // keys give; a mark where English puts none is a letter (Hf[ is Рах).
        const bool markIsLetter =
            context.config.tokenization.letterKeyMarksInWord && letterKeyMarkAtAnEdge(s.word.token, s.maps);
        const std::size_t letters = typedLetters(s.word.token) + (markIsLetter ? 1 : 0);
        return static_cast<int64_t>(letters) >= decision.gibberishBypassMinLength &&
               !(sourceLanguage && sourceLanguage->technicalWords.contains(source.text())) &&
               !(decision.capitalsWordMaxBand > 0 && allCapitals(s.word.token)) &&
               !contextKeepsSourceScript(context.config, s);
    };
    // The scores are tested first: most words fail them, and the rest costs lookups.
    // A guess with no vowel of its language (gcm read as псь) is no word.
    bool bypass = (!decision.gibberishBypassNeedsVowel || s.cand.vowelBonus > 0.0) &&
                  s.delta >= kGibberishBypassMinDelta && s.conf >= kGibberishBypassMinConfidence &&
                  s.candidateScore >= kGibberishBypassMinCandidateScore &&
                  (s.originalScore < 0.0 || unknownBigrams() >= 2) && eligible();
    if (!bypass) return refusal(Reason::CandidateScoreTooLow, s.conf, s.originalScore, s.candidateScore);
    if (s.word.isProtected && !protectedMayBeOverridden(decision, s))
        return refusal(Reason::ProtectedPattern, s.conf, s.originalScore, s.candidateScore);
    return correction(correctionText(s.word.token.text(), s.candidate.text(), s.word.trailing),
                      Reason::HighConfidenceGibberishBypass, cappedConfidence(s.conf, s.cand), s.originalScore,
                      s.candidateScore);
}

// A word about to be kept for its inner capitals whose reading is a name in
// mixed case of the target: OpenTTD typed on the Russian layout
// ("mixed_case_names_read").
bool mixedCaseNameRead(const ScoringContext& context, const Scored& s) {
    const RulesConfig& config = context.config;
    return config.decision.mixedCaseNamesRead && s.word.isProtected && !s.sameScript && s.target &&
           mixedCaseNameOfTarget(context, s.direction.from, *s.target, s.word.token, s.candidate,
                                 contextSupportsOtherReading(config, s));
}

RulesDecision decideByThresholds(const RulesConfig& config, const Scored& s, double requiredDelta) {
    const DecisionConfig& decision = config.decision;
    if (s.delta >= requiredDelta && s.conf >= decision.minConfidence) {
        if (s.word.isProtected && !protectedMayBeOverridden(decision, s))
            return refusal(Reason::ProtectedPattern, s.conf, s.originalScore, s.candidateScore);
        return correction(correctionText(s.word.token.text(), s.candidate.text(), s.word.trailing),
                          s.word.isProtected ? Reason::LayoutMismatchProtectedOverride : Reason::LayoutMismatch,
                          cappedConfidence(s.conf, s.cand), s.originalScore, s.candidateScore);
    }
    return refusal(s.word.isProtected ? Reason::ProtectedPattern : Reason::LowConfidence, s.conf, s.originalScore,
                   s.candidateScore);
}

}  // namespace

double minDeltaForLength(const DecisionConfig& decision, int64_t length) {
    const DynamicThresholdCurveConfig& curve = decision.dynamicThresholdCurve;
    return thresholdForLength(decision.minDeltaByLength, decision.minDeltaDefault, curve.enabled, curve.deltaBaseAtLen5,
                              curve.deltaDecayPerShorterLen, curve.deltaFloor, length);
}

double minCandidateScoreForLength(const DecisionConfig& decision, int64_t length) {
    const DynamicThresholdCurveConfig& curve = decision.dynamicThresholdCurve;
    return thresholdForLength(decision.minCandidateScoreByLength, decision.minCandidateScoreDefault, curve.enabled,
                              curve.candidateBaseAtLen5, curve.candidateDecayPerShorterLen, curve.candidateFloor,
                              length);
}

double confidenceForDelta(const DecisionConfig& decision, double delta) {
    return 1.0 / (1.0 + std::exp(-delta / decision.confidenceScale));
}

double cappedConfidence(double confidence, const ScoreBreakdown& candidate) {
    if (candidate.exactCommonWord > 0.0) return confidence;
    return std::min(confidence, kNonDictionaryConfidenceCap);
}

std::string correctionText(std::string_view typed, std::string_view replacement, std::string_view trailing) {
    std::string text = layout::preserveCase(typed, replacement);
    text.append(trailing);
    return text;
}

bool sourceIsInflectedKnownWord(const RulesConfig& config, const TextChars& source, const LayoutDirection& direction) {
    auto [sourceLanguage, targetLanguage] = languagesForDirection(config, direction);
    if (!sourceLanguage || source.empty() || source.back() != "ы") return false;
    const std::string y = "ы";
    bool sourceOnly =
        sourceLanguage->scriptAlphabet.count(y) && !(targetLanguage && targetLanguage->scriptAlphabet.count(y));
    if (!sourceOnly || source.size() - 1 < 3) return false;
    std::string_view stem = source.text().substr(0, source.text().size() - source.back().size());
    return sourceLanguage->isCommonWord(stem);
}

RulesDecision scoreAndDecideForDirection(const ScoringContext& context, const WordContext& word,
                                         const LayoutDirection& direction, std::size_t targetPriorityIndex) {
    const RulesConfig& config = context.config;
    ShortText mapped;
    const LayoutTables& maps = context.index.layoutTables(direction);
    layout::mapTokenInto(word.token.text(), maps.lower, maps.shift, mapped);
    TextChars candidate(mapped.view());
    if (candidate.text() == word.token.text()) return refusal(Reason::NoMappingChange, 0.0, 0.0, 0.0);

    const LanguageConfig* targetLanguage = config.language(direction.to);
    TextChars source = sanitizeSourceForScoring(context, word.lowerToken, direction);
    TextChars lowerCandidate = candidate.lowered();
    bool sameScript = context.index.isSameScript(direction);

    ScoreBreakdown typed = typedScore(context, word, source,
                                      sameScript ? direction.from : typedLanguage(context, word, source, direction));
    if (config.tokenization.letterKeyMarksInWord &&
        (graveAfterTheStart(word.token, maps) || letterKeyMarkInside(word.token, maps) ||
         letterKeyMarkAtAnEdge(word.token, maps)))
        typed.exactCommonWord = typed.frequentTokenBonus = 0.0;
    ScoreBreakdown cand = scoreToken(context, lowerCandidate, direction.to);
    cand.layoutSuspicion = layoutSuspicionBonus(config, word.token.text(), direction);
    if (sameScript) cand.layoutSuspicion += sameScriptPhoneticAdjustment(source);
    if (targetPriorityIndex >= 2)
        cand.priorityPenalty = static_cast<double>(targetPriorityIndex - 1) * -kPriorityPenaltyPerIndex;

    double originalScore = typed.total();
    double candidateScore = cand.total();
    double delta = candidateScore - originalScore;
    Scored s{word,      direction, maps,          targetLanguage, candidate, lowerCandidate,
             typed,     cand,      originalScore, candidateScore, delta,     confidenceForDelta(config.decision, delta),
             sameScript};

    const DecisionConfig& decision = config.decision;
    auto length = static_cast<int64_t>(word.token.size());
    double requiredDelta = minDeltaForLength(decision, length);
    if (typed.exactCommonWord > 0.0) requiredDelta += decision.originalExactCommonRequiresExtraDelta;
    if (sameScript) requiredDelta += decision.sameScriptExtraDelta;

    if (auto decided = decideCapitals(config, s)) return *decided;
    if (length == 1) return decideOneCharacter(config, s);
    if (length == 2 && config.tokenization.autoLength2RequiresExactCommonOrOverride) {
        if (!isCommonWord(targetLanguage, lowerCandidate))
            return refusal(Reason::Length2NoExactMatch, 0.0, originalScore, candidateScore);
        if ((word.sessionLanguage && *word.sessionLanguage != direction.to) || twoLettersInTextOfTyped(config, s))
            return refusal(Reason::Length2SessionMismatch, 0.0, originalScore, candidateScore);
    }
    if (sameScript && (contextSupportsTarget(config, s) || otherLanguageWhileUnsettled(config, s) ||
                       unlistedReadingInTargetText(config, s))) {
        if (word.isProtected && !joinsWordsOfTarget(config, s) && !capitalsOfListedWord(config, s))
            return refusal(Reason::ProtectedPattern, s.conf, originalScore, candidateScore);
        return correction(correctionText(word.token.text(), candidate.text(), word.trailing), Reason::LayoutMismatch,
                          s.conf, originalScore, candidateScore);
    }
    if (sameScript)
        if (auto refused = sameScriptRefusal(config, s, source)) return *refused;
    if (sameScript && contextKeepsSource(config, s))
        return refusal(Reason::SameScriptContextIsSourceLanguage, s.conf, originalScore, candidateScore);
    if (!sameScript)
        if (auto decided = decideBetweenWords(config, s)) return *decided;
    if (!sameScript && rareReadingInTextOfTyped(config, s))
        return refusal(Reason::LowConfidence, s.conf, originalScore, candidateScore);
    if (!sameScript && length >= 3 &&
        unlistedWordInCorrectedRun(context, word.votes, word.typedOn, direction, word.lowerToken, lowerCandidate,
                                   originalScore, candidateScore)) {
        if (word.isProtected && !protectedMayBeOverridden(decision, s) && !mixedCaseNameRead(context, s))
            return refusal(Reason::ProtectedPattern, s.conf, originalScore, candidateScore);
        return correction(correctionText(word.token.text(), candidate.text(), word.trailing), Reason::LayoutMismatch,
                          cappedConfidence(s.conf, cand), originalScore, candidateScore);
    }
    RulesDecision decided = candidateScore < minCandidateScoreForLength(decision, length)
                                ? decideLowCandidate(context, s, source)
                                : decideByThresholds(config, s, requiredDelta);
    // Asked only of a correction: most words are refused before.
    if (decided.shouldCorrect && !sameScript &&
        (readingBeginsNoWord(config, s) || formOfListedWordInTextOfTyped(config, s) || technicalWordKept(config, s)))
        return refusal(Reason::LowConfidence, s.conf, originalScore, candidateScore);
    if (!decided.shouldCorrect && mixedCaseNameRead(context, s))
        return correction(correctionText(word.token.text(), candidate.text(), word.trailing),
                          Reason::LayoutMismatchProtectedOverride, cappedConfidence(s.conf, cand), originalScore,
                          candidateScore);
    return decided;
}

}  // namespace quillom::scoring
