#include "session/script_switch.h"

#include <gtest/gtest.h>

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

// A piece joined by a mark to the word before, in a run of words kept since
// the user changed the script, stays whatever it reads as; a word apart, or
// a piece with no such run before it, decides as it stands.
TEST(ScriptSwitch, APieceJoinedToAWordKeptAfterTheSwitchKeepsIt) {
    RulesConfig on = scoring::testing::makeConfig(), off = scoring::testing::makeConfig();
    on.decision.keepJoinedPieceAfterScriptSwitch = true;
    const SwitchRun joined{true, true}, apart{true, false}, noRun{false, true};
    struct Case {
        const char* name;
        const RulesConfig& config;
        SwitchRun run;
        const char* target;
        const char* text;
        bool kept;
        const char* source = "en";
    } cases[] = {
        {"a piece reading as no word", on, joined, "ru", "ви", true},
        {"a piece reading as a listed word", on, joined, "ru", "Привет!", true},
        {"a word apart", on, apart, "ru", "ви", false},
        {"no run before it", on, noRun, "ru", "ви", false},
        {"Ukrainian on the Russian layout", on, joined, "uk", "що", false, "ru"},
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
