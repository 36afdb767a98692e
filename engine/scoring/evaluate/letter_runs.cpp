#include "scoring/evaluate/letter_runs.h"

#include <algorithm>
#include <string>
#include <vector>

#include "layout/token_mapping.h"
#include "scoring/judge/language_votes.h"
#include "scoring/read/text_chars.h"
#include "unicode/unicode.h"

namespace quillom::scoring {

namespace {

constexpr std::size_t kMinRun = 3;
// More runs than this in one word are a row of marks, not a stretched word.
constexpr std::size_t kMaxRuns = 3;
// A cut reading this short is an interjection (ах, хм, no) more than a word.
constexpr std::size_t kShortLetters = 3;

struct Run {
    std::size_t start = 0, length = 0;
};

// A word's characters, lower-cased, and their runs of one character.
struct Spelled {
    std::vector<std::string> chars;
    std::vector<Run> runs;
};

std::vector<std::string> charsOf(std::string_view word) {
    std::vector<std::string> chars;
    for (std::string_view c : unicode::graphemes(word)) chars.push_back(unicode::toLower(c));
    return chars;
}

std::vector<Run> runsOf(const std::vector<std::string>& chars) {
    std::vector<Run> runs;
    for (std::size_t i = 0; i < chars.size();) {
        std::size_t j = i + 1;
        while (j < chars.size() && chars[j] == chars[i]) ++j;
        if (j - i >= kMinRun) runs.push_back({i, j - i});
        i = j;
    }
    return runs;
}

// The characters with run i cut to keep[i] of its characters.
std::string cut(const std::vector<std::string>& chars, const std::vector<Run>& runs,
                const std::vector<std::size_t>& keep) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        for (; next < runs[i].start + keep[i]; ++next) out += chars[next];
        next = runs[i].start + runs[i].length;
    }
    for (; next < chars.size(); ++next) out += chars[next];
    return out;
}

// Calls visit with every cut of the runs, each to one of `options`.
template <typename Visit>
void forEachCut(const Spelled& word, const std::vector<std::size_t>& options, Visit visit) {
    std::vector<std::size_t> choice(word.runs.size(), 0);
    std::vector<std::size_t> keep(word.runs.size());
    for (;;) {
        std::size_t letters = word.chars.size();
        for (std::size_t i = 0; i < choice.size(); ++i) {
            keep[i] = options[choice[i]];
            letters -= word.runs[i].length - keep[i];
        }
        visit(cut(word.chars, word.runs, keep), letters);
        std::size_t i = 0;
        while (i < choice.size() && ++choice[i] == options.size()) choice[i++] = 0;
        if (i == choice.size()) return;
    }
}

// The token cut at the reading's runs is a word of its layout's language (a
// lone letter too: у in Ууу).
bool typedCutIsListed(const LanguageConfig& typed, const Spelled& token) {
    bool listed = false;
    forEachCut(token, {1, 2, 3}, [&](const std::string& word, std::size_t) { listed |= typed.isCommonWord(word); });
    return listed;
}

// The most frequent cut of the word its language lists (a word with no
// estimate after every ranked one); a cut to one letter only of a word of
// one letter (у of Ууууу, not c of cccf), and no abbreviation (cf).
std::optional<int64_t> mostFrequentCut(const LanguageConfig& language, const Spelled& word) {
    const bool oneLetter = word.runs.size() == 1 && word.runs[0].length == word.chars.size();
    std::optional<int64_t> best;
    forEachCut(word, {1, 2, 3}, [&](const std::string& cutWord, std::size_t letters) {
        if ((letters < 2 && !oneLetter) || language.abbreviations.contains(cutWord)) return;
        if (auto order = language.frequencyOrder(cutWord); order && (!best || *order < *best)) best = order;
    });
    return best;
}

struct Cut {
    int64_t order = 0;
    std::size_t letters = 0;
};

