#include "scoring/evaluate/rules_engine.h"

#include <algorithm>

#include "layout/selection_conversion.h"
#include "layout/token_mapping.h"
#include "scoring/choose/decision_selection.h"
#include "scoring/evaluate/bar_key.h"
#include "scoring/evaluate/edge_punctuation.h"
#include "scoring/evaluate/letter_runs.h"
#include "scoring/evaluate/possessive.h"
#include "scoring/evaluate/quote_edges.h"
#include "scoring/evaluate/slash_key.h"
#include "scoring/evaluate/slash_units.h"
#include "scoring/read/capitals.h"
#include "scoring/read/key_marks.h"
#include "scoring/read/letter_case.h"
#include "scoring/evaluate/word_evaluation.h"
#include "scoring/judge/corrected_run.h"
#include "scoring/judge/pair_diagnosis.h"
#include "unicode/unicode.h"

namespace quillom {

namespace {

// Marks of the US layout whose keys give letters on the Cyrillic layouts:
// at a word's start they are an opening mark or the letter ("Untitled stays,
// "nj is Это).
bool isLeadingLetterMark(std::string_view c) {
    constexpr std::string_view kMarks = "\"<>{}:~";  // one byte each
    return c.size() == 1 && kMarks.find(c[0]) != std::string_view::npos;
}

bool hasLetterMark(std::string_view token) {
    for (std::string_view c : unicode::graphemes(token))
        if (isLeadingLetterMark(c)) return true;
    return false;
}

// The correction is capitals that its target lists as an abbreviation (ГБ
// from U<), where the rules read shifted mark keys as capitals.
bool abbreviationInCapitals(const RulesConfig& config, const RulesDecision& decision) {
    if (!config.decision.capitalsWithShiftedLetterKeys || !decision.correctedToken || !decision.targetLanguage)
        return false;
    const LanguageConfig* target = config.language(*decision.targetLanguage);
    const scoring::TextChars corrected(*decision.correctedToken);
    return target && scoring::allLetters(corrected) && scoring::allCapitals(corrected) &&
           target->abbreviations.contains(corrected.lowered().text());
}

// Those marks are letters only where they make a known word or abbreviation:
// "x:depends" or "check<" typed on the US layout are no Cyrillic gibberish.
RulesDecision keptUnlessKnown(const RulesConfig& config, std::string_view token, RulesDecision decision) {
    if (!decision.shouldCorrect || !hasLetterMark(token) ||
        scoring::isKnownWordInAnyTarget(config, decision.correctedToken) || abbreviationInCapitals(config, decision))
        return decision;
    return refusalWithScoresOf(Reason::CandidateScoreTooLow, decision);
}

// Letters cased as no word is: two capitals or more, then a lower-case letter.
bool capitalsThenLower(std::string_view text) {
    std::size_t capitals = 0;
    for (std::string_view c : unicode::graphemes(text)) {
        if (!unicode::isLetterChar(c)) continue;
        if (!unicode::isUpperChar(c)) return capitals >= 2;
        ++capitals;
    }
    return false;
}

// Marks typed before a capitalised word ("He) are marks when reading them as
// letters gives a word cased as none is (ЭРу): a Cyrillic word typed on the US
// layout capitalises its first letter only.
bool quoteBeforeCapitalisedWord(const RulesConfig& config, std::string_view token, const RulesDecision& decision) {
    return config.tokenization.leadingMarkBeforeCapitalKept && decision.shouldCorrect && decision.correctedToken &&
           hasLetterMark(token) && !capitalsThenLower(token) && capitalsThenLower(*decision.correctedToken);
}

// A band past which a listed word is rare (about the 27,000th word on):
// ло, нитов or сану after a quote or bracket key are rarer than the name the
// key makes as a letter (Эло, Юнитов, Эсану).
constexpr int64_t kRareWordBand = 60;

// The letters of the correction, the marks at its edges left out, are a
// frequent word of its target language.
bool isFrequentCorrection(const RulesConfig& config, const RulesDecision& decision) {
    if (!decision.correctedToken || !decision.targetLanguage) return false;
    const LanguageConfig* language = config.language(*decision.targetLanguage);
    if (!language) return false;
    const scoring::TextChars lowered = scoring::TextChars(*decision.correctedToken).lowered();
    std::string letters;
    for (std::size_t i = 0; i < lowered.size(); ++i)
        if (unicode::isLetterChar(lowered[i])) letters += lowered[i];
    auto order = language->frequencyOrder(letters);
    return order && *order < kRareWordBand;
}

bool typedOnLatinLayout(const RulesConfig& config, const RulesDecision& decision) {
    const LanguageConfig* source = decision.sourceLanguage ? config.language(*decision.sourceLanguage) : nullptr;
    return source && source->script == "latin";
}

std::size_t leadingMarksSize(std::string_view token) {
    std::size_t size = 0;
    for (std::string_view c : unicode::graphemes(token)) {
        if (!isLeadingLetterMark(c)) break;
        size += c.size();
    }
    return size;
}

// A quotation mark typed on the US layout before letters, whose reading as a
// whole is a frequent word of a Cyrillic target ("q is Эй, the quote key
// being Э's), where the letters are no word of their own: the reading, as
// the direction's maps give it. Letters all in capitals ("Q) may open an
// English quotation; braces and angle brackets before letters are code
// ({s}, <b>) and stay to the other readings.
std::optional<RulesDecision> frequentQuotedReading(const scoring::ScoringContext& context, std::string_view token,
                                                   std::string_view rest, const RulesDecision& read) {
    const RulesConfig& config = context.config;
    const scoring::TextChars letters = scoring::TextChars(rest);
    const scoring::TextChars lowerLetters = letters.lowered();
    if (token.find_first_not_of('"') != token.size() - rest.size() || !decidedByScoring(read.reason) ||
        !scoring::hasLowerLetter(letters))
        return std::nullopt;
    for (const std::string& source : scoring::detectSourceLanguages(context.index, lowerLetters)) {
        const LanguageConfig* typed = config.language(source);
        if (!typed || typed->script != "latin" || typed->isCommonWord(lowerLetters.text())) continue;
        for (const std::string& target : config.activeLanguages) {
            const LanguageConfig* language = config.language(target);
            if (!language || language->script != "cyrillic") continue;
            const std::string mapped = layout::mapLayout(config.keyboardLayout, token, {source, target});
            if (!scoring::allLetters(scoring::TextChars(mapped))) continue;
            auto order = language->frequencyOrder(unicode::toLower(mapped));
            if (!order || *order >= kRareWordBand || !language->isCommonWord(unicode::toLower(mapped))) continue;
            RulesDecision d;
            d.shouldCorrect = true;
            d.correctedToken = mapped;
            d.confidence = read.confidence;
            d.reason = Reason::LayoutMismatch;
            d.originalScore = read.originalScore;
            d.candidateScore = read.candidateScore;
            d.sourceLanguage = source;
            d.targetLanguage = target;
            return d;
        }
    }
    return std::nullopt;
}

// One mark opening the word, no quotation mark ("tuj may be "его) and none
// after it, in a run of corrections from the layout typed on into the
// language the word is corrected into: a letter of that language, whether
// its lexicon lists the word or not ({eu is Хуг).
bool letterKeyOpensWordOfRun(const RulesConfig& config, std::string_view token, const RulesDecision& read,
                             const scoring::EvaluationRequest& request) {
    const std::size_t leading = leadingMarksSize(token);
    return config.decision.correctedRunReadsLeadingMarks && leading == 1 && token[0] != '"' &&
           !hasLetterMark(token.substr(leading)) &&
           scoring::correctsInCorrectedRun(config, request.votes, request.activeInputSource, read);
}

// The word with its trailing boundary read as punctuation or, where the
// layout maps make it a letter, as part of the word; then its edges.
RulesDecision evaluateWithEdges(const scoring::ScoringContext& context, std::string_view token,
                                const scoring::EvaluationRequest& request) {
    const RulesConfig& config = context.config;
    auto [core, trailing] = scoring::stripTrailingBoundary(config, token);
    RulesDecision first = scoring::evaluatePair(context, core, trailing, request);
    // Trailing punctuation may itself be letters typed on the wrong layout.
    RulesDecision decision = first;
    if (scoring::hasLayoutMappedTrailing(config, trailing) &&
        !(config.tokenization.trailingReadingKeepsVetoes && reasonKind(first.reason) == ReasonKind::ListVeto)) {
        RulesDecision second = scoring::evaluatePair(context, token, {}, request);
        // In a run of corrections from the layout typed on, the closing keys
        // are the letters the run's language gives them (vsysrfhnj. is
        // мінікартою), where neither reading is a listed word.
        std::optional<RulesDecision> ofRun;
        if (config.decision.correctedRunReadsTrailingLetters &&
            scoring::correctsInCorrectedRun(config, request.votes, request.activeInputSource, second))
            ofRun = second;
        decision = scoring::chooseTrailingReading(config, trailing, std::move(first), std::move(second));
        if (ofRun && decision.reason == Reason::AmbiguousTrailingUnknownStem) decision = std::move(*ofRun);
    }
    if (decision.shouldCorrect || !config.tokenization.edgePunctuationAuto) return decision;
    const bool colonLetterOnly = !decidedByScoring(decision.reason);
    if (colonLetterOnly && !scoring::mayReadAsColonLetter(config, core, decision.reason)) return decision;
    auto edges = scoring::evaluateEdgePunctuation(context, core, trailing, request);
    if (!edges || (colonLetterOnly && !scoring::isColonLetter(*edges->correctedToken))) return decision;
    return *edges;
}

// The possessive's keys alone (эы) where the words before them are English.
std::optional<RulesDecision> possessiveAlone(const RulesConfig& config, const scoring::PossessiveEnding& ending,
                                             const scoring::EvaluationRequest& request) {
    if (!request.votes || request.votes->countOf(config, "en") == 0 ||
        scoring::votesLeanAwayFrom(config, request.votes, "en"))
        return std::nullopt;
    RulesDecision d;
    d.shouldCorrect = true;
    d.correctedToken = ending.english;
    d.confidence = 0.9;
    d.reason = Reason::LayoutMismatch;
    d.sourceLanguage = ending.layout;
    d.targetLanguage = "en";
    return d;
}

}  // namespace

RulesEngine::RulesEngine(RulesConfig config)
    : config_(std::move(config)),
      index_(config_),
      keyMarks_(config_.keyboardLayout),
      possessiveKeys_(config_),
      markKeyLetters_(config_) {}

RulesDecision RulesEngine::evaluate(std::string_view token, std::string_view appId,
                                    const std::optional<std::string>& activeInputSource,
                                    const std::optional<std::string>& sessionLanguage,
                                    const scoring::LanguageVotes* votes) const {
    if (isExcludedApp(appId)) {
        RulesDecision d;
        d.reason = Reason::ExcludedApp;
        return d;
    }
    if (auto slash = scoring::slashKeyReading(config_, token, votes)) return *slash;
    if (auto bar = scoring::barKeyReading(config_, token, votes)) return *bar;
    // A bar closing the word is the bar as typed (a table's edge): the word
    // before it is read alone.
    if (config_.tokenization.barKeyOfRussianSlash && token.size() > 1 && token.back() == '|') {
        RulesDecision d = evaluate(token.substr(0, token.size() - 1), appId, activeInputSource, sessionLanguage, votes);
        if (d.correctedToken) *d.correctedToken += '|';
        return d;
    }
    scoring::ScoringContext context{config_, index_};
    scoring::EvaluationRequest request{activeInputSource, sessionLanguage, votes};
    // Marks of the digit row at the edges ("@ghbdtn@") are no part of the word.
    const scoring::MarkEdges edges =
        config_.tokenization.keyMarksAtEdges ? scoring::keyMarkEdges(keyMarks_, token) : scoring::MarkEdges{};
    const std::string_view word = token.substr(edges.leading, token.size() - edges.leading - edges.trailing);
    RulesDecision decision = evaluateWord(context, word, request);
    if (config_.tokenization.quoteKeysAtEdges)
        if (auto quoted = edgeQuotesReading(context, word, decision, request)) decision = std::move(*quoted);
    if (!decision.shouldCorrect)
        if (auto quoted = graveQuotesReading(context, word, request)) decision = std::move(*quoted);
    if (config_.tokenization.possessiveKeysAfterWord && !decision.shouldCorrect)
        if (auto possessive = possessiveReading(context, word, request)) decision = std::move(*possessive);
    if (config_.tokenization.slashJoinedWords && !decision.shouldCorrect)
        if (auto joined = slashJoinedReading(context, word, request)) decision = std::move(*joined);
    if (!decision.shouldCorrect)
        if (auto units = scoring::slashJoinedUnitsReading(config_, word)) decision = std::move(*units);
    if (config_.tokenization.commaOrStopJoinedWords && !decision.shouldCorrect && decidedByScoring(decision.reason))
        if (auto joined = markKeyJoinedReading(context, word, request)) decision = std::move(*joined);
    if (config_.tokenization.stretchedWordsRead && !decision.shouldCorrect)
        if (auto stretched = scoring::stretchedWordReading(context, word, request, decision))
            decision = std::move(*stretched);
    if (config_.tokenization.stretchedWordsRead && decision.shouldCorrect &&
        (scoring::stretchedWordOfTyped(config_, word, decision) ||
         scoring::oneLetterStretchedAgainstText(config_, word, decision, request.votes)))
        decision = refusalWithScoresOf(Reason::LowConfidence, decision);
    if (config_.tokenization.quoteKeyBeforeInnerCapital && decision.shouldCorrect)
        decision.correctedToken = scoring::withInnerQuotesBeforeCapitals(config_, word, decision);
    if (config_.decision.capitalAfterLowerKept && decision.shouldCorrect && decision.correctedToken &&
        scoring::markMakesCapitalAfterLower(word, *decision.correctedToken))
        decision = refusalWithScoresOf(Reason::LowConfidence, decision);
    if (!decision.shouldCorrect || !decision.correctedToken) return decision;
    std::string corrected = std::string(token.substr(0, edges.leading)) + *decision.correctedToken +
                            std::string(token.substr(token.size() - edges.trailing));
    if (config_.tokenization.keyMarksAtEdges && decision.sourceLanguage && decision.targetLanguage)
        corrected = scoring::withTargetKeyMarks(config_.keyboardLayout, token, std::move(corrected),
                                                {*decision.sourceLanguage, *decision.targetLanguage});
    decision.correctedToken = std::move(corrected);
    return decision;
}

// The word without the digit row's marks at its edges; the marks on letter
// keys at its start are letters where they make a word with the rest.
RulesDecision RulesEngine::evaluateWord(const scoring::ScoringContext& context, std::string_view token,
                                        const scoring::EvaluationRequest& request) const {
    RulesDecision read = evaluateWithEdges(context, token, request);
    if (!config_.tokenization.leadingLetterMarks) return read;
    RulesDecision whole =
        letterKeyOpensWordOfRun(config_, token, read, request) ? read : keptUnlessKnown(config_, token, read);
    if (quoteBeforeCapitalisedWord(config_, token, whole)) whole = refusalWithScoresOf(Reason::LowConfidence, whole);
    const bool markBeforeCapital = quoteBeforeCapitalisedWord(config_, token, read);
    const std::size_t leading = leadingMarksSize(token);
    if (whole.shouldCorrect || leading == 0 || leading == token.size()) return whole;
    // The leading marks read as letters make no known word: they open the
    // word when the rest makes a frequent word (<afqk is <файл); else they are
    // letters ({fkmlhbr is Хальдрик, >ybnjd Юнитов, not >нитов).
    const std::string_view rest = token.substr(leading);
    RulesDecision core = keptUnlessKnown(config_, rest, evaluateWithEdges(context, rest, request));
    if (!core.shouldCorrect || !core.correctedToken) {
        auto frequent = frequentQuotedReading(context, token, rest, read);
        return frequent ? *frequent : core;
    }
    // Typed on the US layout, the marks are the keys of Cyrillic letters: as
    // letters the word may read as none ("kj, Эло), and it stays as typed;
    // not where as letters they case it as none is ("Pfkbgf.obt, ЭЗалипающие).
    const bool letterKeys = typedOnLatinLayout(config_, core);
    if (!markBeforeCapital && (!scoring::isKnownWordInAnyTarget(config_, core.correctedToken) ||
                               (letterKeys && !isFrequentCorrection(config_, core)))) {
        if (read.shouldCorrect) return read;
        if (letterKeys) return whole;
    }
    core.correctedToken = std::string(token.substr(0, leading)) + *core.correctedToken;
    return core;
}

// The quote keys at the word's edges kept as typed around the correction of
// the rest where the keys around them tell they are quotes.
std::optional<RulesDecision> RulesEngine::edgeQuotesReading(const scoring::ScoringContext& context,
                                                            std::string_view token, const RulesDecision& whole,
                                                            const scoring::EvaluationRequest& request) const {
    const scoring::QuoteEdges edges = scoring::quoteKeyEdges(config_, token, whole);
    if (!edges.any()) return std::nullopt;
    std::optional<RulesDecision> plausible;
    for (const scoring::QuoteEdges& reading : scoring::quoteReadings(edges)) {
        const std::string_view rest = token.substr(reading.leading, token.size() - reading.leading - reading.trailing);
        RulesDecision core = evaluateWord(context, rest, request);
        const scoring::QuoteVerdict verdict = scoring::judgeQuotes(config_, token, reading, whole, core);
        if (verdict == scoring::QuoteVerdict::Letters || !core.correctedToken ||
            (verdict == scoring::QuoteVerdict::Plausible && plausible))
            continue;
        core.correctedToken = std::string(token.substr(0, reading.leading)) + *core.correctedToken +
                              std::string(token.substr(token.size() - reading.trailing));
        if (verdict == scoring::QuoteVerdict::Listed) return core;
        plausible = std::move(core);
    }
    return plausible;
}

// A word kept as typed between grave keys typed on the US layout, whose rest
// corrects into a language whose layout gives the apostrophe for that key
// (Ukrainian): the keys are its quotes (`tkmasqcmrt` is 'ельфійське').
std::optional<RulesDecision> RulesEngine::graveQuotesReading(const scoring::ScoringContext& context,
                                                             std::string_view token,
                                                             const scoring::EvaluationRequest& request) const {
    const scoring::QuoteEdges edges = scoring::graveKeyEdges(config_, token);
    if (!edges.any()) return std::nullopt;
    RulesDecision core =
        evaluateWord(context, token.substr(edges.leading, token.size() - edges.leading - edges.trailing), request);
    if (!core.shouldCorrect || !core.correctedToken || !core.sourceLanguage || !core.targetLanguage)
        return std::nullopt;
    const LayoutDirection direction{*core.sourceLanguage, *core.targetLanguage};
    const std::string quote = layout::mapSelection(config_.keyboardLayout, "`", direction);
    if (quote != "'") return std::nullopt;
    core.correctedToken = (edges.leading ? quote : "") + *core.correctedToken + (edges.trailing ? quote : "");
    return core;
}

// A word kept as typed that ends in the keys of the possessive ('s) after a
// word corrected into English is that word's possessive (Ошьэы is Jim's);
// the keys alone are after words of English.
std::optional<RulesDecision> RulesEngine::possessiveReading(const scoring::ScoringContext& context,
                                                            std::string_view token,
                                                            const scoring::EvaluationRequest& request) const {
    const scoring::PossessiveEnding ending = possessiveKeys_.endingOf(token);
    if (ending.size == 0) return std::nullopt;
    if (ending.size == token.size()) return possessiveAlone(config_, ending, request);
    RulesDecision stem = evaluateWord(context, token.substr(0, token.size() - ending.size), request);
    if (!stem.shouldCorrect || !stem.correctedToken || stem.targetLanguage != "en") return std::nullopt;
    *stem.correctedToken += ending.english;
    return stem;
}

// Two words joined by one mark whose key is the target's slash, typed on the
// other layout (фгвшщ.мшвущ is audio/video): each read on its own, the whole
// is corrected when both are, into one language.
std::optional<RulesDecision> RulesEngine::slashJoinedReading(const scoring::ScoringContext& context,
                                                             std::string_view token,
                                                             const scoring::EvaluationRequest& request) const {
    constexpr std::size_t kMinSideLetters = 2;
    // Most words hold no mark between letters: they cost one scan of their bytes.
    const auto isMarkByte = [](char c) { return c == '.' || c == '/' || c == ','; };
    if (token.size() < 2 * kMinSideLetters + 1 || std::none_of(token.begin() + 1, token.end() - 1, isMarkByte))
        return std::nullopt;
    const scoring::TextChars chars{token};
    std::size_t mark = chars.size();
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (unicode::isLetterChar(chars[i])) continue;
        if (mark != chars.size()) return std::nullopt;
        mark = i;
    }
    if (mark < kMinSideLetters || mark == chars.size() || chars.size() - mark - 1 < kMinSideLetters)
        return std::nullopt;
    RulesDecision left = evaluateWord(context, chars.slice(0, mark), request);
    if (!left.shouldCorrect || !left.correctedToken || !left.sourceLanguage || !left.targetLanguage)
        return std::nullopt;
    RulesDecision right = evaluateWord(context, chars.slice(mark + 1, chars.size() - mark - 1), request);
    if (!right.shouldCorrect || !right.correctedToken || right.targetLanguage != left.targetLanguage)
        return std::nullopt;
    if (layout::mapSelection(config_.keyboardLayout, chars[mark], {*left.sourceLanguage, *left.targetLanguage}) != "/")
        return std::nullopt;
    left.correctedToken = *left.correctedToken + "/" + *right.correctedToken;
    left.confidence = std::min(left.confidence, right.confidence);
    return left;
}

