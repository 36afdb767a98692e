#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "simulation/key_tables.h"
#include "common/utf16.h"
#include "tally.h"
#include "typist.h"

namespace fs = std::filesystem;
using namespace quillom::bench;
using quillom::toUtf16;
using quillom::toUtf8;

namespace {

struct EngineDeleter {
    void operator()(qm_engine* e) const { qm_engine_destroy(e); }
};
using EnginePtr = std::unique_ptr<qm_engine, EngineDeleter>;

const KeyTables& tables() {
    static const auto t = KeyTables::load(QUILLOM_TEST_DATA_DIR "/keyboard_layouts.txt");
    return *t;
}

EnginePtr engineWith(const std::string& languages) {
    // One file per process: ctest runs these tests in parallel processes.
    const fs::path prefs =
        fs::temp_directory_path() / ("quillom-accuracy-test-" + std::to_string(::getpid()) + "-" + languages + ".json");
    std::ofstream(prefs) << "{\"active_languages\": [" << languages << "]}";
    EnginePtr engine(qm_engine_create(QUILLOM_RULES_FILE, prefs.string().c_str()));
    fs::remove(prefs);
    return engine;
}

std::vector<WordOutcome> typeText(const std::string& text, TypingPlan plan, const std::string& languages) {
    auto engine = engineWith(languages);
    std::vector<WordOutcome> out;
    Typist typist(engine.get(), tables(), std::move(plan), [&](const WordOutcome& o) { out.push_back(o); });
    typist.typeDocument({toUtf16(text)}, "test.exe");
    return out;
}

}  // namespace

TEST(KeyTables, GeneratedTableHoldsTheThreeLayouts) {
    struct Case {
        const char* layout;
        char16_t ch;
        uint32_t vk;
        bool shift;
    } cases[] = {
        {"en", u'q', 0x51, false}, {"en", u'?', 0xBF, true},  {"ru", u'х', 0xDB, false},  {"ru", u',', 0xBF, true},
        {"ru", u'Ё', 0xC0, true},  {"uk", u'і', 0x53, false}, {"uk", u'\'', 0xC0, false}, {"uk", u'Ї', 0xDD, true},
    };
    for (const auto& c : cases) {
        auto key = tables().keyFor(c.layout, c.ch);
        ASSERT_TRUE(key) << c.layout << " " << int(c.ch);
        EXPECT_EQ(key->vk, c.vk) << c.layout << " " << int(c.ch);
        EXPECT_EQ(key->shift, c.shift) << c.layout << " " << int(c.ch);
        EXPECT_EQ(tables().charFor(c.layout, *key), c.ch);
    }
    EXPECT_FALSE(tables().keyFor("ru", u'['));
    EXPECT_FALSE(tables().keyFor("de", u'a'));
    EXPECT_EQ(tables().charFor("en", {0xDB, true}), u'{');
}

TEST(KeyTables, RejectsMissingAndMalformedFiles) {
    EXPECT_FALSE(KeyTables::load("/nonexistent/keyboard_layouts.txt"));
    const fs::path bad = fs::temp_directory_path() / "quillom-bad-keys.txt";
    std::ofstream(bad) << "# header\nen 41 zz\n";
    EXPECT_FALSE(KeyTables::load(bad.string()));
}

// Every key of the generated table must map the way the rules file's en -> ru
// maps say; the engine corrects through those maps and the benchmark types
// through this table.
TEST(KeyTables, AgreesWithTheRulesFileMaps) {
    auto engine = engineWith("\"en\", \"ru\"");
    ASSERT_TRUE(engine);
    for (char16_t latin = u'a'; latin <= u'z'; ++latin) {
        auto key = tables().keyFor("en", latin);
        ASSERT_TRUE(key);
        const std::string typed = toUtf8(std::u16string(1, latin));
        char target[16] = {};
        char* converted = qm_engine_convert_selection_to(engine.get(), typed.c_str(), "ru", target, sizeof target);
        ASSERT_NE(converted, nullptr);
        EXPECT_EQ(toUtf16(converted), std::u16string(1, tables().charFor("ru", *key))) << typed;
        qm_free_string(converted);
    }
}

TEST(Typist, WrongLayoutWordsCarryTheirIntent) {
    auto words = typeText("привет, мир хорошо", {"ru", "en", Script::Cyrillic}, "\"en\", \"ru\"");
    ASSERT_EQ(words.size(), 3u);
    // The Russian comma is Shift+/ : "?" on the US layout, a boundary.
    EXPECT_EQ(words[0].typed, u"ghbdtn");
    EXPECT_EQ(words[0].intended, u"привет");
    EXPECT_TRUE(words[0].mistyped);
    EXPECT_EQ(words[2].typed, u"[jhjij");
    for (const auto& w : words) {
        EXPECT_TRUE(w.corrected) << toUtf8(w.typed) << " " << w.reason;
        EXPECT_EQ(w.output, toUtf8(w.intended));
        EXPECT_EQ(w.target, "ru");
    }
}

