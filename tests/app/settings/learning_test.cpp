#include "fake_settings_platform.h"
#include "settings/learning.h"
#include "settings/manual_overrides.h"

#include <gtest/gtest.h>

using namespace quillom::settings;
using namespace quillom::settings::testing;

namespace {

std::string joined(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view p : parts) s += p;
    return s;
}

class LearningTest : public ::testing::Test {
protected:
    LearningTest() {
        platform.appData = temp.path() / "Local";
        platform.exe = temp.path() / "Program" / "Quillom.exe";
        writeText(store.workingRulesPath(), R"({"thresholds":{"short":4}})");
        writeText(store.preferencesPath(), R"({"active_languages":["en","ru","uk"]})");
    }

    std::vector<std::string> pairs() const {
        JsonValue rules;
        EXPECT_TRUE(store.loadRules(rules));
        std::vector<std::string> out;
        for (const ExactPairEntry& e : listExactPairs(rules, std::vector<std::string>{"en", "ru"}))
            out.push_back(joined({e.src, ":", e.typed, "=", e.dst, ":", e.corrected}));
        return out;
    }

    std::vector<std::string> neverCorrect() const {
        JsonValue rules;
        EXPECT_TRUE(store.loadRules(rules));
        std::vector<std::string> out;
        for (const NeverCorrectEntry& e : listNeverCorrect(rules, std::vector<std::string>{"en", "ru"}))
            out.push_back(joined({e.lang, ":", e.word}));
        return out;
    }

    TempFolder temp;
    FakeSettingsPlatform platform;
    SettingsStore store{platform};
    int reloads = 0;
    ReloadEngine reload = [this] { ++reloads; };
};

TEST_F(LearningTest, SameWordCountLearnsOnePairPerChangedWord) {
    EXPECT_TRUE(learnFromConversion(store, "Ghbdtn, vbh!\r\n  OK", "Привет, мир!\r\n  OK", "", reload));
    EXPECT_EQ(reloads, 1);
    EXPECT_EQ(pairs(), (std::vector<std::string>{"en:ghbdtn=ru:привет", "en:vbh=ru:мир"}));
    JsonValue rules;
    ASSERT_TRUE(store.loadRules(rules));
    EXPECT_NE(find(rules, "thresholds"), nullptr);  // the rest of the rules file survives
}

TEST_F(LearningTest, DifferentWordCountsLearnTheWholeText) {
    EXPECT_TRUE(learnFromConversion(store, "Ghbdtn vbh", "Приветмир", "uk", reload));
    EXPECT_EQ(pairs(), (std::vector<std::string>{"en:ghbdtn vbh=uk:приветмир"}));
    EXPECT_EQ(reloads, 1);
}

TEST_F(LearningTest, NothingToLearnWritesNothing) {
    struct Case {
        const char* source;
        const char* converted;
    };
    const std::vector<Case> cases = {{"same words", "Same Words"}, {" \t\r\n", "x"}, {"", ""}, {"!!", "??"}};
    for (const Case& c : cases) {
        platform.writes = 0;
        EXPECT_FALSE(learnFromConversion(store, c.source, c.converted, "", reload)) << c.source;
        EXPECT_EQ(platform.writes, 0) << c.source;
    }
    EXPECT_EQ(reloads, 0);
}

TEST_F(LearningTest, UndoAddsTheTrimmedLowerCasedWord) {
    EXPECT_TRUE(learnFromUndo(store, " Ghbdtn\r\n", reload));
    EXPECT_TRUE(learnFromUndo(store, "ПРИВЕТ", reload));
    EXPECT_FALSE(learnFromUndo(store, " \t", reload));
    EXPECT_EQ(neverCorrect(), (std::vector<std::string>{"en:ghbdtn", "ru:привет"}));
    EXPECT_EQ(reloads, 2);
}

// A short word taken along with the corrected one, or an earlier correction read again,
// comes back in the same Undo: the word whose correction made the step is learned, not the
// two with their space, which would match no word.
TEST_F(LearningTest, UndoOfSeveralWordsLearnsTheLast) {
    EXPECT_TRUE(learnFromUndo(store, "d ujhjl", reload));
    EXPECT_TRUE(learnFromUndo(store, "Cyfhzls wtktdjuj ", reload));
    EXPECT_EQ(neverCorrect(), (std::vector<std::string>{"en:ujhjl", "en:wtktdjuj"}));
}

TEST_F(LearningTest, LearningModeOffWritesNothing) {
    writeText(store.preferencesPath(), R"({"learning_mode":false})");
    EXPECT_FALSE(learnFromUndo(store, "ghbdtn", reload));
    EXPECT_FALSE(learnFromConversion(store, "ghbdtn", "привет", "", reload));
    EXPECT_EQ(platform.writes, 0);
    EXPECT_EQ(reloads, 0);
}

TEST_F(LearningTest, UnreadableRulesAreNotReplacedByADictionaryOnlyFile) {
    writeText(store.workingRulesPath(), "{broken");
    EXPECT_FALSE(learnFromUndo(store, "ghbdtn", reload));
    EXPECT_FALSE(learnFromConversion(store, "ghbdtn", "привет", "", reload));
    EXPECT_EQ(readText(store.workingRulesPath()), "{broken");
    EXPECT_EQ(reloads, 0);
}

TEST_F(LearningTest, RulesThatCannotBeReadNowAreNotRewritten) {
    const std::string before = readText(store.workingRulesPath());
    for (int attempt = 0; attempt < 2; ++attempt) {
        platform.failingReads[store.workingRulesPath()] = 1;
        const bool saved = attempt == 0 ? learnFromUndo(store, "ghbdtn", reload)
                                        : learnFromConversion(store, "ghbdtn", "привет", "ru", reload);
        EXPECT_FALSE(saved) << attempt;
        EXPECT_EQ(readText(store.workingRulesPath()), before) << attempt;
    }
    EXPECT_EQ(reloads, 0);
}

TEST_F(LearningTest, FailedSaveDoesNotReload) {
    platform.failNextWrite = true;
    EXPECT_FALSE(learnFromUndo(store, "ghbdtn", reload));
    EXPECT_EQ(reloads, 0);
    EXPECT_TRUE(neverCorrect().empty());
}

}  // namespace