// The most frequent cut of the reading the target takes as its word. A word
// of one letter stretched is cut to two or three (ааа), never to the letter.
std::optional<Cut> listedCut(const LanguageConfig& target, const Spelled& reading) {
    const bool oneLetter = reading.runs.size() == 1 && reading.runs[0].length == reading.chars.size();
    std::optional<Cut> best;
    forEachCut(reading, oneLetter ? std::vector<std::size_t>{2, 3} : std::vector<std::size_t>{1, 2},
               [&](const std::string& word, std::size_t letters) {
                   auto order = target.frequencyOrder(word);
                   if (!order || (best && best->order <= *order)) return;
                   if (letters <= kShortLetters &&
                       (*order == LanguageConfig::kUnrankedOrder || target.abbreviations.contains(word)))
                       return;
                   best = Cut{*order, letters};
               });
    return best;
}

// Two letters said three times or more (хахаха).
bool isRepeatedSyllable(const std::vector<std::string>& chars) {
    if (chars.size() < 3 * 2 || chars.size() % 2 != 0 || chars[0] == chars[1]) return false;
    for (std::size_t i = 2; i < chars.size(); ++i)
        if (chars[i] != chars[i % 2]) return false;
    return true;
}

// The syllable of a repeated one is a ranked word of the target, no
// abbreviation, while the typed syllable is no word of its own language.
std::optional<Cut> syllableCut(const LanguageConfig& typed, const LanguageConfig& target, const Spelled& reading,
                               const Spelled& typedWord) {
    const std::string syllable = reading.chars[0] + reading.chars[1];
    auto order = target.frequencyOrder(syllable);
    if (!order || *order == LanguageConfig::kUnrankedOrder || target.abbreviations.contains(syllable) ||
        typed.isCommonWord(typedWord.chars[0] + typedWord.chars[1]))
        return std::nullopt;
    return Cut{*order, 2};
}

// The reading's cut the target takes as its word where the typed word, cut
// likewise, is none of its own language.
std::optional<Cut> readingCut(const LanguageConfig& typed, const LanguageConfig& target, const Spelled& reading,
                              const Spelled& typedWord) {
    if (isRepeatedSyllable(reading.chars)) return syllableCut(typed, target, reading, typedWord);
    if (reading.runs.empty() || reading.runs.size() > kMaxRuns || typedCutIsListed(typed, typedWord))
        return std::nullopt;
    return listedCut(target, reading);
}

// How many characters of the reading are letters before the marks closing it
// (ю, б are letters; a comma typed for one stays a mark); 0 when a mark
// stands between letters.
std::size_t leadingLetters(const std::vector<std::string>& chars) {
    std::size_t letters = 0;
    while (letters < chars.size() && unicode::isLetterChar(chars[letters])) ++letters;
    for (std::size_t i = letters; i < chars.size(); ++i)
        if (unicode::isLetterChar(chars[i])) return 0;
    return letters;
}

Spelled letterPart(std::vector<std::string> chars, std::size_t letters) {
    chars.resize(letters);
    Spelled s{std::move(chars), {}};
    s.runs = runsOf(s.chars);
    return s;
}

std::vector<std::string> sourcesOf(const ScoringContext& context, std::string_view token,
                                   const EvaluationRequest& request) {
    if (request.activeInputSource && context.config.language(*request.activeInputSource))
        return {*request.activeInputSource};
    return detectSourceLanguages(context.index, TextChars(token).lowered());
}

}  // namespace