TEST(Typist, ShortWordBeforeACorrectionIsCorrectedWithIt) {
    auto words = typeText("в город", {"ru", "en", Script::Cyrillic}, "\"en\", \"ru\"");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].typed, u"d");
    EXPECT_EQ(words[0].output, "в");
    EXPECT_EQ(words[0].reason, "word_before");
    EXPECT_EQ(words[1].output, "город");
}

// Ukrainian typed on the US layout: the keys of ї, х, є, б give marks there,
// and the words they spell go with the corrected word after them, as one
// replacement each; with the layout never switched, every word is measured.
TEST(Typist, WordsOfMarkKeysGoWithTheCorrectionAfterThem) {
    const TypingPlan plan{"uk", "en", Script::Cyrillic};
    auto words = typeText("я їх бачу, є б тепер", plan, "\"en\", \"uk\", \"ru\"");
    ASSERT_EQ(words.size(), 6u);
    EXPECT_EQ(words[1].typed, u"][");
    EXPECT_EQ(words[4].typed, u",");
    for (std::size_t i : {0u, 1u, 3u, 4u}) {
        EXPECT_EQ(words[i].output, toUtf8(words[i].intended)) << i;
        EXPECT_EQ(words[i].reason, "word_before") << i;
    }
    EXPECT_EQ(words[2].output, "бачу");
    EXPECT_EQ(words[5].output, "тепер");
    // A short word ended by the key of the Ukrainian comma goes along with
    // the comma as the switched layout has it.
    auto comma = typeText("я, їх бачу", plan, "\"en\", \"uk\", \"ru\"");
    ASSERT_EQ(comma.size(), 3u);
    EXPECT_EQ(comma[0].typed, u"z");
    EXPECT_EQ(comma[0].output, "я");
    EXPECT_EQ(comma[0].boundaryTyped, u',');
    EXPECT_EQ(comma[1].output, "їх");
    // A bracket typed alone before a corrected word stays a bracket.
    auto bracket = typeText("[ ] привіт", plan, "\"en\", \"uk\", \"ru\"");
    ASSERT_EQ(bracket.size(), 3u);
    EXPECT_EQ(bracket[0].output, "[");
    EXPECT_EQ(bracket[1].output, "]");
    EXPECT_EQ(bracket[2].output, "привіт");
}

TEST(Typist, NumberAndQuoteBeforeACorrectionTakeTheTargetLayoutsMarks) {
    TypingPlan plan{"ru", "en", Script::Cyrillic};
    plan.followCorrections = true;
    auto words = typeText("5.1. в город", plan, "\"en\", \"ru\"");
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].typed, u"5");
    EXPECT_EQ(words[0].boundaryTyped, u'.');  // typed as "/", corrected with the words after it
    EXPECT_EQ(words[1].boundaryTyped, u'.');
    EXPECT_EQ(words[2].output, "в");
    EXPECT_EQ(words[3].output, "город");

    auto english = typeText("\" I feel good", {"en", "ru", Script::Latin}, "\"en\", \"ru\"");
    ASSERT_EQ(english.size(), 4u);
    EXPECT_EQ(english[0].typed, u"Э");
    EXPECT_EQ(english[0].output, "\"");
    EXPECT_EQ(english[1].output, "I");
    EXPECT_EQ(english[2].output, "feel");
}

TEST(Typist, CorrectionsSwitchTheLayoutWhenFollowed) {
    TypingPlan plan{"ru", "en", Script::Cyrillic};
    plan.followCorrections = true;
    auto words = typeText("город мир? hello мир", plan, "\"en\", \"ru\"");
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].typed, u"ujhjl");
    EXPECT_EQ(words[1].typed, u"мир");        // the correction switched to Russian
    EXPECT_EQ(words[1].boundaryTyped, u'?');  // Shift+7 on the Russian layout
    EXPECT_EQ(words[1].boundaryIntended, u'?');
    EXPECT_EQ(words[0].boundaryTyped, u' ');
    EXPECT_EQ(words[2].typed, u"hello");  // the user switches for Latin letters
    EXPECT_EQ(words[3].typed, u"мир");    // ... and back
}

