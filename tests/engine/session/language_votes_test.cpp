// Telling two languages of one script apart: the language of a finished word,
// the votes of the last words, and how they settle twin readings (файлы on the
// Russian layout, файлі on the Ukrainian one) in the decision.
#include "scoring/judge/language_votes.h"

#include <gtest/gtest.h>

#include "config/packed_lexicon.h"
#include "scoring/choose/decision_selection.h"
#include "session/layout_follow.h"
#include "session/recent_languages.h"
#include "scoring/judge/pair_diagnosis.h"
#include "session/word_before.h"
#include "scoring_fixture.h"

namespace quillom::scoring {
namespace {

using namespace session;

using testing::lang;
using testing::makeConfig;
using testing::Scoring;

// makeConfig with the ranked words of data/twins_lexicon.tsv and the evidence on.
RulesConfig rankedConfig(int64_t window = 8, int64_t minLead = 2, int64_t margin = 8) {
    RulesConfig config = makeConfig();
    auto file =
        PackedLexiconFile::load(std::string(QUILLOM_SCORING_DATA_DIR) + "/twins_lexicon.bin", "dbd21c67fcaf86df");
    if (!file) throw std::logic_error("twins_lexicon.bin not readable");
    for (const char* key : {"en", "ru", "uk"}) lang(config, key).packedWords = file->language(key);
    config.decision.languageEvidence = {window, minLead, margin};
    return config;
}

LanguageVotes votesOf(const RulesConfig& config, std::initializer_list<std::pair<const char*, int>> counts) {
    LanguageVotes v;
    for (const auto& [key, n] : counts)
        for (std::size_t i = 0; i < config.activeLanguages.size(); ++i)
            if (config.activeLanguages[i] == key) v.counts[i] = static_cast<std::uint8_t>(n);
    return v;
}

std::optional<std::string> languageKey(const RulesConfig& config, std::string_view word,
                                       const LanguageVotes* votes = nullptr) {
    auto i = languageOfWord(config, word, votes);
    if (!i) return std::nullopt;
    return config.activeLanguages[*i];
}

TEST(LanguageOfWord, ListedInOneLanguageOrClearlyMoreFrequentInOne) {
    const RulesConfig config = rankedConfig();
    struct Case {
        const char* word;
        std::optional<std::string> language;
    } cases[] = {
        {"файлы", "ru"},             // listed only in Russian
        {"«Файлі»,", "uk"},          // marks around the word and capitals do not matter
        {"что", "ru"},               // band 19 in Russian, 66 in Ukrainian
        {"параметр", std::nullopt},  // 27 against 31: too close
        {"новы", "ru"},              // unranked, but only Russian lists it
        {"привет", "ru"},            // a common word of the rules file, not in the packed lexicon
        {"here", "en"},
        {"я", std::nullopt},         // one letter
        {"пере-вод", std::nullopt},  // a mark inside
        {"ghbdtn", std::nullopt},    // no language lists it
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(languageKey(config, c.word), c.language) << c.word;
    // Without a rank margin a word that two languages list belongs to neither.
    EXPECT_EQ(languageKey(rankedConfig(8, 2, 0), "что"), std::nullopt);
    EXPECT_EQ(languageKey(rankedConfig(8, 2, 0), "файлы"), "ru");
}

TEST(LanguageOfWord, ASameTextWordOfTwoLanguagesOfOneScriptNeedsTheWiderMargin) {
    RulesConfig config = rankedConfig();
    // The twin margin alone: тут (32 in Ukrainian, 40 in Russian) counts for
    // Ukrainian; бомба, listed in Russian with no estimate, too.
    EXPECT_EQ(languageKey(config, "тут"), "uk");
    EXPECT_EQ(languageKey(config, "бомба"), "uk");
    config.decision.languageEvidence.sameTextRankMargin = 16;
    struct Case {
        int64_t margin;
        const char* word;
        std::optional<std::string> language;
    } cases[] = {
        {16, "тут", std::nullopt},                               // 8 bands apart: not enough
        {8, "тут", "uk"},          {16, "бомба", std::nullopt},  // no estimate in Russian: no telling
        {47, "что", "ru"},                                       // 19 against 66
        {48, "что", std::nullopt}, {48, "файлы", "ru"},          // a word of one language alone
        {48, "here", "en"},
    };
    for (const Case& c : cases) {
        config.decision.languageEvidence.sameTextRankMargin = c.margin;
        EXPECT_EQ(languageKey(config, c.word), c.language) << c.word << " " << c.margin;
    }
}

TEST(LanguageOfWord, ASameTextWordCountsAgainstTheLanguageWrittenLatelyByTwiceTheMargin) {
    RulesConfig config = rankedConfig();
    config.decision.languageEvidence.sameTextRankMargin = 8;
    LanguageVotes russian, ukrainian;
    russian.written[*activeIndex(config, "ru")] = 4;
    ukrainian.written[*activeIndex(config, "uk")] = 4;
    struct Case {
        const char* word;
        const LanguageVotes* votes;
        std::optional<std::string> language;
    } cases[] = {
        {"тут", nullptr, "uk"},           // 32 in Ukrainian, 40 in Russian: the margin of 8
        {"тут", &russian, std::nullopt},  // against Russian, written lately: 16
        {"тут", &ukrainian, "uk"},        // for the language written lately: 8
        {"что", &ukrainian, "ru"},        // 19 against 66: beyond 16
        {"файлы", &ukrainian, "ru"},      // a word of one language alone
    };
    for (const Case& c : cases) EXPECT_EQ(languageKey(config, c.word, c.votes), c.language) << c.word;
}

TEST(RecentLanguages, CountsTheLastWindowOfWords) {
    RecentLanguages recent;
    for (std::size_t language : {1u, 1u, 2u, 2u}) recent.record(3, language);
    EXPECT_EQ(recent.votes().counts[1], 1);  // the first of the four fell out of the window
    EXPECT_EQ(recent.votes().counts[2], 2);
    recent.record(3, std::nullopt);  // a word of no single language changes nothing
    EXPECT_EQ(recent.votes().counts[1], 1);
    recent.record(3, 0);
    EXPECT_EQ(recent.votes().counts[1], 0);
    EXPECT_EQ(recent.votes().counts[0], 1);
    recent.record(2, 0);  // a smaller window (a reloaded rules file) starts afresh
    EXPECT_EQ(recent.votes().counts[0], 1);
    EXPECT_EQ(recent.votes().counts[2], 0);
    recent.reset();
    for (auto n : recent.votes().counts) EXPECT_EQ(n, 0);
}

TEST(RecentLanguages, KeepWhatWasWrittenLatelyThroughAReset) {
    const RulesConfig config = rankedConfig();
    const std::string &ru = config.activeLanguages[1], &uk = config.activeLanguages[2];
    RecentLanguages recent;
    auto mostly = [&](const std::string& a, const std::string& b) {
        return writtenMostly(config, &recent.votes(), a, b);
    };
    for (std::size_t language : {1u, 1u, 1u}) recent.record(8, language);
    EXPECT_FALSE(mostly(ru, uk)) << "three words are too few";
    recent.record(8, 1);
    EXPECT_TRUE(mostly(ru, uk));
    recent.reset();
    EXPECT_TRUE(mostly(ru, uk)) << "a reset keeps it";
    recent.record(8, 2);
    recent.record(8, 2);
    EXPECT_FALSE(mostly(ru, uk)) << "4 against 2: not three times as many";
    EXPECT_FALSE(mostly(uk, ru));
    // The tallies halve at the cap: what was written long ago fades.
    for (int i = 0; i < 3 * LanguageVotes::writtenCap; ++i) recent.record(8, 2);
    EXPECT_TRUE(mostly(uk, ru));
    EXPECT_LT(recent.votes().written[2], LanguageVotes::writtenCap);
    EXPECT_FALSE(writtenMostly(config, nullptr, uk, ru));
}

TEST(RecentLanguages, AGuessedLayoutLastsUntilAWordCountsForALanguage) {
    RecentLanguages recent;
    EXPECT_FALSE(recent.votes().guessedLayout);
    recent.recordGuess(2);
    EXPECT_EQ(recent.votes().guessedLayout, 2);
    recent.record(8, std::nullopt);  // a word of no single language: still a guess
    EXPECT_EQ(recent.votes().guessedLayout, 2);
    recent.record(8, 1);
    EXPECT_FALSE(recent.votes().guessedLayout);
    recent.recordGuess(1);
    recent.record(0, 1);  // no window: nothing is recorded
    EXPECT_EQ(recent.votes().guessedLayout, 1);
    recent.reset();
    EXPECT_FALSE(recent.votes().guessedLayout);
    recent.recordGuess(LanguageVotes::maxLanguages);  // no such position
    EXPECT_FALSE(recent.votes().guessedLayout);
}

// Corrections from one layout into one language make a run; a word kept, a
// correction from another layout or into another language ends it, and a
// position past the votes' languages counts as none.
TEST(RecentLanguages, CorrectionsFromOneLayoutIntoOneLanguageMakeARun) {
    using Step = std::pair<std::optional<std::size_t>, std::optional<std::size_t>>;  // from, into
    const auto none = std::nullopt;
    struct Case {
        std::vector<Step> steps;
        int words;
        std::uint8_t from, into;
    } cases[] = {
        {{{0, 1}}, 1, 0, 1},
        {{{0, 1}, {0, 1}, {0, 1}}, 3, 0, 1},
        {{{0, 1}, {0, 1}, {none, none}}, 0, 0, 0},
        {{{0, 1}, {none, none}, {0, 1}}, 1, 0, 1},
        {{{0, 1}, {0, 1}, {0, 2}}, 1, 0, 2},
        {{{0, 1}, {0, 1}, {2, 1}}, 1, 2, 1},
        {{{0, 1}, {0, LanguageVotes::maxLanguages}}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        RecentLanguages recent;
        for (const auto& [from, into] : c.steps) recent.recordCorrection(from, into);
        const LanguageVotes::CorrectedRun& run = recent.votes().correctedRun;
        EXPECT_EQ(run.words, c.words) << c.steps.size() << " steps";
        if (c.words == 0) continue;
        EXPECT_EQ(run.from, c.from);
        EXPECT_EQ(run.into, c.into);
    }
    RecentLanguages recent;
    for (int i = 0; i < 300; ++i) recent.recordCorrection(0, 1);
    EXPECT_EQ(recent.votes().correctedRun.words, UINT8_MAX) << "a long run stops counting, not wraps";
    recent.reset();
    EXPECT_EQ(recent.votes().correctedRun.words, 0);
}

TEST(VotesFavour, NeedsTheConfiguredLeadAndTheEvidenceOn) {
    const RulesConfig config = rankedConfig();
    const LanguageVotes votes = votesOf(config, {{"ru", 3}, {"uk", 1}});
    EXPECT_TRUE(votesFavour(config, &votes, "ru", "uk"));
    EXPECT_FALSE(votesFavour(config, &votes, "uk", "ru"));
    EXPECT_FALSE(votesFavour(rankedConfig(8, 3), &votes, "ru", "uk"));
    EXPECT_FALSE(votesFavour(rankedConfig(0), &votes, "ru", "uk"));
    EXPECT_FALSE(votesFavour(config, nullptr, "ru", "uk"));
    EXPECT_TRUE(votesFavour(config, &votes, "ru", "de")) << "a language that is not active has no votes";
}

CompetingDirection correcting(std::string to, std::string text, double score) {
    CompetingDirection c{{"en", to}, {}};
    c.decision.shouldCorrect = true;
    c.decision.correctedToken = std::move(text);
    c.decision.candidateScore = score;
    c.decision.reason = Reason::LayoutMismatch;
    c.decision.sourceLanguage = "en";
    c.decision.targetLanguage = c.direction.to;
    return c;
}

TEST(TwinReadings, TheLastWordsOrAClearlyHigherFrequencyPickTheLanguage) {
    struct Case {
        const char* name;
        RulesConfig config;
        std::initializer_list<std::pair<const char*, int>> votes;
        const char* ukText;
        const char* ruText;
        const char* target;
        const char* reason;
    } cases[] = {
        {"evidence off: the higher score", rankedConfig(0), {{"ru", 5}}, "файлі", "файлы", "uk", "layout_mismatch"},
        {"Russian words before", rankedConfig(), {{"ru", 2}}, "файлі", "файлы", "ru", "session_language_tie_break"},
        {"Ukrainian words before",
         rankedConfig(),
         {{"uk", 3}, {"ru", 1}},
         "файлі",
         "файлы",
         "uk",
         "session_language_tie_break"},
        {"too small a lead: frequency", rankedConfig(), {{"ru", 1}}, "файлі", "файлы", "ru", "layout_mismatch"},
        {"frequency the other way", rankedConfig(), {}, "дані", "даны", "uk", "layout_mismatch"},
        {"no rank margin: the higher score", rankedConfig(8, 2, 0), {}, "файлі", "файлы", "uk", "layout_mismatch"},
        {"both unranked: the higher score", rankedConfig(), {}, "нові", "новы", "uk", "layout_mismatch"},
    };
    for (const Case& c : cases) {
        const LanguageVotes votes = votesOf(c.config, c.votes);
        RulesDecision d = selectWinningDecision(
            c.config,
            std::vector<CompetingDirection>{correcting("ru", c.ruText, 48.0), correcting("uk", c.ukText, 60.0)},
            std::nullopt, std::nullopt, &votes);
        EXPECT_EQ(d.targetLanguage, c.target) << c.name;
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.correctedToken, std::string(c.target) == "ru" ? c.ruText : c.ukText) << c.name;
    }
}

TEST(TwinReadings, AtTheStartOfATextTheMoreFrequentListedReadingWhenTheRulesAsk) {
    RulesConfig on = rankedConfig(), wide = rankedConfig();
    on.decision.languageEvidence.textStartTwinRankMargin = 2;
    wide.decision.languageEvidence.textStartTwinRankMargin = 4;
    const std::optional<std::string> noSession;
    struct Case {
        const char* name;
        const RulesConfig& config;
        std::initializer_list<std::pair<const char*, int>> votes;
        std::optional<std::string> session;
        const char* ukText;
        const char* ruText;
        const char* target;
        const char* writtenLately = nullptr;  // in another application
    } cases[] = {
        // снаряды 62 in Russian, снаряді 65 in Ukrainian: within the margin.
        {"rule off: the higher score", rankedConfig(), {}, noSession, "снаряді", "снаряды", "uk"},
        {"text start", on, {}, noSession, "снаряді", "снаряды", "ru"},
        {"text start, a wider margin than the bands' gap", wide, {}, noSession, "снаряді", "снаряды", "uk"},
        {"a word counted before: no text start", on, {{"ru", 1}}, noSession, "снаряді", "снаряды", "uk"},
        {"a session language: no text start", on, {}, std::string("en"), "снаряді", "снаряды", "uk"},
        {"both unranked: the higher score", on, {}, noSession, "нові", "новы", "uk"},
        {"bands apart by less: the language written lately", wide, {}, noSession, "снаряді", "снаряды", "ru", "ru"},
        {"both unranked: the language written lately", on, {}, noSession, "нові", "новы", "ru", "ru"},
        {"... not at a text start", on, {}, std::string("en"), "нові", "новы", "uk", "ru"},
        // файлы 30 in Russian, файлі 61 in Ukrainian: far apart, yet within
        // four margins; даны 62 and дані 21 are more.
        {"a clearly more frequent reading", on, {}, noSession, "файлі", "файлы", "ru"},
        {"... against the language written lately", on, {}, noSession, "файлі", "файлы", "uk", "uk"},
        {"... unless four margins apart", on, {}, noSession, "дані", "даны", "uk", "ru"},
    };
    for (const Case& c : cases) {
        LanguageVotes votes = votesOf(c.config, c.votes);
        if (c.writtenLately) votes.written[*activeIndex(c.config, c.writtenLately)] = 4;
        RulesDecision d = selectWinningDecision(
            c.config,
            std::vector<CompetingDirection>{correcting("ru", c.ruText, 48.0), correcting("uk", c.ukText, 60.0)},
            std::nullopt, c.session, &votes);
        EXPECT_EQ(d.targetLanguage, c.target) << c.name;
        EXPECT_EQ(d.correctedToken, std::string(c.target) == "ru" ? c.ruText : c.ukText) << c.name;
    }
}

// A reading the language of the text does not list, against a rare word of
// the other language of the script: a form its dictionary lacks.
TEST(TwinReadings, AnUnlistedReadingInTheLanguageOfTheTextBeatsARareTwin) {
    const RulesConfig config = rankedConfig();
    const std::optional<std::string> noSession;
    struct Case {
        const char* name;
        std::initializer_list<std::pair<const char*, int>> votes;
        std::optional<std::string> session;
        const char* ukText;  // listed in Ukrainian
        const char* ruText;  // listed in Russian only when it says so
        const char* target;
        const char* writtenLately = nullptr;
    } cases[] = {
        // снаряді is band 65 in Ukrainian, файлі 61: rare; дані 21 is not.
        {"Russian text", {{"ru", 2}}, noSession, "снаряді", "снарядых", "ru"},
        {"Russian text, band 61", {{"ru", 2}}, noSession, "файлі", "файлых", "ru"},
        {"Russian text, a frequent Ukrainian word", {{"ru", 2}}, noSession, "дані", "даныщ", "uk"},
        {"nothing typed before", {}, noSession, "снаряді", "снарядых", "uk"},
        {"Ukrainian text", {{"uk", 2}}, noSession, "снаряді", "снарядых", "uk"},
        {"a text start of one who writes Russian", {}, noSession, "снаряді", "снарядых", "ru", "ru"},
        {"... not at a text start", {}, std::string("en"), "снаряді", "снарядых", "uk", "ru"},
        {"both listed: the twin rules", {{"ru", 2}}, noSession, "снаряді", "снаряды", "ru"},
    };
    for (const Case& c : cases) {
        LanguageVotes votes = votesOf(config, c.votes);
        if (c.writtenLately) votes.written[*activeIndex(config, c.writtenLately)] = 4;
        RulesDecision d = selectWinningDecision(
            config, std::vector<CompetingDirection>{correcting("ru", c.ruText, 40.0), correcting("uk", c.ukText, 60.0)},
            std::nullopt, c.session, &votes);
        EXPECT_EQ(d.targetLanguage, c.target) << c.name;
    }
}

TEST(TwinReadings, UnlistedReadingsGoToTheOneEndingInALongerWordOfItsLanguage) {
    struct Case {
        int64_t minLength;
        const char* ukText;
        const char* ruText;
        const char* target;
    } cases[] = {
        {0, "Супертяжелій", "Супертяжелый", "uk"},  // rule off: the higher score
        {4, "Супертяжелій", "Супертяжелый", "ru"},  // тяжелый is Russian, тяжелій no word
        {7, "Супертяжелій", "Супертяжелый", "ru"},
        {8, "Супертяжелій", "Супертяжелый", "uk"},  // тяжелый is too short a tail
        {4, "Відладка", "Выдладка", "uk"},          // ладка does not hold ы/і: it tells nothing
    };
    for (const Case& c : cases) {
        RulesConfig config = rankedConfig();
        config.decision.languageEvidence.twinKnownTailMinLength = c.minLength;
        const LanguageVotes votes;
        RulesDecision d = selectWinningDecision(
            config, std::vector<CompetingDirection>{correcting("ru", c.ruText, 48.0), correcting("uk", c.ukText, 60.0)},
            std::nullopt, std::nullopt, &votes);
        EXPECT_EQ(d.targetLanguage, c.target) << c.ruText << " " << c.minLength;
    }
}

TEST(TwinReadings, AnUnknownReadingIsNoTwin) {
    // Only known readings compete as twins: an unknown Russian reading leaves the
    // known Ukrainian one alone whatever the last words were, unless that is a
    // rare word (above).
    const RulesConfig config = rankedConfig();
    const LanguageVotes votes = votesOf(config, {{"ru", 6}});
    RulesDecision d = selectWinningDecision(
        config, std::vector<CompetingDirection>{correcting("ru", "даныы", 70.0), correcting("uk", "дані", 60.0)},
        std::nullopt, std::nullopt, &votes);
    EXPECT_EQ(d.correctedToken, "дані");
}

// A word decided with the last words' languages counted as votes.
struct VotedCase {
    const char* name;
    const RulesConfig& config;
    const char* typed;
    const char* from;
    const char* to;
    std::initializer_list<std::pair<const char*, int>> votes;
    bool isProtected;
    const char* reason;
    std::optional<std::string> text;
};

RulesDecision decideWithVotes(const RulesConfig& config, std::string_view typed, const char* from, const char* to,
                              std::initializer_list<std::pair<const char*, int>> counts, bool isProtected = false,
                              std::optional<std::string> session = std::nullopt) {
    LanguageIndex index(config);
    TextChars token{std::string(typed)};
    TextChars lower = token.lowered();
    const LanguageVotes votes = votesOf(config, counts);
    WordContext word{token, lower, "", isProtected, session, nullptr, &votes};
    return scoreAndDecideForDirection({config, index}, word, {from, to}, 1);
}

TEST(SameScriptTwins, CorrectedWhenTheLastWordsAreOfTheTarget) {
    const RulesConfig on = rankedConfig(), off = rankedConfig(0);
    const char* const kKnown = "same_script_source_is_known_word";
    const std::optional<std::string> kKept;  // left as typed
    const VotedCase cases[] = {
        {"Russian text", on, "файлі", "uk", "ru", {{"ru", 3}}, false, "layout_mismatch", "файлы"},
        {"case kept", on, "Файлі", "uk", "ru", {{"ru", 3}}, false, "layout_mismatch", "Файлы"},
        {"Ukrainian text", on, "даны", "ru", "uk", {{"uk", 2}}, false, "layout_mismatch", "дані"},
        {"two letters", on, "ві", "uk", "ru", {{"ru", 2}}, false, "layout_mismatch", "вы"},
        {"lead too small", on, "файлі", "uk", "ru", {{"ru", 2}, {"uk", 1}}, false, kKnown, kKept},
        {"text of the typed word's language", on, "файлі", "uk", "ru", {{"uk", 4}}, false, kKnown, kKept},
        {"evidence off", off, "файлі", "uk", "ru", {{"ru", 5}}, false, kKnown, kKept},
        {"two letters, evidence off", off, "ві", "uk", "ru", {{"ru", 5}}, false, "same_script_too_short", kKept},
        {"candidate unknown", on, "новіх", "uk", "ru", {{"ru", 5}}, false, "same_script_requires_known_word", kKept},
        {"protected", on, "файлі", "uk", "ru", {{"ru", 3}}, true, "protected_pattern", kKept},
        // стыл is no Russian word, стіл a Ukrainian one: in Russian text it stays.
        {"no words before", on, "стыл", "ru", "uk", {}, false, "layout_mismatch", "стіл"},
        {"Russian text", on, "стыл", "ru", "uk", {{"ru", 2}}, false, "same_script_context_is_source_language", kKept},
        {"Russian lead too small", on, "стыл", "ru", "uk", {{"ru", 2}, {"uk", 1}}, false, "layout_mismatch", "стіл"},
        {"Russian text, evidence off", off, "стыл", "ru", "uk", {{"ru", 5}}, false, "layout_mismatch", "стіл"},
    };
    for (const VotedCase& c : cases) {
        RulesDecision d = decideWithVotes(c.config, c.typed, c.from, c.to, c.votes, c.isProtected);
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.correctedToken, c.text) << c.name;
        EXPECT_EQ(d.shouldCorrect, c.text.has_value()) << c.name;
    }
}

}  // namespace
}  // namespace quillom::scoring