bool stretchedWordOfTyped(const RulesConfig& config, std::string_view token, const RulesDecision& correction) {
    // Capitals alone (ЙЙЙ for QQQ) are an acronym, decided as capitals are.
    if (!hasTripledCharacter(token) || !correction.correctedToken || !correction.sourceLanguage ||
        !correction.targetLanguage || !hasLowerLetter(TextChars(token)))
        return false;
    const LanguageConfig* typed = config.language(*correction.sourceLanguage);
    const LanguageConfig* target = config.language(*correction.targetLanguage);
    std::vector<std::string> typedChars = charsOf(token);
    std::vector<std::string> readChars = charsOf(*correction.correctedToken);
    const std::size_t letters = leadingLetters(typedChars);
    if (!typed || !target || !config.differentScripts(*correction.sourceLanguage, *correction.targetLanguage) ||
        readChars.size() != typedChars.size() || letters < kMinRun || leadingLetters(readChars) < letters)
        return false;
    const Spelled typedWord = letterPart(std::move(typedChars), letters);
    if (typedWord.runs.empty() || typedWord.runs.size() > kMaxRuns) return false;
    const std::optional<int64_t> typedOrder = mostFrequentCut(*typed, typedWord);
    if (!typedOrder) return false;
    readChars.resize(letters);
    const std::optional<int64_t> readOrder = mostFrequentCut(*target, Spelled{std::move(readChars), typedWord.runs});
    return !readOrder || *typedOrder < *readOrder;
}

bool oneLetterStretchedAgainstText(const RulesConfig& config, std::string_view token, const RulesDecision& correction,
                                   const LanguageVotes* votes) {
    if (!hasTripledCharacter(token) || !correction.sourceLanguage || !correction.targetLanguage ||
        !hasLowerLetter(TextChars(token)))
        return false;
    const std::vector<std::string> chars = charsOf(token);
    if (chars.size() < kMinRun || !unicode::isLetterChar(chars.front()) ||
        std::any_of(chars.begin(), chars.end(), [&](const std::string& c) { return c != chars.front(); }))
        return false;
    return votesFavourScriptOf(config, votes, *correction.sourceLanguage, *correction.targetLanguage);
}

bool hasTripledCharacter(std::string_view t) {
    for (std::size_t i = 0; i + 2 < t.size(); ++i)
        if (t[i] == t[i + 1] && t[i] == t[i + 2]) return true;
    for (std::size_t i = 0; i + 5 < t.size(); ++i)
        if (t.compare(i, 2, t, i + 2, 2) == 0 && t.compare(i, 2, t, i + 4, 2) == 0) return true;
    return false;
}

std::optional<RulesDecision> stretchedWordReading(const ScoringContext& context, std::string_view token,
                                                  const EvaluationRequest& request, const RulesDecision& scored) {
    const RulesConfig& config = context.config;
    if (!hasTripledCharacter(token) || !decidedByScoring(scored.reason)) return std::nullopt;
    const std::vector<std::string> typedChars = charsOf(token);
    std::optional<RulesDecision> found;
    int64_t foundOrder = 0;
    for (const std::string& source : sourcesOf(context, token, request)) {
        const LanguageConfig* typed = config.language(source);
        if (!typed) continue;
        for (const std::string& target : config.activeLanguages) {
            const LanguageConfig* language = config.language(target);
            if (!language || !config.differentScripts(source, target) ||
                votesLeanAwayFrom(config, request.votes, target))
                continue;
            std::string mapped = layout::mapLayout(config.keyboardLayout, token, {source, target});
            std::vector<std::string> readChars = charsOf(mapped);
            const std::size_t letters = leadingLetters(readChars);
            if (readChars.size() != typedChars.size() || letters < kMinRun) continue;
            const Spelled reading = letterPart(std::move(readChars), letters);
            const Spelled typedWord{std::vector<std::string>(typedChars.begin(), typedChars.begin() + letters),
                                    reading.runs};
            const std::optional<Cut> listed = readingCut(*typed, *language, reading, typedWord);
            if (!listed || (found && foundOrder <= listed->order)) continue;
            const bool typedLetters = std::all_of(typedWord.chars.begin(), typedWord.chars.end(),
                                                  [](const std::string& c) { return unicode::isLetterChar(c); });
            if (typedLetters && listed->letters <= kShortLetters && !votesFavour(config, request.votes, target, source))
                continue;
            RulesDecision d = refusalWithScoresOf(Reason::LayoutMismatch, scored);
            d.shouldCorrect = true;
            d.correctedToken = std::move(mapped);
            d.sourceLanguage = source;
            d.targetLanguage = target;
            found = std::move(d);
            foundOrder = listed->order;
        }
    }
    return found;
}

}  // namespace quillom::scoring