// As the program does: a correction into Ukrainian is read again in Russian
// when the next word settles Russian, corrected or kept on the layout
// switched to; across two spaces it stays.
TEST(Typist, ACorrectionIsReadAgainWhenTheNextWordSettlesItsLanguage) {
    TypingPlan plan{"ru", "en", Script::Cyrillic};
    plan.followCorrections = true;
    struct Case {
        const char* text;
        std::vector<std::string> outputs;
        const char* reason;  // of the first word
    } cases[] = {
        {"Документы целевого", {"Документы", "целевого"}, "revised"},
        {"Недоступны новые", {"Недоступны", "новые"}, "revised"},
        {"Недоступны  новые", {"Недоступні", "новые"}, "layout_mismatch"},
        // Порядковый, more frequent in Russian than Порядковій in Ukrainian, is right at once.
        {"Порядковый номер", {"Порядковый", "номер"}, "layout_mismatch"},
    };
    for (const Case& c : cases) {
        auto words = typeText(c.text, plan, "\"en\", \"uk\", \"ru\"");
        ASSERT_EQ(words.size(), c.outputs.size()) << c.text;
        for (std::size_t i = 0; i < words.size(); ++i) EXPECT_EQ(words[i].output, c.outputs[i]) << c.text;
        EXPECT_EQ(words[0].reason, c.reason) << c.text;
    }
}

// As the program does: a guess stays open across up to three words typed on
// the layout it switched to; the word that settles Russian has the guess and
// the words between read again, each word taking its own reading. A word
// that reads the same is left as it was.
TEST(Typist, AGuessIsReadAgainWithTheWordsTypedAfterIt) {
    TypingPlan plan{"ru", "en", Script::Cyrillic};
    plan.followCorrections = true;
    struct Case {
        const char* text;
        std::vector<std::string> outputs;
        std::vector<const char*> reasons;  // "" for any other reason
    } cases[] = {
        {"Документы с передней части", {"Документы", "с", "передней", "части"}, {"revised", "", "", ""}},
        {"Документы стыкуемом вблизи врага",
         {"Документы", "стыкуемом", "вблизи", "врага"},
         {"revised", "revised", "", ""}},
        {"Документы с на по за передней",
         {"Документі", "с", "на", "по", "за", "передней"},
         {"layout_mismatch", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto words = typeText(c.text, plan, "\"en\", \"uk\", \"ru\"");
        ASSERT_EQ(words.size(), c.outputs.size());
        for (std::size_t i = 0; i < words.size(); ++i) {
            EXPECT_EQ(words[i].output, c.outputs[i]);
            if (*c.reasons[i]) {
                EXPECT_EQ(words[i].reason, c.reasons[i]);
            } else {
                EXPECT_NE(words[i].reason, "revised");
            }
        }
    }
    // Typed all on the US layout, a one-letter word after a guess still goes
    // with the word corrected after it.
    auto words = typeText("Снаряды в городе", {"ru", "en", Script::Cyrillic}, "\"en\", \"uk\", \"ru\"");
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[1].output, "в");
    EXPECT_EQ(words[2].output, "городе");
}

TEST(Typist, PunctuationKeyAfterACorrectionIsTheSwitchedLayouts) {
    struct Case {
        const char* text;
        char16_t typed, sent;
    } cases[] = {
        {"Теперь, мир", u'?', u','},
        {"город. Мир", u'/', u'.'},
        {"город! Мир", u'!', u'!'},
    };
    for (const Case& c : cases) {
        TypingPlan plan{"ru", "en", Script::Cyrillic};
        plan.followCorrections = true;
        auto words = typeText(c.text, plan, "\"en\", \"ru\"");
        ASSERT_GE(words.size(), 2u) << c.text;
        EXPECT_TRUE(words[0].corrected) << c.text;
        EXPECT_EQ(words[0].boundaryTyped, c.sent) << c.text;
        EXPECT_EQ(words[0].boundaryIntended, c.sent) << c.text;
    }
    // Without a correction the key stays what it gave.
    auto words = typeText("hello? world", {"en", "", Script::None}, "\"en\", \"ru\"");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_FALSE(words[0].corrected);
    EXPECT_EQ(words[0].boundaryTyped, u'?');
}

// The Ukrainian layout has no "/" and the Russian one no "[": the user reaches
// them some other way, and the US keys of those marks (the Ukrainian "." and
// the Russian х) never stand in for them.
TEST(Typist, MarksTheLayoutLacksArriveAsThemselves) {
    struct Case {
        const char* text;
        const char* layout;
        const char* languages;
        const char16_t* mark;
    } cases[] = {
        {"вводу/виводу", "uk", "\"en\", \"uk\", \"ru\"", u"/"},
        {"тэга [ нет", "ru", "\"en\", \"ru\"", u"["},
    };
    for (const Case& c : cases) {
        auto words = typeText(c.text, {c.layout, "", Script::None}, c.languages);
        std::u16string typed;
        for (const WordOutcome& o : words) {
            EXPECT_FALSE(o.corrected) << c.text;
            typed += o.typed;
            if (o.boundaryTyped) typed += o.boundaryTyped;
        }
        EXPECT_NE(typed.find(c.mark), std::u16string::npos) << c.text << ": " << toUtf8(typed);
    }
}

TEST(Typist, CommaKeyStaysInAnEnglishWordOnTheRussianLayout) {
    auto words = typeText("hello, world", {"en", "ru", Script::Latin}, "\"en\", \"ru\"");
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].typed, u"руддщб");
    EXPECT_EQ(words[0].intended, u"hello,");
    EXPECT_EQ(words[0].output, "hello,");
}