// Words joined by the keys of the target's comma or full stop, typed on a
// Cyrillic layout where those keys are letters (афкбвшыефтсу is
// far,distance): each piece read on its own, the whole is corrected when
// every piece is, into one language, and neither the whole nor a piece is a
// word of another language (рыбак, люблю stay) nor a piece of two letters
// a rare reading (the ть of вгадують). Capitals alone between the keys are
// read whole (ГюЫю is U.S.).
std::optional<RulesDecision> RulesEngine::markKeyJoinedReading(const scoring::ScoringContext& context,
                                                               std::string_view token,
                                                               const scoring::EvaluationRequest& request) const {
    const std::string english = "en";
    if (!markKeyLetters_.inside(token) || scoring::listedOutside(config_, token, english)) return std::nullopt;
    if (markKeyLetters_.joinsCapitals(token)) return joinedCapitalsReading(token);
    const scoring::JoinedPieces joined = markKeyLetters_.split(token);
    std::optional<RulesDecision> whole;
    std::string text;
    for (std::size_t i = 0; i < joined.pieces.size(); ++i) {
        RulesDecision piece = evaluateWord(context, joined.pieces[i], request);
        if (!piece.shouldCorrect || !piece.correctedToken || !piece.sourceLanguage || piece.targetLanguage != english ||
            scoring::listedOutside(config_, joined.pieces[i], english) ||
            scoring::shortPieceUnlisted(config_, joined.pieces[i], *piece.correctedToken, english))
            return std::nullopt;
        if (i > 0) {
            const std::string mark = layout::mapLayout(config_.keyboardLayout, joined.keys[i - 1],
                                                       {*piece.sourceLanguage, *piece.targetLanguage});
            if (mark != "," && mark != ".") return std::nullopt;
            text += mark;
        }
        text += *piece.correctedToken;
        if (!whole) whole = std::move(piece);
        else whole->confidence = std::min(whole->confidence, piece.confidence);
    }
    if (!whole) return std::nullopt;
    whole->correctedToken = std::move(text);
    return whole;
}

