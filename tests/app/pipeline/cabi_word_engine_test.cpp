#include <gtest/gtest.h>

#include "pipeline/engine_port.h"
#include "common/utf16.h"

namespace quillom::pipeline {
namespace {

const std::string kData = QUILLOM_TEST_DATA_DIR;

TEST(CabiWordEngine, RulesThatCannotBeLoadedGiveNoEngine) {
    EXPECT_EQ(createCabiWordEngine(kData + "/missing.json", kData + "/missing_prefs.json"), nullptr);
    EXPECT_EQ(createCabiWordEngine(kData + "/array_rules.json", ""), nullptr);
}

TEST(CabiWordEngine, MinimalRulesGiveAWorkingEngine) {
    std::unique_ptr<WordEngine> engine =
        createCabiWordEngine(kData + "/empty_rules.json", kData + "/prefs_all_languages.json");
    ASSERT_NE(engine, nullptr);
    Decision v = engine->evaluate({"ghbdtn", "notepad.exe", "en", false});
    EXPECT_FALSE(v.reason.empty()) << "every evaluation names its reason";
    engine->resetContext();
}

// The shipped rules correct the word of the overview through the adapter.
TEST(CabiWordEngine, ShippedRulesCorrectAndConvert) {
    std::unique_ptr<WordEngine> engine = createCabiWordEngine(QUILLOM_RULES_FILE, kData + "/prefs_all_languages.json");
    if (!engine) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    Decision v = engine->evaluate({"ghbdtn", "notepad.exe", "en", false});
    EXPECT_TRUE(v.shouldCorrect);
    EXPECT_EQ(v.corrected, "привет");
    EXPECT_EQ(v.targetLang, "ru");
    Conversion c = engine->convertSelection("ghbdtn", "ru");
    EXPECT_EQ(c.text, "привет");
    EXPECT_EQ(c.targetLang, "ru");
}

TEST(Utf16, RoundTripsAndReplacesBrokenText) {
    EXPECT_EQ(toUtf16("привет \xF0\x9F\x98\x80"), u"привет \U0001F600");
    EXPECT_EQ(toUtf8(u"привет \U0001F600"), "привет \xF0\x9F\x98\x80");
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800)) + u"a"),
              "\xEF\xBF\xBD"
              "a");
    EXPECT_EQ(toUtf16("\xFF"
                      "a"),
              u"\uFFFDa");
}

}  // namespace
}  // namespace quillom::pipeline