namespace quillom::scoring {
namespace {

using namespace session;

// руку typed on the Russian layout is "here" on the US one: both are words.
TEST(WordsOnBothLayouts, CorrectedOnlyWhenFarMoreFrequentAndWhatWasTypedSupportsIt) {
    const RulesConfig on = rankedConfig(), noMargin = rankedConfig(8, 2, 0);
    const std::optional<std::string> kKept;
    struct Case {
        const char* name;
        const char* typed;
        const char* from;
        const char* to;
        std::initializer_list<std::pair<const char*, int>> votes;
        std::optional<std::string> session;
        const char* reason;
        std::optional<std::string> text;
    } cases[] = {
        {"English text", "руку", "ru", "en", {{"en", 2}}, std::nullopt, "layout_mismatch", "here"},
        {"capital kept", "Руку", "ru", "en", {{"en", 3}, {"ru", 1}}, std::nullopt, "layout_mismatch", "Here"},
        {"all capitals: an acronym", "РУКУ", "ru", "en", {{"en", 3}}, "en", "low_confidence", kKept},
        {"a full stop after it", "руку.", "ru", "en", {{"ru", 3}}, std::nullopt, "low_confidence", kKept},
        {"English session, no votes", "руку", "ru", "en", {}, "en", "layout_mismatch", "here"},
        {"nothing before: kept", "руку", "ru", "en", {}, std::nullopt, "low_confidence", kKept},
        {"lead too small", "руку", "ru", "en", {{"en", 1}}, std::nullopt, "low_confidence", kKept},
        {"as many of each", "руку", "ru", "en", {{"ru", 2}, {"en", 2}}, std::nullopt, "low_confidence", kKept},
        {"Russian session", "руку", "ru", "en", {{"en", 1}}, "ru", "low_confidence", kKept},
        {"English session, Russian votes", "руку", "ru", "en", {{"ru", 2}, {"en", 1}}, "en", "low_confidence", kKept},
        {"Russian text", "руку", "ru", "en", {{"ru", 4}, {"en", 1}}, std::nullopt, "low_confidence", kKept},
        {"Russian text, three letters", "рук", "ru", "en", {{"ru", 4}}, std::nullopt, "low_confidence", kKept},
        {"English text, three letters", "рук", "ru", "en", {{"en", 4}}, std::nullopt, "layout_mismatch", "her"},
        {"more frequent reading typed", "при", "ru", "en", {{"en", 5}}, "en", "low_confidence", kKept},
        {"far more frequent, Russian text", "ghb", "en", "ru", {{"ru", 2}}, std::nullopt, "layout_mismatch", "при"},
    };
    for (const Case& c : cases) {
        RulesDecision d = decideWithVotes(on, c.typed, c.from, c.to, c.votes, false, c.session);
        EXPECT_EQ(d.reason, c.reason) << c.name;
        EXPECT_EQ(d.correctedToken, c.text) << c.name;
    }
    // Without a rank margin the scores and thresholds decide, whatever the words before.
    for (auto votes : {std::initializer_list<std::pair<const char*, int>>{{"en", 5}}, {{"ru", 5}}}) {
        RulesDecision d = decideWithVotes(noMargin, "руку", "ru", "en", votes);
        EXPECT_EQ(d.reason, decideWithVotes(rankedConfig(0), "руку", "ru", "en", {}).reason);
        EXPECT_NE(d.reason, "session_language_tie_break");
    }
}

// A word kept at the start of a text for want of context goes with the next
// word corrected to the language of its far more frequent reading.
TEST(WordsOnBothLayouts, KeptTwinGoesWithTheNextCorrectedWord) {
    const RulesConfig on = rankedConfig(), noMargin = rankedConfig(8, 2, 0);
    struct Case {
        const char* name;
        const RulesConfig& config;
        const char* previous;
        std::initializer_list<std::pair<const char*, int>> votes;
        std::optional<std::string> expected;
    } cases[] = {
        {"start of a text", on, "руку", {{"ru", 1}, {"en", 1}}, "here"},
        {"case kept", on, "Руку", {{"ru", 1}, {"en", 1}}, "Here"},
        {"no votes known", on, "рук", {}, "her"},
        {"Russian text before", on, "руку", {{"ru", 3}, {"en", 1}}, std::nullopt},
        {"no rank margin", noMargin, "руку", {{"en", 1}}, std::nullopt},
        {"reading not far more frequent", on, "при", {{"en", 1}}, std::nullopt},
        {"reading no word of the target", on, "пока", {{"en", 1}}, std::nullopt},
    };
    for (const Case& c : cases) {
        const Scoring scoring(c.config);
        const LanguageVotes votes = votesOf(c.config, c.votes);
        EXPECT_EQ(correctWordBefore(scoring.context(), c.previous, "руддщ", "en", &votes), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace quillom::scoring

namespace quillom::scoring {
namespace {

using namespace session;

// что typed on the Ukrainian layout reads что on the Russian one too: a
// Russian word, so the layout follows to Russian; nothing is retyped.
TEST(LayoutToFollow, AWordReadingAlikeOnTheOtherLayoutOfItsScript) {
    const RulesConfig on = rankedConfig(), off = rankedConfig(0);
    struct Case {
        const char* name;
        const RulesConfig& config;
        const char* typed;
        const char* typedOn;
        std::initializer_list<std::pair<const char*, int>> votes;
        std::optional<std::string> language;
    } cases[] = {
        {"Russian word", on, "что", "uk", {}, "ru"},
        {"with a capital and its boundary", on, "Что,", "uk", {}, "ru"},
        {"after one Ukrainian word", on, "что", "uk", {{"uk", 1}}, "ru"},
        {"in Ukrainian text", on, "что", "uk", {{"uk", 2}}, std::nullopt},
        {"already on its layout", on, "что", "ru", {}, std::nullopt},
        {"a word of both languages", on, "параметр", "uk", {}, std::nullopt},
        {"a word of no language", on, "щось", "uk", {}, std::nullopt},
        {"letters that differ between the layouts", on, "файлы", "ru", {}, std::nullopt},
        {"another script", on, "here", "ru", {}, std::nullopt},
        {"a layout with no other language of its script", on, "here", "en", {}, std::nullopt},
        {"evidence off", off, "что", "uk", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const LanguageVotes votes = votesOf(c.config, c.votes);
        EXPECT_EQ(languageToFollow(c.config, c.typed, c.typedOn, &votes), c.language) << c.name;
    }
    // A language with no map from the layout typed on: no reading to compare.
    RulesConfig unmapped = rankedConfig();
    unmapped.keyboardLayout.maps.erase({"uk", "ru"});
    EXPECT_EQ(languageToFollow(unmapped, "что", "uk", nullptr), std::nullopt);
    // Typed on the layout of a language that is not active: its words are not known.
    RulesConfig russianOnly = rankedConfig();
    russianOnly.activeLanguages = {"en", "ru"};
    EXPECT_EQ(languageToFollow(russianOnly, "что", "uk", nullptr), std::nullopt);
}

// A correction into Ukrainian whose keys give a Russian word too was a guess
// unless the last words settled it: it counts for neither language.
TEST(VotingLanguage, AGuessBetweenTwinReadingsCountsForNone) {
    const RulesConfig config = rankedConfig();
    auto decision = [](bool corrects, const char* text, Reason reason) {
        RulesDecision d;
        d.shouldCorrect = corrects;
        if (corrects) d.correctedToken = text;
        d.reason = reason;
        d.targetLanguage = "uk";
        return d;
    };
    auto key = [&](std::optional<std::size_t> i) -> std::optional<std::string> {
        if (!i) return std::nullopt;
        return config.activeLanguages[*i];
    };
    const RulesDecision kept = decision(false, "", Reason::CandidateScoreTooLow);
    struct Case {
        const char* name;
        const char* typed;
        RulesDecision decision;
        std::optional<std::string> typedOn;
        std::optional<std::string> language;
    } cases[] = {
        {"twin guessed", "afqks", decision(true, "файлі", Reason::LayoutMismatch), "en", std::nullopt},
        {"twin guessed, with its mark", "afqks,", decision(true, "Файлі,", Reason::LayoutMismatch), "en", std::nullopt},
        {"twin settled by the last words", "afqks", decision(true, "файлі", Reason::SessionLanguageTieBreak), "en",
         "uk"},
        {"no twin: the keys give що on both layouts", "oj", decision(true, "що", Reason::LayoutMismatch), "en", "uk"},
        {"a kept word counts as typed", "что", kept, "uk", "ru"},
        // Kept on its own layout, its keys give файлы on the Russian one,
        // 33 bands more frequent: it tells neither language.
        {"a kept word whose keys give a more frequent twin", "Файлі,", kept, "uk", std::nullopt},
        {"... its twin on its own layout", "файлы", kept, "ru", "ru"},
        {"a kept word far more frequent than its twin (дані, даны)", "дані", kept, "uk", "uk"},
        {"the layout unknown", "файлі", kept, std::nullopt, "uk"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(key(languagesOfWord(config, c.typed, c.decision, c.typedOn).vote), c.language) << c.name;
}

TEST(LayoutToFollow, OnlyAWordKeptByScoringCarriesIt) {
    const RulesConfig config = rankedConfig();
    const std::optional<std::string> uk = "uk", none;
    RulesDecision kept;
    kept.reason = Reason::CandidateScoreTooLow;
    kept.targetLanguage = "en";
    RulesDecision followed = withLayoutToFollow(config, "что", uk, nullptr, kept);
    EXPECT_FALSE(followed.shouldCorrect);
    EXPECT_EQ(followed.reason, "layout_follows_language");
    EXPECT_EQ(followed.targetLanguage, "ru");
    EXPECT_EQ(followed.sourceLanguage, "uk");
    EXPECT_FALSE(followed.correctedToken);

    EXPECT_EQ(withLayoutToFollow(config, "что", none, nullptr, kept).reason, "candidate_score_too_low");
    RulesDecision vetoed;
    vetoed.reason = Reason::NeverCorrect;
    EXPECT_EQ(withLayoutToFollow(config, "что", uk, nullptr, vetoed).reason, "never_correct");
    RulesDecision corrected = kept;
    corrected.shouldCorrect = true;
    corrected.correctedToken = "что";
    EXPECT_EQ(withLayoutToFollow(config, "что", uk, nullptr, corrected).reason, "candidate_score_too_low");
}

// что typed on the US layout reads the same on both Cyrillic layouts; the
// order of the languages gave it to Ukrainian, where it is 47 bands rarer.
TEST(TargetOfSameText, TheLayoutFollowsTheLanguageTheWordBelongsTo) {
    RulesConfig config = rankedConfig();
    config.decision.languageEvidence.sameTextLayoutRankMargin = 20;
    RulesConfig off = config;
    off.decision.languageEvidence.sameTextLayoutRankMargin = 0;
    auto correction = [](const char* text, const char* target) {
        RulesDecision d;
        d.shouldCorrect = true;
        d.correctedToken = text;
        d.reason = Reason::LayoutMismatch;
        d.sourceLanguage = "en";
        d.targetLanguage = target;
        return d;
    };
    RulesDecision kept = correction("что", "uk");
    kept.shouldCorrect = false;
    struct Case {
        const char* name;
        const RulesConfig& config;
        const char* typed;
        RulesDecision decision;
        std::initializer_list<std::pair<const char*, int>> votes;
        std::optional<std::string> target;
        const char* writtenLately = nullptr;  // in another application
    } cases[] = {
        {"far more frequent in Russian", config, "xnj", correction("что", "uk"), {}, "ru"},
        {"within the margin: the language written lately", config, "nen", correction("тут", "ru"), {}, "uk", "uk"},
        {"... not once a word here counted", config, "nen", correction("тут", "ru"), {{"en", 1}}, "ru", "uk"},
        {"... nor when the member is absent", off, "nen", correction("тут", "ru"), {}, "ru", "uk"},
        {"with a capital and its mark", config, "Xnj,", correction("Что,", "uk"), {}, "ru"},
        {"the member absent", off, "xnj", correction("что", "uk"), {}, "uk"},
        {"the last words favour the target", config, "xnj", correction("что", "uk"), {{"uk", 2}}, "uk"},
        {"only the twin margin apart (тут, 32 and 40)", config, "nen", correction("тут", "ru"), {}, "ru"},
        {"letters that differ between the layouts", config, "afqks", correction("файлі", "uk"), {}, "uk"},
        {"not a correction", config, "xnj", kept, {}, "uk"},
    };
    for (const Case& c : cases) {
        LanguageVotes votes = votesOf(c.config, c.votes);
        if (c.writtenLately) votes.written[*activeIndex(c.config, c.writtenLately)] = 4;
        const WordLanguages languages = languagesOfWord(c.config, c.typed, c.decision, "en");
        const RulesDecision out = withTargetOfSameText(c.config, languages, &votes, c.decision);
        EXPECT_EQ(out.targetLanguage, c.target) << c.name;
        EXPECT_EQ(out.correctedToken, c.decision.correctedToken) << c.name;
    }
}

}  // namespace
}  // namespace quillom::scoring