TEST(Typist, RightLayoutLeavesWordsAndHyphenHidesTheStart) {
    auto words = typeText("файл из-за hello", {"ru", "", Script::None}, "\"en\", \"ru\"");
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0].typed, u"файл");
    EXPECT_FALSE(words[0].mistyped);
    EXPECT_FALSE(words[0].corrected);
    EXPECT_EQ(words[1].typed, u"из");  // the hyphen ends the first part
    EXPECT_EQ(words[1].boundaryTyped, u'-');
    EXPECT_FALSE(words[1].corrected);
    EXPECT_EQ(words[2].typed, u"за");  // the rest of a part left as typed
    EXPECT_TRUE(words[2].unknownBeginning);
    EXPECT_EQ(words[3].typed, u"hello");  // Latin letters go on the US layout
    EXPECT_FALSE(words[3].corrected);
}

TEST(Tally, LengthBucketsCountLettersAndApostrophes) {
    struct Case {
        const char16_t* word;
        std::size_t bucket;
    } cases[] = {{u"a", 0},    {u"a,", 0},     {u"не", 1},     {u"its", 2},
                 {u"м'яч", 3}, {u"hello.", 4}, {u"привет", 4}, {u"корабель", 5}};
    for (const auto& c : cases) EXPECT_EQ(lengthBucket(c.word), c.bucket) << toUtf8(c.word);
}

TEST(Tally, RecallSeparatesHitsWrongCorrectionsMissesAndUnseenStarts) {
    Tally t(RunCase{"r", "ru", {"en", "ru"}, RunKind::Recall, {"ru", "en", Script::Cyrillic}, false});
    auto outcome = [](const char16_t* intended, const char16_t* typed, const char* output, bool corrected,
                      bool unknown = false) {
        WordOutcome o;
        o.intended = intended;
        o.typed = typed;
        o.output = output;
        o.corrected = corrected;
        o.unknownBeginning = unknown;
        o.mistyped = o.intended != o.typed;
        return o;
    };
    t.add(outcome(u"привет", u"ghbdtn", "привет", true));
    t.add(outcome(u"файлы", u"afqks", "файлі", true));
    t.add(outcome(u"уже", u"e;t", "e;t", false));
    t.add(outcome(u"за", u"pf", "pf", false, true));
    t.add(outcome(u"123", u"123", "123", false));  // no letters: not a word
    EXPECT_EQ(t.buckets()[4].words, 2);
    EXPECT_EQ(t.buckets()[4].hits, 1);
    EXPECT_EQ(t.buckets()[4].wrong, 1);
    EXPECT_EQ(t.buckets()[2].words, 1);
    EXPECT_EQ(t.buckets()[2].hits, 0);
    EXPECT_EQ(t.unknownBeginning(), 1);
    EXPECT_EQ(t.headline().words, 3);
    EXPECT_EQ(t.topWrong(5).size(), 1u);
    EXPECT_EQ(t.topFaults(5).size(), 1u);
}

TEST(Tally, FalsePositivesCountOnlyChangedWords) {
    Tally t(RunCase{"f", "en", {"en", "ru"}, RunKind::FalsePositives, {"en", "", Script::None}, false});
    WordOutcome kept;
    kept.intended = kept.typed = u"hello";
    kept.output = "hello";
    WordOutcome changed = kept;
    changed.typed = changed.intended = u"pdf";
    changed.output = "зва";
    changed.corrected = true;
    t.add(kept);
    t.add(changed);
    EXPECT_EQ(t.total().words, 2);
    EXPECT_EQ(t.total().changed, 1);
    ASSERT_EQ(t.topFaults(3).size(), 1u);
    EXPECT_EQ(t.topFaults(3)[0].first.rfind("pdf -> зва", 0), 0u);
}