// Capitals joined by those keys (ГюЫю) are the letters of an English
// abbreviation or list (U.S., R,G,B), read on the layout of a Cyrillic
// language whose alphabet holds them.
std::optional<RulesDecision> RulesEngine::joinedCapitalsReading(std::string_view token) const {
    const std::string english = "en";
    const auto isEnglishChar = [](char c) { return (c >= 'A' && c <= 'Z') || c == ',' || c == '.'; };
    for (const std::string& source : detectSourceLanguages(token)) {
        const LanguageConfig* language = config_.language(source);
        if (!language || language->script != "cyrillic") continue;
        std::string read = layout::mapLayout(config_.keyboardLayout, token, {source, english});
        if (!std::all_of(read.begin(), read.end(), isEnglishChar)) continue;
        RulesDecision d;
        d.shouldCorrect = true;
        d.correctedToken = std::move(read);
        d.confidence = scoring::kNonDictionaryConfidenceCap;
        d.reason = Reason::LayoutMismatch;
        d.sourceLanguage = source;
        d.targetLanguage = english;
        return d;
    }
    return std::nullopt;
}

std::vector<std::string> RulesEngine::detectSourceLanguages(std::string_view token) const {
    return scoring::detectSourceLanguages(index_, scoring::TextChars(token).lowered());
}

std::optional<std::string> RulesEngine::singleSourceLanguage(std::string_view token) const {
    const scoring::LanguageKeys keys =
        index_.keysOf(index_.scanLetters(scoring::TextChars(token).lowered()).holdingAllLetters);
    if (keys.size() != 1) return std::nullopt;
    return keys.front();
}

// The decoder keys excluded applications by their lower-cased identifier.
bool RulesEngine::isExcludedApp(std::string_view appId) const {
    if (appId.empty() || config_.excludedApps.empty()) return false;
    scoring::ShortText lower;
    char scalar[4];
    for (std::size_t pos = 0; pos < appId.size();)
        lower.append(scalar, unicode::encodeScalar(unicode::toLower(unicode::decodeScalar(appId, pos)), scalar));
    return config_.excludedApps.find(lower.view()) != config_.excludedApps.end();
}

}  // namespace quillom
