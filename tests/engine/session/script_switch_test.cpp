#include "session/script_switch.h"

#include <gtest/gtest.h>

#include "config/packed_lexicon.h"
#include "scoring_fixture.h"

namespace quillom::session {
namespace {

RulesDecision correctionInto(const char* target, const char* text = "ви", const char* source = "en") {
    RulesDecision d;
    d.shouldCorrect = true;
    d.correctedToken = text;
    d.sourceLanguage = source;
    d.targetLanguage = target;
    d.reason = Reason::LayoutMismatch;
    d.originalScore = 10.0;
    d.candidateScore = 70.0;
    return d;
}

TEST(ScriptSwitch, AWordTypedJustAfterTheUserChangedTheScriptKeepsIt) {
    RulesConfig on = scoring::testing::makeConfig(), off = scoring::testing::makeConfig();
    on.decision.keepWordAfterScriptSwitch = true;
    const std::optional<std::string> none;
    struct Case {
        const char* name;
        const RulesConfig& config;
        std::optional<std::string> keptOn;
        std::optional<std::string> typedOn;
        const char* target;
        bool kept;
    } cases[] = {
        {"Russian word, then db on the US layout", on, "ru", "en", "ru", true},
        {"Ukrainian word, then a word corrected to Russian", on, "uk", "en", "ru", true},
        {"English word, then руку on the Russian layout", on, "en", "ru", "en", true},
        {"rules do not ask", off, "ru", "en", "ru", false},
        {"no word kept before", on, none, "en", "ru", false},
        {"the same layout as the word before", on, "en", "en", "ru", false},
        {"the other layout of the script", on, "ru", "uk", "en", false},
        {"a correction within the script", on, "en", "ru", "uk", false},
        {"layout not known", on, "ru", none, "ru", false},
    };
    for (const Case& c : cases) {
        const RulesDecision d = keptAfterScriptSwitch(c.config, c.keptOn, c.typedOn, correctionInto(c.target));
        EXPECT_EQ(d.shouldCorrect, !c.kept) << c.name;
        EXPECT_EQ(d.reason, c.kept ? Reason::ScriptSwitchedByUser : Reason::LayoutMismatch) << c.name;
        EXPECT_EQ(d.candidateScore, 70.0) << c.name;
    }
    // A listed word of four letters or more stands: a toggle pressed once too
    // often; a shorter one, or one no list holds, does not.
    EXPECT_TRUE(keptAfterScriptSwitch(on, "ru", "en", correctionInto("ru", "Привет!")).shouldCorrect);
    EXPECT_FALSE(keptAfterScriptSwitch(on, "ru", "en", correctionInto("ru", "мир")).shouldCorrect);
    EXPECT_FALSE(keptAfterScriptSwitch(on, "ru", "en", correctionInto("ru", "приве")).shouldCorrect);
    RulesDecision refusal;
    refusal.reason = Reason::TooShort;
    EXPECT_EQ(keptAfterScriptSwitch(on, "ru", "en", refusal).reason, Reason::TooShort) << "nothing to keep";
}

// makeConfig with the ranked words of the scoring tests' lexicon (что band 19
// and тут 40 in Russian, что 66 in Ukrainian, нові unranked) and runs kept.
RulesConfig runConfig(bool keepRuns) {
    RulesConfig config = scoring::testing::makeConfig();
    auto file =
        PackedLexiconFile::load(std::string(QUILLOM_SCORING_DATA_DIR) + "/twins_lexicon.bin", "dbd21c67fcaf86df");
    if (!file) throw std::logic_error("twins_lexicon.bin not readable");
    for (const char* key : {"en", "ru", "uk"}) scoring::testing::lang(config, key).packedWords = file->language(key);
    config.decision.keepScriptSwitchRun = keepRuns;
    config.decision.scriptSwitchRunMaxBand = 40;
    return config;
}

TEST(ScriptSwitch, WordsTypedLaterOnTheLayoutTheUserChangedToKeepIt) {
    const RulesConfig on = runConfig(true), off = runConfig(false);
    RulesConfig noBand = on;
    noBand.decision.scriptSwitchRunMaxBand = 0;
    RulesConfig ukrainianOnly = on;
    ukrainianOnly.activeLanguages = {"en", "uk"};
    const SwitchRun later{true, false}, joined{true, true}, noRun{false, false}, joinedNoRun{false, true};
    struct Case {
        const char* name;
        const RulesConfig& config;
        SwitchRun run;
        const char* target;
        const char* text;
        bool kept;
        const char* source = "en";
    } cases[] = {
        {"a word no list holds", on, later, "ru", "ви", true},
        {"a short listed word ranked past the band", ukrainianOnly, later, "uk", "что", true},
        {"... that the other language of its script ranks within", on, later, "uk", "что", false},
        {"a short word within the band", on, later, "ru", "что", false},
        {"a short word at the band's edge, marks after it", on, later, "ru", "Тут,", false},
        {"a short word when the rules give no band", noBand, later, "ru", "что", true},
        {"a listed word of four letters, unranked", on, later, "uk", "нові", false},
        {"a joined piece reading as a word within the band", on, joined, "ru", "что", true},
        {"a joined piece reading as a listed long word", on, joined, "uk", "нові", true},
        {"Ukrainian on the Russian layout", on, joined, "uk", "що", false, "ru"},
        {"no run", on, noRun, "ru", "ви", false},
        {"joined, but no run", on, joinedNoRun, "ru", "ви", false},
        {"rules do not ask", off, joined, "ru", "ви", false},
    };
    for (const Case& c : cases) {
        const RulesDecision d = keptInScriptSwitchRun(c.config, c.run, correctionInto(c.target, c.text, c.source));
        EXPECT_EQ(d.shouldCorrect, !c.kept) << c.name;
        EXPECT_EQ(d.reason, c.kept ? Reason::ScriptSwitchedByUser : Reason::LayoutMismatch) << c.name;
        EXPECT_EQ(d.candidateScore, 70.0) << c.name;
    }
    RulesDecision refusal;
    refusal.reason = Reason::TooShort;
    EXPECT_EQ(keptInScriptSwitchRun(on, joined, refusal).reason, Reason::TooShort) << "nothing to keep";
}

}  // namespace
}  // namespace quillom::session
