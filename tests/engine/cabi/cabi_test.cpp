// The C interface, through the public headers only.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>

#include "quillom.hpp"

namespace {

using Engine = quillom::cabi::EnginePtr;
using Owned = quillom::cabi::OwnedString;

const std::string kRules = std::string(QUILLOM_TEST_DATA_DIR) + "/small_rules.json";

class TempDir {
public:
    TempDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("quillom-cabi-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return (path_ / name).string();
    }
    std::string path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

struct Result {
    int32_t shouldCorrect = -1;
    double confidence = -1;
    std::string text;
    std::string target;
    std::string reason;
};

Result evaluateContext(qm_engine* e, const char* word, const char* app = "app.exe", const char* source = "en",
                       int32_t unknownBeginning = 0) {
    Result r;
    char target[16] = "garbage";
    char reason[64] = "garbage";
    Owned s(qm_engine_evaluate_context(e, word, app, source, unknownBeginning, &r.shouldCorrect, &r.confidence, target,
                                       sizeof target, reason, sizeof reason));
    EXPECT_NE(s, nullptr);
    r.text = s ? s.get() : "";
    r.target = target;
    r.reason = reason;
    return r;
}

class CInterface : public ::testing::Test {
protected:
    Engine create(const std::string& prefsText = R"({"active_languages": ["en", "ru", "uk"]})") {
        return Engine(qm_engine_create(kRules.c_str(), dir_.write("prefs.json", prefsText).c_str()));
    }
    // The shipped rules file for a Russian user, or for another set of languages.
    Engine createShipped(const char* languages = R"(["en", "ru"])") {
        return Engine(qm_engine_create(
            QUILLOM_RULES_FILE,
            dir_.write("prefs.json", std::string(R"({"active_languages": )") + languages + "}").c_str()));
    }
    TempDir dir_;
};

TEST_F(CInterface, CreationNeedsAReadableJsonObject) {
    EXPECT_EQ(Engine(qm_engine_create(dir_.path("missing.json").c_str(), dir_.path("p.json").c_str())), nullptr);
    for (const char* text : {"[]", "\"x\"", "{", "", "{} x"})
        EXPECT_EQ(Engine(qm_engine_create(dir_.write("r.json", text).c_str(), dir_.path("p.json").c_str())), nullptr)
            << text;
    Engine empty(qm_engine_create(dir_.write("r.json", "{}").c_str(), dir_.path("p.json").c_str()));
    ASSERT_NE(empty, nullptr);
    // All defaults: no languages, so nothing has a script.
    EXPECT_EQ(evaluateContext(empty.get(), "ghbdtn").reason, "unknown_script");
    EXPECT_EQ(Engine(qm_engine_create(nullptr, "p")), nullptr);
}

// A rules file that names a packed lexicon: the engine reads it from the rules
// file's folder, and will not run without it.
class PackedLexiconFile : public CInterface {
protected:
    std::string rulesNaming(const std::string& member) {
        std::ifstream in(kRules, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return dir_.write("rules.json", "{\"packed_lexicon\": " + member + "," + text.substr(text.find('{') + 1));
    }
    void copyLexicon(const std::string& name) {
        std::filesystem::copy_file(std::string(QUILLOM_TEST_DATA_DIR) + "/../../config/data/small_lexicon.bin",
                                   dir_.path(name), std::filesystem::copy_options::overwrite_existing);
    }
    Engine createWith(const std::string& rules) {
        return Engine(
            qm_engine_create(rules.c_str(), dir_.write("prefs.json", R"({"active_languages": ["en", "ru"]})").c_str()));
    }
};

TEST_F(PackedLexiconFile, ItsWordsAreCorrectedTo) {
    copyLexicon("lexicon.bin");
    EXPECT_EQ(createWith(rulesNaming("{}")), nullptr);  // a member without a file name
    Engine e = createWith(rulesNaming(R"({"file": "lexicon.bin", "id": "50a5c6be7ff0b352"})"));
    ASSERT_NE(e, nullptr);
    const Result r = evaluateContext(e.get(), "dlheu");
    EXPECT_EQ(r.shouldCorrect, 1);
    EXPECT_EQ(r.text, "вдруг");
    Engine without = create();
    EXPECT_NE(evaluateContext(without.get(), "dlheu").text, "вдруг");
}

TEST_F(PackedLexiconFile, AMissingOrForeignLexiconStopsCreation) {
    copyLexicon("lexicon.bin");
    std::filesystem::create_directory(dir_.path("sub"));
    copyLexicon("sub/lexicon.bin");
    for (const char* member :
         {R"({"file": "absent.bin", "id": "50a5c6be7ff0b352"})", R"({"file": "lexicon.bin", "id": "0000000000000000"})",
          R"({"file": "lexicon.bin"})", R"({"file": "sub/lexicon.bin", "id": "50a5c6be7ff0b352"})",
          R"({"file": "", "id": "50a5c6be7ff0b352"})", "null", "[]", R"(["lexicon.bin", "50a5c6be7ff0b352"])",
          "\"lexicon.bin\"", "0", R"({"file": 1, "id": "50a5c6be7ff0b352"})"})
        EXPECT_EQ(createWith(rulesNaming(member)), nullptr) << member;
}

TEST_F(CInterface, NoPreferencesPathMeansDefaults) {
    Engine e(qm_engine_create(kRules.c_str(), nullptr));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(evaluateContext(e.get(), "ghbdtn").reason, "no_target_language");  // English only
}

// A word past QM_MAX_WORD_BYTES is refused at once, with a reason of its
// own; one at the limit is scored as before. (Before the buffers grew
// geometrically, a 1 MiB word took minutes; the limit here is generous,
// bench/engine measures the real time.)
TEST_F(CInterface, OverLongWordsAreRefusedAtOnce) {
    Engine e = create();
    const std::string atLimit(QM_MAX_WORD_BYTES, 'g'), mebibyte(1 << 20, 'g');
    EXPECT_NE(evaluateContext(e.get(), atLimit.c_str()).reason, "input_too_long");
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& word : {atLimit + "g", mebibyte, std::string(1 << 20, '\xd0')}) {
        const Result r = evaluateContext(e.get(), word.c_str());
        EXPECT_EQ(r.reason, "input_too_long");
        EXPECT_EQ(r.shouldCorrect, 0);
        EXPECT_EQ(r.text, "");
        Owned before(qm_engine_correct_word_before(e.get(), word.c_str(), "ghbdtn", "ru"));
        ASSERT_NE(before, nullptr);
        EXPECT_STREQ(before.get(), "");
        Owned after(qm_engine_correct_word_before(e.get(), "j", word.c_str(), "ru"));
        ASSERT_NE(after, nullptr);
        EXPECT_STREQ(after.get(), "");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    // The session goes on after a refused word.
    EXPECT_EQ(evaluateContext(e.get(), "ghbdtn").text, "привет");
}

TEST_F(CInterface, CorrectsAWrongLayoutWord) {
    Engine e = create();
    ASSERT_NE(e, nullptr);
    const Result r = evaluateContext(e.get(), "ghbdtn");
    EXPECT_EQ(r.shouldCorrect, 1);
    EXPECT_EQ(r.text, "привет");
    EXPECT_EQ(r.target, "ru");
    EXPECT_GT(r.confidence, 0.82);
    EXPECT_FALSE(r.reason.empty());
}

TEST_F(CInterface, MissingPreferencesMeanEnglishOnly) {
    Engine e(qm_engine_create(kRules.c_str(), dir_.path("absent.json").c_str()));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(evaluateContext(e.get(), "ghbdtn").reason, "no_target_language");
    Engine bad(qm_engine_create(kRules.c_str(), dir_.write("bad.json", "[1]").c_str()));
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(evaluateContext(bad.get(), "ghbdtn").shouldCorrect, 0);
}

TEST_F(CInterface, ManualOverridesOfTheRulesFile) {
    Engine e = create();
    const Result pair = evaluateContext(e.get(), "Rfr");
    EXPECT_EQ(pair.shouldCorrect, 1);
    EXPECT_EQ(pair.text, "Как");
    EXPECT_EQ(pair.reason, "exact_seed_pair");
    EXPECT_EQ(pair.target, "ru");  // the pair's recorded target
    EXPECT_DOUBLE_EQ(pair.confidence, 0.99);
    const Result never = evaluateContext(e.get(), "vbh");
    EXPECT_EQ(never.shouldCorrect, 0);
    EXPECT_EQ(never.reason, "never_correct");
    EXPECT_EQ(never.text, "");
}

TEST_F(CInterface, UnknownBeginningIsProtectedByDefault) {
    Engine e = create();
    const Result r = evaluateContext(e.get(), "ghbdtn", "app.exe", "en", 1);
    EXPECT_EQ(r.shouldCorrect, 0);
    EXPECT_EQ(r.confidence, 0.0);
    EXPECT_EQ(r.reason, "unknown_word_beginning");
    EXPECT_EQ(r.target, "");
    EXPECT_EQ(r.text, "");
    Engine open = create(R"({"active_languages": ["en", "ru"], "protect_endings_after_delete": false})");
    EXPECT_EQ(evaluateContext(open.get(), "ghbdtn", "app.exe", "en", 1).text, "привет");
}

TEST_F(CInterface, ExcludedApplicationsCompareCaseInsensitively) {
    Engine e = create(R"({"active_languages": ["en", "ru"], "excluded_apps": {"NOTEPAD.EXE": {"name": "Notepad"}}})");
    const Result r = evaluateContext(e.get(), "ghbdtn", "notepad.exe");
    EXPECT_EQ(r.shouldCorrect, 0);
    EXPECT_EQ(r.reason, "excluded_app");
    EXPECT_EQ(evaluateContext(e.get(), "ghbdtn", "other.exe").shouldCorrect, 1);
}

TEST_F(CInterface, BuffersAreCutByBytesAndSkippedWhenEmpty) {
    Engine e = create();
    int32_t should = 0;
    double conf = 0;
    char one[1] = {'x'};
    char untouched[4] = {'a', 'b', 'c', '\0'};
    char two[2] = {'x', 'x'};
    Owned s(qm_engine_evaluate_context(e.get(), "ghbdtn", "a", "en", 0, &should, &conf, one, 1, untouched, 0));
    EXPECT_EQ(one[0], '\0');
    EXPECT_STREQ(untouched, "abc");
    Owned t(qm_engine_evaluate_context(e.get(), "ghbdtn", "a", "en", 0, &should, &conf, two, 2, nullptr, 64));
    EXPECT_STREQ(two, "r");
    qm_free_string(nullptr);
}

TEST_F(CInterface, ContextFreeEvaluationLeavesTheSessionAlone) {
    Engine e = create();
    int32_t should = -1;
    double conf = -1;
    char target[16], reason[64];
    Owned s(qm_engine_evaluate(e.get(), "ghbdtn", "app.exe", &should, &conf, target, 16, reason, 64));
    EXPECT_EQ(should, 1);
    EXPECT_STREQ(s.get(), "привет");
}

TEST_F(CInterface, InvalidUtf8NeverCrashes) {
    Engine e = create();
    // Invalid sequences are read as U+FFFD: a correction carries it, never the raw bytes.
    for (const char* word : {"\xFF\xFE", "gh\xC3", "\xED\xA0\x80", "\xF4\x90\x80\x80x", "a\xE2\x82"}) {
        const Result r = evaluateContext(e.get(), word, "\xC0\xAF", "\xFF");
        EXPECT_FALSE(r.reason.empty()) << word;
        if (r.shouldCorrect) {
            EXPECT_NE(r.text.find("\xEF\xBF\xBD"), std::string::npos) << word;
        } else {
            EXPECT_EQ(r.text, "") << word;
        }
    }
    char lang[16];
    Owned converted(qm_engine_convert_selection(e.get(), "gh\xC3", nullptr, lang, sizeof lang));
    EXPECT_STREQ(converted.get(), "\xD0\xBF\xD1\x80\xEF\xBF\xBD");
}

// A repaired word decides exactly as the same word typed with U+FFFD.
TEST_F(CInterface, InvalidBytesDecideAsTheirReplacement) {
    Engine e = create();
    const std::pair<const char*, const char*> cases[] = {
        {"ghbdtn\xFF", "ghbdtn\xEF\xBF\xBD"},
        {"\xC3ghbdtn", "\xEF\xBF\xBDghbdtn"},
        {"ghb\xE2\x82", "ghb\xEF\xBF\xBD"},
    };
    for (const auto& [invalid, replaced] : cases) {
        const Result a = evaluateContext(e.get(), invalid, "app\xFF.exe");
        const Result b = evaluateContext(e.get(), replaced, "app\xEF\xBF\xBD.exe");
        EXPECT_EQ(a.shouldCorrect, b.shouldCorrect) << replaced;
        EXPECT_EQ(a.text, b.text) << replaced;
        EXPECT_EQ(a.reason, b.reason) << replaced;
        EXPECT_EQ(a.target, b.target) << replaced;
    }
}

// The wrapper's evaluation without context reports what the C function does.
TEST_F(CInterface, WrapperEvaluatesWithoutContext) {
    Engine e = create();
    const quillom::cabi::Decision d = quillom::cabi::evaluate(e.get(), "ghbdtn", "app.exe");
    EXPECT_TRUE(d.shouldCorrect);
    EXPECT_EQ(d.corrected, "привет");
    EXPECT_EQ(d.targetLang, "ru");
    EXPECT_EQ(d.reason, "layout_mismatch");
    EXPECT_GT(d.confidence, 0.82);
    const quillom::cabi::Decision plain = quillom::cabi::evaluate(e.get(), "hello", "app.exe");
    EXPECT_FALSE(plain.shouldCorrect);
    EXPECT_EQ(plain.corrected, "");
}

TEST_F(CInterface, SelectionConversion) {
    Engine e = create(R"({"active_languages": ["en", "uk", "ru"]})");
    char lang[16] = "zz";
    Owned smart(qm_engine_convert_selection(e.get(), "ghbdtn vbh", nullptr, lang, sizeof lang));
    EXPECT_STREQ(smart.get(), "привет мир");
    EXPECT_STREQ(lang, "ru");
    Owned back(qm_engine_convert_selection(e.get(), "руддщ", "ru", lang, sizeof lang));
    EXPECT_STREQ(back.get(), "hello");
    EXPECT_STREQ(lang, "en");
    Owned to(qm_engine_convert_selection_to(e.get(), "ghbdsn", "uk", lang, sizeof lang));
    EXPECT_STREQ(to.get(), "привіт");
    EXPECT_STREQ(lang, "uk");
}

TEST_F(CInterface, ShortWordBeforeACorrectedWord) {
    Engine e = create();
    auto before = [&](const char* previous, const char* token, const char* target) {
        Owned s(qm_engine_correct_word_before(e.get(), previous, token, target));
        EXPECT_NE(s, nullptr);
        return std::string(s ? s.get() : "(null)");
    };
    EXPECT_EQ(before("d", "vbh", "ru"), "в");     // в мир
    EXPECT_EQ(before("D", "vbh", "ru"), "В");     // the case is kept
    EXPECT_EQ(before("yf", "vbh", "ru"), "на");   // two letters
    EXPECT_EQ(before("Ш", "руддщ", "en"), "I");   // Cyrillic keys before an English word
    EXPECT_EQ(before("ы", "ыфвщл", "uk"), "і");   // the Russian layout's key for the Ukrainian і
    EXPECT_EQ(before("x", "vbh", "ru"), "");      // ч is no Russian word
    EXPECT_EQ(before("yfd", "vbh", "ru"), "");    // three letters: a word of its own
    EXPECT_EQ(before("d,", "vbh", "ru"), "");     // not all letters
    EXPECT_EQ(before("в", "vbh", "ru"), "");      // another script than the corrected word
    EXPECT_EQ(before("d", "vbh", "de"), "");      // no such language
    EXPECT_EQ(before("Э", "руддщ", "en"), "\"");  // the quote key of the US layout
    EXPECT_EQ(before("э", "руддщ", "en"), "'");
    EXPECT_EQ(before("Эю", "руддщ", "en"), "");  // ". is no word
    EXPECT_EQ(qm_engine_correct_word_before(nullptr, "d", "vbh", "ru"), nullptr);
}

// Keys that give marks on the US layout and letters on the Cyrillic ones:
// alone before a word corrected to Cyrillic they are the short word they
// spell there; brackets and the full stop alone stay marks.
// A short word ended by a punctuation key goes along with that key's mark.
TEST_F(CInterface, MarkKeysBeforeACorrectedWordSpellTheirWord) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* previous;
        const char* token;
        const char* target;
        const char* expected;
    } cases[] = {
        {"][", ",fxe", "uk", "їх"},
        {"]]", ",fxe", "uk", "її"},
        {"}[", ",fxe", "uk", "Їх"},
        {"'", "ntgth", "uk", "є"},
        {";", "ntgth", "uk", "ж"},
        {",", "ntgth", "uk", "б"},
        {"\"", "ntgth", "uk", "Є"},
        {";", "ghbdtn", "ru", "ж"},
        {",", "ghbdtn", "ru", "б"},
        {"][", "ghbdtn", "ru", ""},  // ъх is no Russian word
        {"[", "ghbdtn", "ru", ""},   // a bracket alone
        {"]", ",fxe", "uk", ""},     // ї, alone
        {".", "ghbdtn", "ru", ""},   // a full stop alone
        {">", "ghbdtn", "ru", ""},   // mail's quoting
        {"`", "ghbdtn", "ru", ""},   // code
        {"d;", "ghbdtn", "ru", ""},  // вж is no word
        {";;;", "ntgth", "uk", ""},  // longer than a short word
        {"][", "руддщ", "en", ""},   // the corrected word was typed on a Cyrillic layout
        {"][", "ntgth", "de", ""},   // no such language
        // A word ended by a punctuation key takes the mark of that key in target.
        {"b?", "ghbdtn", "ru", "и,"},
        {"D/", "ghbdtn", "ru", "В."},
        {"z^", ",fxe", "uk", "я:"},
        {"I?", "ghbdtn", "ru", ""},  // ш is no word
    };
    for (const Case& c : cases) {
        Owned s(qm_engine_correct_word_before(e.get(), c.previous, c.token, c.target));
        ASSERT_NE(s, nullptr) << c.previous;
        EXPECT_STREQ(s.get(), c.expected) << c.previous << " before " << c.token;
    }
}

// A comma or semicolon glued before the letters, or an opening bracket after
// them, is no English writing: typed on the US layout those keys are letters,
// and the English word the other letters spell does not keep the word, nor
// are the letters too few for a guess. Marks where English puts them leave it.
TEST_F(CInterface, LetterKeysWhereEnglishPutsNoMarkAreLetters) {
    Engine e = createShipped();
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* typed;
        const char* expected;  // empty: kept
    } cases[] = {
        {";le", "жду"},
        {",then", "берут"},
        {"le[", "дух"},
        {";len", "ждут"},
        {"then,", ""},
        {"then;", ""},
        {"[then", ""},
        {"then]", ""},
        {"'then", ""},
        {"args[", ""},
        {"]the", ""},
        // Two letters and such a mark are enough for a guess of the layout.
        {"wt[", "цех"},
        {"vt[", "мех"},
        {"buf[", ""},
        {"id[", ""},
        {"val[", ""},
    };
    for (const Case& c : cases) {
        const quillom::cabi::Decision d = quillom::cabi::evaluate(e.get(), c.typed, "app.exe");
        EXPECT_EQ(d.corrected, c.expected) << c.typed << " (" << d.reason << ")";
    }
}

// The quote key is Э on the Russian layout: before a letter that is no word
// of its own it makes the frequent word the two keys spell ("q is Эй); an
// English quotation opening on a word or a capital stays.
TEST_F(CInterface, QuoteKeyBeforeALetterSpellsItsWord) {
    Engine e = createShipped();
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* typed;
        const char* expected;  // empty: kept
    } cases[] = {
        {"\"q", "Эй"}, {"\"Q", ""}, {"\"a", ""}, {"\"I", ""}, {"\"x", ""},  // Эч is no word
    };
    for (const Case& c : cases) {
        const quillom::cabi::Decision d = quillom::cabi::evaluate(e.get(), c.typed, "app.exe");
        EXPECT_EQ(d.corrected, c.expected) << c.typed << " (" << d.reason << ")";
    }
}

// Ukrainian writes the apostrophe (the grave accent's key) inside words: a
// word with one whose last key is the full stop's (ю) is known as a whole.
TEST_F(CInterface, AWordWithAnApostropheEndingInALetterKeyIsKnown) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    for (auto [typed, expected] : {std::pair{"csv`.", "сім'ю"}, {"gjdscnm.", "повість."}}) {
        const quillom::cabi::Decision d = quillom::cabi::evaluate(e.get(), typed, "app.exe");
        EXPECT_EQ(d.corrected, expected) << typed << " (" << d.reason << ")";
    }
}

// With Russian and Ukrainian both active, a selection typed on the US layout
// goes to the language that alone, or far more often, reads its words as
// words, not to the first one listed.
TEST_F(CInterface, SelectionGoesToTheLanguageItsWordsBelongTo) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* typed;
        const char* expected;
        const char* language;
    } cases[] = {
        {"Gthdsq afqk", "Первый файл", "ru"},  // первій is a rare Ukrainian form
        {"Gthibq afqk", "Перший файл", "uk"},
        {"Ghbdtn vbh", "Привет мир", "ru"},
        {"Ghbdsn cdsn", "Привіт світ", "uk"},
        {"Yfcnhjqrb ,hfepthf", "Настройки браузера", "ru"},  // б and ю keys inside words
        // The key of ё is the apostrophe in Ukrainian: the readings split into
        // different words, and each piece between spaces is still compared.
        {"Tuj gthcjyfk ,skb v`hnd/", "Его персонал были мёртв.", "ru"},
        {"Dct juytv`ns fdnjvfnbxtcrb ekexitys", "Все огнемёты автоматически улучшены", "ru"},
        {"Dctuj^ |", "Всего: /", "ru"},  // | is the Russian "/" and the Ukrainian Ґ
        {"Pyfxtyyz^ ` ` Gjgthtly'^ ` `", "Значення: ' ' Попереднє: ' '", "uk"},
    };
    for (const Case& c : cases) {
        char lang[8] = {};
        Owned s(qm_engine_convert_selection(e.get(), c.typed, nullptr, lang, sizeof lang));
        ASSERT_NE(s, nullptr) << c.typed;
        EXPECT_EQ(std::string(s.get()), c.expected) << c.typed;
        EXPECT_STREQ(lang, c.language) << c.typed;
    }
}

// With Russian and Ukrainian both active, a Russian word typed on the
// Ukrainian layout that reads the same there is kept, and the layout is to
// follow to Russian; typed on the Russian layout it is just kept.
TEST_F(CInterface, AWordOfOneCyrillicLanguageTypedOnTheOthersLayoutAsksForItsLayout) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    Result onUkrainian = evaluateContext(e.get(), "где", "a.exe", "uk");
    EXPECT_EQ(onUkrainian.shouldCorrect, 0);
    EXPECT_EQ(onUkrainian.reason, "layout_follows_language");
    EXPECT_EQ(onUkrainian.target, "ru");
    EXPECT_NE(evaluateContext(e.get(), "где", "b.exe", "ru").reason, "layout_follows_language");
    // Frequent words of both languages ask for neither layout, whatever
    // their rank bands say.
    for (const char* both : {"на", "до"}) {
        qm_engine_reset_context(e.get());
        EXPECT_NE(evaluateContext(e.get(), both, "c.exe", "ru").reason, "layout_follows_language") << both;
    }
    qm_engine_reset_context(e.get());
    EXPECT_EQ(evaluateContext(e.get(), "що", "c.exe", "ru").target, "uk") << "a Ukrainian word all the same";
    Engine russianOnly = createShipped();
    EXPECT_NE(evaluateContext(russianOnly.get(), "где", "a.exe", "uk").reason, "layout_follows_language")
        << "Ukrainian is not active";
}

// теперь typed on the US layout reads the same on both Cyrillic layouts: the
// layout goes to Russian, the language of the word, not to the first
// Cyrillic language of the list.
TEST_F(CInterface, ACorrectionReadingAlikeInBothCyrillicLanguagesSwitchesToItsOwn) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    Result now = evaluateContext(e.get(), "ntgthm", "a.exe", "en");
    EXPECT_EQ(now.text, "теперь");
    EXPECT_EQ(now.target, "ru");
    Result ukrainian = evaluateContext(e.get(), "ntgth", "b.exe", "en");
    EXPECT_EQ(ukrainian.text, "тепер");
    EXPECT_EQ(ukrainian.target, "uk");
}

// Командир reads the same in both and is as frequent in each: at the start of
// a text it goes to the Cyrillic language the user has lately written mostly,
// in any application and across a reset; by the order of the languages
// before that.
TEST_F(CInterface, ATextStartGoesToTheCyrillicLanguageWrittenLately) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    EXPECT_EQ(evaluateContext(e.get(), "Rjvfylbh", "a.exe", "en").target, "uk");
    for (const char* word : {"что", "где", "когда", "было"}) evaluateContext(e.get(), word, "b.exe", "ru");
    qm_engine_reset_context(e.get());
    Result after = evaluateContext(e.get(), "Rjvfylbh", "c.exe", "en");
    EXPECT_EQ(after.text, "Командир");
    EXPECT_EQ(after.target, "ru");
    // Документі is listed 6 bands before Документы: no match for what the
    // user has been writing.
    EXPECT_EQ(evaluateContext(e.get(), "Ljrevtyns", "g.exe", "en").text, "Документы");
    evaluateContext(e.get(), "що", "d.exe", "uk");
    EXPECT_EQ(evaluateContext(e.get(), "Rjvfylbh", "e.exe", "en").target, "ru") << "one Ukrainian word among Russian";
    for (const char* word : {"коли", "який", "дуже", "тобто"}) evaluateContext(e.get(), word, "d.exe", "uk");
    EXPECT_EQ(evaluateContext(e.get(), "Rjvfylbh", "f.exe", "en").target, "uk") << "as much Ukrainian: the order";
}

// What the user has lately written weighs against words that tell little:
// тихо reads the same in both Cyrillic languages, 17 bands more often in
// Russian, and counts as a Russian word unless the user writes Ukrainian;
// then выдкриваючи, no Russian word, typed on the Russian layout is
// відкриваючи. And Командир, a text start sent to Russian for one who writes
// Russian, keeps гаубицы typed on that layout, though Ukrainian lists
// гаубиці 11 bands before it.
TEST_F(CInterface, WordsThatTellLittleDoNotOutweighTheCyrillicLanguageWrittenLately) {
    const char* const russianWords[] = {"что", "где", "когда", "было"};
    const char* const ukrainianWords[] = {"коли", "який", "дуже", "тобто"};
    struct Case {
        const char* name;
        const char* const* written;
        const char* layout;  // of the words written
        const char* first;
        const char* firstLayout;
        const char* word;      // typed on the Russian layout
        const char* expected;  // "" when the word stays
    } cases[] = {
        {"тихо: a Russian word", nullptr, "", "тихо", "ru", "выдкриваючи", ""},
        {"тихо: no sign for one who writes Ukrainian", ukrainianWords, "uk", "тихо", "ru", "выдкриваючи",
         "відкриваючи"},
        {"Командир for one who writes Russian", russianWords, "ru", "Rjvfylbh", "en", "гаубицы", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Engine e = createShipped(R"(["en", "uk", "ru"])");
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        if (c.written)
            for (int i = 0; i < 4; ++i) evaluateContext(e.get(), c.written[i], "b.exe", c.layout);
        Result first = evaluateContext(e.get(), c.first, "a.exe", c.firstLayout);
        if (first.shouldCorrect) {
            EXPECT_EQ(first.target, "ru");
        }
        Result r = evaluateContext(e.get(), c.word, "a.exe", "ru");
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.shouldCorrect, *c.expected ? 1 : 0);
    }
}

// Галеоны and Перцептуальный are missing from the Russian dictionary; their
// keys read as rare Ukrainian words. For one who writes Russian they are the
// Russian forms, as for a Russian-only user; for a fresh user of en,uk,ru the
// Ukrainian words.
TEST_F(CInterface, AFormTheDictionaryLacksGoesToTheLanguageWrittenLatelyAgainstARareTwin) {
    for (const auto& [typed, russian, ukrainian] : {std::tuple{"Ufktjys", "Галеоны", "Галеоні"},
                                                    std::tuple{"Gthwtgnefkmysq", "Перцептуальный", "Перцептуальній"}}) {
        Engine e = createShipped(R"(["en", "uk", "ru"])");
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        EXPECT_EQ(evaluateContext(e.get(), typed, "a.exe", "en").text, ukrainian);
        for (const char* word : {"что", "где", "когда", "было"}) evaluateContext(e.get(), word, "b.exe", "ru");
        Result r = evaluateContext(e.get(), typed, "c.exe", "en");
        EXPECT_EQ(r.text, russian);
        EXPECT_EQ(r.target, "ru");
        Engine russianOnly = createShipped();
        EXPECT_EQ(evaluateContext(russianOnly.get(), typed, "a.exe", "en").text, russian);
    }
}

// A word typed on the US layout right after a Russian word kept as typed on
// the Russian layout: the user changed the layout by hand to type it, and it
// stays, unless it reads as a listed word of four letters or more (a toggle
// pressed once too often). The next word on that layout (the user may have
// forgotten to change back), a correction before it whose layout switch the
// window did not take, or a click between decide as before.
TEST_F(CInterface, AWordTypedJustAfterTheUserChangedTheScriptStays) {
    struct Step {
        const char* word;
        const char* layout;
    };
    struct Case {
        const char* name;
        std::vector<Step> before;
        bool click;  // the context reset before the word
        Step word;
        const char* expected;  // "" when the word stays
        const char* languages = nullptr;
    } cases[] = {
        {"an abbreviation", {{"файле", "ru"}}, false, {"db", "en"}, ""},
        {"letters read as no word", {{"файле", "ru"}}, false, {"dbndns", "en"}, ""},
        {"a word of four letters", {{"файле", "ru"}}, false, {"ujhjl", "en"}, "город"},
        {"the second word on that layout", {{"файле", "ru"}, {"db", "en"}}, false, {"db", "en"}, "ви"},
        {"after a correction", {{"afqkt", "en"}}, false, {"db", "en"}, "ви"},
        {"after a click", {{"файле", "ru"}}, true, {"db", "en"}, "ви"},
        {"after an English word", {{"file", "en"}}, false, {"пщщв", "ru"}, "good"},
        {"Ukrainian on the Russian layout after an English word",
         {{"config", "en"}},
         false,
         {"выдкриваючи", "ru"},
         "відкриваючи",
         R"(["en", "uk", "ru"])"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Engine e = c.languages ? createShipped(c.languages) : createShipped();
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const Step& step : c.before) evaluateContext(e.get(), step.word, "a.exe", step.layout);
        if (c.click) qm_engine_reset_context(e.get());
        Result r = evaluateContext(e.get(), c.word.word, "a.exe", c.word.layout);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.shouldCorrect, *c.expected ? 1 : 0);
        if (!*c.expected) {
            EXPECT_EQ(r.reason, "script_switched_by_user");
        }
    }
}

// With en,uk,ru active, Russian candidates are weighed as the third language,
// behind Ukrainian; once the user has lately written mostly Russian they are
// weighed as a Russian user's are (Уррра), and Ukrainian ones behind them.
TEST_F(CInterface, TheCyrillicLanguageWrittenLatelyIsWeighedFirst) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    Engine russian = createShipped();
    EXPECT_EQ(evaluateContext(russian.get(), "Ehhhf", "a.exe", "en").text, "Уррра");
    EXPECT_EQ(evaluateContext(e.get(), "Ehhhf", "a.exe", "en").shouldCorrect, 0);
    for (const char* word : {"что", "где", "когда", "было"}) evaluateContext(e.get(), word, "b.exe", "ru");
    Result after = evaluateContext(e.get(), "Ehhhf", "c.exe", "en");
    EXPECT_EQ(after.text, "Уррра");
    EXPECT_EQ(after.target, "ru");
}

// "Ты где был": ты typed on the US layout may come out Ukrainian (ті), a
// guess that says nothing of the text; где then asks for the Russian layout,
// and был typed on the Ukrainian one all the same (біл) is read in Russian.
TEST_F(CInterface, ATextBegunOnTheWrongCyrillicLayoutComesBackWithItsFirstWords) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    Result first = evaluateContext(e.get(), "Ns", "a.exe", "en");
    EXPECT_EQ(first.shouldCorrect, 1);
    EXPECT_EQ(evaluateContext(e.get(), "где", "a.exe", "uk").target, "ru");
    Result third = evaluateContext(e.get(), "біл", "a.exe", "uk");
    EXPECT_EQ(third.text, "был");
    EXPECT_EQ(third.target, "ru");
}

// Документі, the guess of the first word typed on the US layout (more
// frequent in Ukrainian than Документы in Russian), is read again in Russian
// once the next word settles Russian: a word kept on the
// Ukrainian layout whose layout follows Russian, or a Russian correction.
// Only the engine's own correction of the word just before is read again.
TEST_F(CInterface, ACorrectionIsReadAgainWhenTheNextWordSettlesItsTwinLanguage) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    auto before = [&](const char* previous, const char* token, const char* target) {
        Owned s(qm_engine_correct_word_before(e.get(), previous, token, target));
        EXPECT_NE(s, nullptr);
        return std::string(s ? s.get() : "(null)");
    };
    struct Step {
        const char* word;
        const char* app;
        const char* layout;
    };
    struct Case {
        const char* name;
        std::vector<Step> typed;  // the last one is the word that settles
        const char* previous;
        const char* target;
        const char* expected;
    } cases[] = {
        {"kept, its layout followed",
         {{"Ljrevtyns", "a", "en"}, {"целевого", "a", "uk"}},
         "Ljrevtyns",
         "ru",
         "Документы"},
        {"corrected", {{"Ytljcnegys", "a", "en"}, {"yjdst", "a", "en"}}, "Ytljcnegys", "ru", "Недоступны"},
        {"another target than the word settles",
         {{"Ljrevtyns", "a", "en"}, {"целевого", "a", "uk"}},
         "Ljrevtyns",
         "uk",
         ""},
        {"a word between",
         {{"Ljrevtyns", "a", "en"}, {"с", "a", "uk"}, {"целевого", "a", "uk"}},
         "Ljrevtyns",
         "ru",
         ""},
        {"another application", {{"Ljrevtyns", "a", "en"}, {"целевого", "b", "uk"}}, "Ljrevtyns", "ru", ""},
        {"not what was typed", {{"Ljrevtyns", "a", "en"}, {"целевого", "a", "uk"}}, "Ljrevtyn", "ru", ""},
        // ты stays ты: ті, the Ukrainian reading, is far rarer.
        {"a far more frequent first reading", {{"Vs", "a", "en"}, {"ghbdsn", "a", "en"}}, "Vs", "uk", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e = createShipped(R"(["en", "uk", "ru"])");  // a fresh engine: none written before
        Result first = evaluateContext(e.get(), c.typed.front().word, c.typed.front().app, c.typed.front().layout);
        ASSERT_EQ(first.shouldCorrect, 1);
        for (std::size_t i = 1; i < c.typed.size(); ++i)
            evaluateContext(e.get(), c.typed[i].word, c.typed[i].app, c.typed[i].layout);
        EXPECT_EQ(before(c.previous, c.typed.back().word, c.target), c.expected);
    }
    // The word before a reset is forgotten.
    evaluateContext(e.get(), "Ljrevtyns", "a.exe", "en");
    evaluateContext(e.get(), "целевого", "a.exe", "uk");
    EXPECT_EQ(before("Ljrevtyns", "целевого", "ru"), "Документы");
    qm_engine_reset_context(e.get());
    EXPECT_EQ(before("Ljrevtyns", "целевого", "ru"), "");
}

// A guess between Russian and Ukrainian stays open while the user types on
// the layout it switched to words that do not confirm it, up to three: the
// word that settles Russian has the guess and the words between read again,
// each as its keys read on the Russian layout.
TEST_F(CInterface, AGuessIsReadAgainWithTheWordsTypedAfterIt) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Step {
        const char* word;
        const char* layout;
        const char* app = "a.exe";
        int32_t unknownBeginning = 0;
    };
    struct Case {
        const char* name;
        std::vector<Step> typed;  // the last one is the word that settles Russian
        const char* previous;
        const char* expected;
    } cases[] = {
        {"one word between", {{"Ljrevtyns", "en"}, {"с", "uk"}, {"передней", "uk"}}, "Ljrevtyns с", "Документы с"},
        {"a word of both languages between",
         {{"Gjkeuectybws", "en"}, {"корпус", "uk"}, {"средних", "uk"}, {"размеров", "uk"}},
         "Gjkeuectybws корпус средних",
         "Полугусеницы корпус средних"},
        {"a word typed for a Russian one is read again",
         {{"Ljrevtyns", "en"}, {"стікуемом", "uk"}, {"вблизи", "uk"}, {"врага", "uk"}},
         "Ljrevtyns стікуемом вблизи",
         "Документы стыкуемом вблизи"},
        {"three words between",
         {{"Ljrevtyns", "en"}, {"с", "uk"}, {"на", "uk"}, {"по", "uk"}, {"передней", "uk"}},
         "Ljrevtyns с на по",
         "Документы с на по"},
        {"four words between",
         {{"Ljrevtyns", "en"}, {"с", "uk"}, {"на", "uk"}, {"по", "uk"}, {"за", "uk"}, {"передней", "uk"}},
         "Ljrevtyns с на по за",
         ""},
        {"a Ukrainian word between confirms the guess",
         {{"Ljrevtyns", "en"}, {"що", "uk"}, {"передней", "uk"}},
         "Ljrevtyns що",
         ""},
        // Файлі, kept on the Ukrainian layout, gives Файлы on the Russian one,
        // far more frequent: it does not confirm the guess.
        {"a Ukrainian word between whose keys give a more frequent Russian one",
         {{"Afqkjdsq", "en"}, {"Файлі", "uk"}, {"позволяет", "uk"}},
         "Afqkjdsq Файлі",
         "Файловый Файлы"},
        // Файловій (band 53) before Файловый (65) in Russian: bands of two
        // corpora that close are no reason to keep the guess.
        {"a guess only somewhat more frequent", {{"Afqkjdsq", "en"}, {"позволяет", "uk"}}, "Afqkjdsq", "Файловый"},
        {"a word between on another layout", {{"Ljrevtyns", "en"}, {"c", "en"}, {"gthtlytq", "en"}}, "Ljrevtyns c", ""},
        {"another application",
         {{"Ljrevtyns", "en"}, {"с", "uk", "b.exe"}, {"передней", "uk", "b.exe"}},
         "Ljrevtyns с",
         ""},
        {"a word between whose start was not seen",
         {{"Ljrevtyns", "en"}, {"с", "uk", "a.exe", 1}, {"передней", "uk"}},
         "Ljrevtyns с",
         ""},
        {"not all that was typed", {{"Ljrevtyns", "en"}, {"с", "uk"}, {"передней", "uk"}}, "Ljrevtyns", ""},
        {"no guess: a word of Ukrainian only", {{"Ghbdsn", "en"}, {"с", "uk"}, {"передней", "uk"}}, "Ghbdsn с", ""},
        {"nothing reads otherwise", {{"Rjvfylbh", "en"}, {"с", "uk"}, {"передней", "uk"}}, "Rjvfylbh с", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e = createShipped(R"(["en", "uk", "ru"])");  // a fresh engine: none written before
        Result first = evaluateContext(e.get(), c.typed.front().word, "a.exe", c.typed.front().layout);
        ASSERT_EQ(first.shouldCorrect, 1);
        for (std::size_t i = 1; i < c.typed.size(); ++i) {
            const Step& step = c.typed[i];
            evaluateContext(e.get(), step.word, step.app, step.layout, step.unknownBeginning);
        }
        Owned s(qm_engine_correct_word_before(e.get(), c.previous, c.typed.back().word, "ru"));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(std::string(s.get()), c.expected);
    }
}

// Командир typed on the US layout reads the same in Russian and Ukrainian
// and goes to Ukrainian by the order of the languages alone; the layout
// follows it. Nothing says the user writes Ukrainian: the next word typed on
// that layout that reads as a Russian word and not as a Ukrainian one (or far
// more often in Russian) is the Russian word, however short, until a word
// settles the language.
TEST_F(CInterface, AWordAfterAGuessBetweenRussianAndUkrainianGoesToTheLanguageItReadsIn) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Step {
        const char* word;
        const char* layout;
        const char* app = "a.exe";
    };
    struct Case {
        const char* name;
        std::vector<Step> before;
        Step word;
        const char* expected;  // "" when the word stays as typed
    } cases[] = {
        {"был after Командир", {{"Rjvfylbh", "en"}}, {"біл", "uk"}, "был"},
        {"мы after Командир", {{"Rjvfylbh", "en"}}, {"мі", "uk"}, "мы"},
        {"вы after Командир", {{"Rjvfylbh", "en"}}, {"ві", "uk"}, "вы"},
        {"была, far more frequent than біла", {{"Rfhnf", "en"}}, {"біла", "uk"}, "была"},
        {"этой after на", {{"Yf", "en"}}, {"єтой", "uk"}, "этой"},
        {"пустых after до and a number", {{"lj", "en"}, {"3", "uk"}}, {"пустіх", "uk"}, "пустых"},
        {"three guesses leave the session unsettled",
         {{"Rjvfylbh", "en"}, {"Rjvfylbh", "en"}, {"Rjvfylbh", "en"}},
         {"біл", "uk"},
         "был"},
        {"a word that reads the same typed between", {{"Rjvfylbh", "en"}, {"командир", "uk"}}, {"мі", "uk"}, "мы"},
        {"no guess before: too short", {}, {"мі", "uk"}, ""},
        {"a Ukrainian correction before", {{"Ghbdsn", "en"}}, {"мі", "uk"}, ""},
        {"a Ukrainian word settles it", {{"Rjvfylbh", "en"}, {"що", "uk"}}, {"мі", "uk"}, ""},
        {"another application", {{"Rjvfylbh", "en", "b.exe"}}, {"мі", "uk"}, ""},
        {"a word of the layout's language", {{"Rjvfylbh", "en"}}, {"ні", "uk"}, ""},
        {"a Russian correction, then the Russian layout", {{"Cnhfybwf", "en"}}, {"мы", "ru"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        e = createShipped(R"(["en", "uk", "ru"])");  // a fresh engine: none written before
        for (const Step& step : c.before) evaluateContext(e.get(), step.word, step.app, step.layout);
        Result r = evaluateContext(e.get(), c.word.word, c.word.app, c.word.layout);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.shouldCorrect, *c.expected ? 1 : 0);
        if (*c.expected) {
            EXPECT_EQ(r.target, "ru");
        }
    }
    // The first word of the case itself: a guess, and the layout follows it.
    e = createShipped(R"(["en", "uk", "ru"])");  // a fresh engine: none written before
    Result first = evaluateContext(e.get(), "Rjvfylbh", "a.exe", "en");
    EXPECT_EQ(first.text, "Командир");
    EXPECT_EQ(first.target, "uk");
}

// A number typed before a corrected word takes the marks the keys give in
// the target layout, by the whole-key maps of the shipped rules file.
TEST_F(CInterface, NumberBeforeACorrectedWordTakesTheTargetLayoutsMarks) {
    Engine e = createShipped();
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* previous;
        const char* token;
        const char* target;
        const char* expected;
    } cases[] = {
        {"5/", "vbh", "ru", "5."},  // a numbered heading: 5. мир
        {"5/1/", "vbh", "ru", "5.1."},
        {"1?5", "vbh", "ru", "1,5"},
        {"5.", "Руддщ", "en", ""},           // typed as meant on the Russian layout
        {"5", "vbh", "ru", ""},              // nothing to change
        {"5\\", "vbh", "ru", ""},            // no full stop or comma there
        {"5/1/2/3/4/5/6", "vbh", "ru", ""},  // too long for a heading's number
        {"/", "vbh", "ru", ""},              // no number
    };
    for (const Case& c : cases) {
        Owned s(qm_engine_correct_word_before(e.get(), c.previous, c.token, c.target));
        ASSERT_NE(s, nullptr) << c.previous;
        EXPECT_EQ(std::string(s.get()), c.expected) << c.previous;
    }
}

// Keys of the US layout that give Cyrillic letters ("<>:{}~ among them) are
// letters where they make a known word and marks everywhere else.
TEST_F(CInterface, MarksOnLetterKeysAreLettersOnlyInKnownWords) {
    Engine e = createShipped();
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* typed;
        const char* expected;  // empty: left as typed
    } cases[] = {
        {"\"nj", "Это"},
        {"<tp", "Без"},
        {"{jhjij", "Хорошо"},
        {":tkfybt", "Желание"},
        {"\"nj,", "Это,"},
        {"cvjnh.", "смотрю"},
        {"\"ghbdtn", "\"привет"},  // no word with Э: the quote opens the word
        {"ghbdtn\"", "привет\""},
        {"\"Untitled", ""},
        {"this:", ""},
        {"https:", ""},
        {"check<", ""},
        {"x:depends", ""},
        {"<release>", ""},
        {"PDF:", ""},
        {"\"\"", ""},
        // Two letters as typed are too few for the guess on words outside the dictionaries.
        {"[FV", ""},
        {"vs'", ""},
        {"[vs", ""},
        {".pf", ""},
    };
    for (const Case& c : cases) {
        Result r = evaluateContext(e.get(), c.typed, "marks.exe");
        EXPECT_EQ(r.shouldCorrect, *c.expected ? 1 : 0) << c.typed << " " << r.reason;
        if (*c.expected) {
            EXPECT_EQ(r.text, c.expected) << c.typed;
        }
        qm_engine_reset_context(e.get());
    }
}

// The session language: three words of one language in one application.
TEST_F(CInterface, SessionStreakIsPerApplication) {
    Engine e = create(R"({"active_languages": ["en", "ru"], "protect_endings_after_delete": false})");
    // "ye" maps to a two-letter Russian common word ("ну" is not listed, "да" is: "lf").
    for (const char* w : {"hello", "world", "test"}) evaluateContext(e.get(), w, "a.exe");
    EXPECT_EQ(evaluateContext(e.get(), "lf", "a.exe").reason, "length_2_session_mismatch");
    // Another application starts without a session language.
    EXPECT_EQ(evaluateContext(e.get(), "lf", "b.exe").text, "да");
    for (const char* w : {"hello", "world", "test"}) evaluateContext(e.get(), w, "b.exe");
    qm_engine_reset_context(e.get());
    EXPECT_EQ(evaluateContext(e.get(), "lf", "b.exe").text, "да");
}

TEST_F(CInterface, ShortUncorrectedWordsAndExclusionsDoNotFeedTheSession) {
    Engine e = create(R"({"active_languages": ["en", "ru"], "excluded_apps": {"x.exe": {}}})");
    for (const char* w : {"hello", "world"}) evaluateContext(e.get(), w, "a.exe");
    evaluateContext(e.get(), "on", "a.exe");  // two letters: no record, the streak stays at 2
    EXPECT_EQ(evaluateContext(e.get(), "lf", "a.exe").text, "да");
    // The streak restarted with "да" (ru); three English words now make "en" the session language.
    for (const char* w : {"hello", "world", "test"}) evaluateContext(e.get(), w, "a.exe");
    EXPECT_EQ(evaluateContext(e.get(), "lf", "a.exe").reason, "length_2_session_mismatch");
}

// With "language_evidence" in the rules, the last words typed in an application
// say whether a word whose keys read as a Russian and a Ukrainian word is one or
// the other; without it, the scores decide (here for the Russian reading).
TEST_F(CInterface, LastWordsTellRussianFromUkrainian) {
    std::ifstream in(kRules, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string rules =
        dir_.write("rules.json", R"({"decision": {"language_evidence": {"window": 8, "min_lead": 2}},)" +
                                     text.substr(text.find('{') + 1));
    const std::string prefs = dir_.write("prefs.json", R"({"active_languages": ["en", "uk", "ru"]})");
    Engine e(qm_engine_create(rules.c_str(), prefs.c_str()));
    Engine plain(qm_engine_create(kRules.c_str(), prefs.c_str()));
    ASSERT_NE(e, nullptr);
    // столы and столі are the same keys on the US layout.
    for (const char* w : {"ghbdsn", "cdsn"}) EXPECT_EQ(evaluateContext(plain.get(), w, "a.exe").target, "uk") << w;
    EXPECT_EQ(evaluateContext(plain.get(), "cnjks", "a.exe").text, "столы");
    EXPECT_EQ(evaluateContext(e.get(), "cnjks", "a.exe").text, "столы") << "no words before: as without";
    // столы chosen with no words before was a guess between two words and
    // counts for neither language: two Ukrainian words lead by two.
    for (const char* w : {"ghbdsn", "cdsn"}) EXPECT_EQ(evaluateContext(e.get(), w, "a.exe").target, "uk") << w;
    Result r = evaluateContext(e.get(), "cnjks", "a.exe");
    EXPECT_EQ(r.text, "столі");
    EXPECT_EQ(r.reason, "session_language_tie_break");
    // Another application starts without them; its Russian words count for it alone.
    EXPECT_EQ(evaluateContext(e.get(), "cnjks", "b.exe").text, "столы");
    for (const char* w : {"ghbdtn", "ntcn", "ghbdtn", "ntcn"})
        EXPECT_EQ(evaluateContext(e.get(), w, "b.exe").target, "ru");
    for (const char* w : {"ghbdsn", "cdsn"}) evaluateContext(e.get(), w, "b.exe");
    r = evaluateContext(e.get(), "cnjks", "b.exe");
    EXPECT_EQ(r.text, "столы") << "four Russian words to two Ukrainian ones";
    EXPECT_EQ(r.reason, "session_language_tie_break");
    for (const char* w : {"ghbdsn", "cdsn"}) evaluateContext(e.get(), w, "b.exe");
    qm_engine_reset_context(e.get());
    for (const char* w : {"ghbdsn", "cdsn"}) evaluateContext(e.get(), w, "b.exe");
    EXPECT_EQ(evaluateContext(e.get(), "cnjks", "b.exe").text, "столі") << "the reset forgot the Russian words";
    // On the Ukrainian layout: Russian words typed on it make столі the Russian столы.
    Engine same(qm_engine_create(rules.c_str(), prefs.c_str()));
    EXPECT_EQ(evaluateContext(same.get(), "столі", "c.exe", "uk").reason, "same_script_source_is_known_word");
    for (const char* w : {"привет", "тест", "что"}) evaluateContext(same.get(), w, "c.exe", "uk");
    EXPECT_EQ(evaluateContext(same.get(), "столі", "c.exe", "uk").text, "столы");
    EXPECT_EQ(evaluateContext(plain.get(), "столі", "c.exe", "uk").reason, "same_script_source_is_known_word");
}

// A mark typed at a word's edge on the wrong layout is the mark its key gives
// in the layout the word is corrected to: Shift+2 is the quotation mark and
// Shift+6 the colon on the Russian layout, Shift+/ its comma.
TEST_F(CInterface, MarksAtTheEdgesOfACorrectedWordFollowTheirKeys) {
    Engine e = createShipped();
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* typed;
        const char* source;
        const char* expected;  // empty: left as typed
    } cases[] = {
        {"@ghbdtn@", "en", "\"привет\""}, {"Ghbdtn^", "en", "Привет:"},
        {"ghbdtn$", "en", "привет;"},     {"@Vfcinf,@", "en", "\"Масштаб\""},  // the comma key inside is б
        {"@<tp", "en", "\"Без"},                                               // the < key is Б
        {"ше,,", "ru", "it??"},           {"руддщ,", "ru", "hello?"},
        {"ghbdtn.", "en", "привет."},  // read as a full stop, it stays one
        {"\"ghbdtn", "en", "\"привет"},   {"me@mail.ru", "en", ""},
        {"@Username", "en", ""},          {"@", "en", ""},
    };
    for (const Case& c : cases) {
        Result r = evaluateContext(e.get(), c.typed, "a.exe", c.source);
        EXPECT_EQ(r.text, c.expected) << c.typed;
        EXPECT_EQ(r.shouldCorrect, *c.expected ? 1 : 0) << c.typed;
        qm_engine_reset_context(e.get());
    }
}

// Keys that give letters on the Russian layout and marks on the US one: ё
// is the grave accent's key, Х the opening brace's.
TEST_F(CInterface, LetterKeysThatAreMarksOnTheUsLayout) {
    Engine e = createShipped();
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* typed;
        const char* expected;  // empty: left as typed
    } cases[] = {
        {"to`", "ещё"},  // "to" with a grave accent glued on is no English word
        {"To`", "Ещё"},
        {"`to`", ""},              // code in backquotes
        {"{fkmlhbr", "Хальдрик"},  // neither reading is a known word: the key is the letter
        {"\"Untitled", ""},
        // The rest reads as a rare word (нитов, сану, ангора): the key is the
        // letter of a name rather than a mark before that word.
        {">ybnjd", "Юнитов"},
        {"\"cfye", "Эсану"},
        {":fyujhf", "Жангора"},
        {"\"kj", ""},  // ло is rare, and Эло reads as no word: left as typed
        // ... and a mark before a frequent word.
        {"<afqk", "<файл"},
        {"{jn", "{от"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(evaluateContext(e.get(), c.typed, "a.exe", "en").text, c.expected) << c.typed;
        qm_engine_reset_context(e.get());
    }
    // A key of a letter between letters: le;t spells no "let" (ж is the
    // semicolon's key); English writes the apostrophe inside words.
    Engine withUkrainian = createShipped(R"(["en", "uk", "ru"])");
    const Case inside[] = {{"le;t", "дуже"}, {"Le;t", "Дуже"}, {"don't", ""}, {"it's", ""}};
    for (const Case& c : inside) {
        EXPECT_EQ(evaluateContext(withUkrainian.get(), c.typed, "a.exe", "en").text, c.expected) << c.typed;
        qm_engine_reset_context(withUkrainian.get());
    }
}

// A Russian word whose last key is the US full stop (ю) reads as an English
// word and a mark: it is a twin like any other, kept in Russian text.
TEST_F(CInterface, TwinReadingEndingInAMarkKeyIsStillATwin) {
    Engine e = createShipped(R"(["en", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    for (const char* w : {"вонзил", "нож", "в", "его", "загорелую"}) evaluateContext(e.get(), w, "a.exe", "ru");
    for (const char* typed : {"шею", "шею."}) {
        Result r = evaluateContext(e.get(), typed, "a.exe", "ru");
        EXPECT_EQ(r.shouldCorrect, 0) << typed << " -> " << r.text;
    }
    // The grave accent of to` is the key of ё, no punctuation: ещё is no twin
    // of "to", even after English words.
    for (const char* w : {"the", "system", "is"}) evaluateContext(e.get(), w, "b.exe", "en");
    EXPECT_EQ(evaluateContext(e.get(), "ещё", "b.exe", "ru").shouldCorrect, 0);
}

// A word that no language lists, typed after words of the language of its
// layout, is not guessed into the other language's letters; after words
// corrected into that language it still is.
TEST_F(CInterface, NoGuessIntoAnotherLanguageAgainstTheWordsBefore) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        std::vector<const char*> before;  // typed on the Ukrainian layout
        const char* typed;
        const char* layout;
        const char* expected;  // empty: left as typed
    } cases[] = {
        {{"Привіт", "світ"}, "Чуук", "uk", ""},
        {{"Привіт", "світ"}, "Нуук", "uk", ""},
        // Nor into a reading with no vowel (gcm typed in Ukrainian text is no псь).
        {{"Привіт", "світ"}, "gcm", "en", ""},
    };
    int app = 0;
    for (const Case& c : cases) {
        const std::string appId = "guess" + std::to_string(app++) + ".exe";
        for (const char* w : c.before) evaluateContext(e.get(), w, appId.c_str(), "uk");
        EXPECT_EQ(evaluateContext(e.get(), c.typed, appId.c_str(), c.layout).text, c.expected) << c.typed;
    }
    Engine russian = createShipped(R"(["en", "ru"])");
    for (const char* w : {"ghbdtn", "vbh"}) evaluateContext(russian.get(), w, "r.exe", "en");
    EXPECT_EQ(evaluateContext(russian.get(), "Ijhnrtqr", "r.exe", "en").text, "Шорткейк");
}

// Еру typed for "The" on the Russian layout is a Russian form no text ranks,
// "The" the most frequent English word: corrected at a text's start, taken
// along by the next word corrected to English all the same, left alone in
// Russian text. A word that is a ranked word on both layouts (руку, here)
// waits for the words around it.
TEST_F(CInterface, WordOnBothLayoutsNeedsTheWordsAroundIt) {
    Engine e = createShipped();
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    auto before = [&](const char* previous, const char* token) {
        Owned s(qm_engine_correct_word_before(e.get(), previous, token, "en"));
        return std::string(s ? s.get() : "(null)");
    };
    Result first = evaluateContext(e.get(), "Еру", "a.exe", "ru");
    EXPECT_EQ(first.text, "The");
    EXPECT_EQ(first.reason, "layout_mismatch");
    Result ranked = evaluateContext(e.get(), "руку", "z.exe", "ru");
    EXPECT_EQ(ranked.shouldCorrect, 0);
    EXPECT_EQ(ranked.reason, "low_confidence");
    ASSERT_EQ(evaluateContext(e.get(), "ыныеуь", "a.exe", "ru").text, "system");
    EXPECT_EQ(before("Еру", "ыныеуь"), "The");
    // Three English words before: the session says English.
    for (const char* w : {"ыщьу", "ыныеуь", "ьщвуд"})
        EXPECT_EQ(evaluateContext(e.get(), w, "b.exe", "ru").target, "en");
    EXPECT_EQ(evaluateContext(e.get(), "еру", "b.exe", "ru").text, "the");
    // Russian text: kept, and not taken along by an English word after it.
    for (const char* w : {"привет", "тест", "работа"}) evaluateContext(e.get(), w, "c.exe", "ru");
    EXPECT_EQ(evaluateContext(e.get(), "еру", "c.exe", "ru").shouldCorrect, 0);
    ASSERT_EQ(evaluateContext(e.get(), "ыныеуь", "c.exe", "ru").text, "system");
    EXPECT_EQ(before("еру", "ыныеуь"), "");
}

// Words typed all in capitals are abbreviations: one a language lists stays
// as typed, one whose reading is a frequent abbreviation of the other
// language is that abbreviation, and any other reads as a word only where
// the words around it allow.
TEST_F(CInterface, WordsInCapitals) {
    Engine e = createShipped(R"(["en", "uk", "ru"])");
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    struct Case {
        const char* app;
        const char* token;
        const char* layout;
        const char* expected;  // "" when the word stays
    } cases[] = {
        // Russian text typed on the US layout, then acronyms meant in Latin letters.
        {"ru.exe", "ghbdtn", "en", "привет"},
        {"ru.exe", "ntcn", "en", "тест"},
        {"ru.exe", "JR", "en", "ОК"},    // two letters: the Russian words before decide
        {"ru.exe", "VBH", "en", "МИР"},  // caps lock on the wrong layout
        {"ru.exe", "HEIF", "en", ""},    // not the rare form РУША
        {"ru.exe", "UTC", "en", ""},     // not the rare word ГЕС
        {"ru.exe", "GBK", "en", ""},
        {"ru.exe", "TLS", "en", ""},
        // Nothing typed before.
        {"a.exe", "JR", "en", ""},
        {"b.exe", "CIF", "en", "США"},
        {"c.exe", "ФДЗРФ", "ru", "ALPHA"},
        {"d.exe", "ГЕС", "uk", ""},  // a Ukrainian abbreviation, not UTC
        // English text typed on its own layout.
        {"en.exe", "hello", "en", ""},
        {"en.exe", "there", "en", ""},
        {"en.exe", "JYJ", "en", ""},  // not ОНО
        // Then on the Russian layout (after a correction: not changed by hand).
        {"en.exe", "ерфтл", "ru", "thank"},
        {"en.exe", "ЩЛ", "ru", "OK"},
        {"en.exe", "ШВ", "ru", "ID"},
    };
    for (const Case& c : cases) {
        const Result r = evaluateContext(e.get(), c.token, c.app, c.layout);
        EXPECT_EQ(r.shouldCorrect, *c.expected ? 1 : 0) << c.app << " " << c.token << " " << r.reason;
        if (*c.expected) {
            EXPECT_EQ(r.text, c.expected) << c.token;
        }
    }
}

// The C++ view carries every field of the C calls and keeps their choice of direction.
TEST_F(CInterface, CppViewCarriesTheCResults) {
    namespace cabi = quillom::cabi;
    Engine e = cabi::createEngine(kRules, dir_.write("p.json", R"({"active_languages": ["en", "uk", "ru"]})"));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(cabi::createEngine(dir_.path("missing.json"), dir_.path("p.json")), nullptr);
    const cabi::Decision d = cabi::evaluateContext(e.get(), "Rfr", "app.exe", "en", false);
    EXPECT_TRUE(d.shouldCorrect);
    EXPECT_EQ(d.corrected, "Как");
    EXPECT_DOUBLE_EQ(d.confidence, 0.99);
    EXPECT_EQ(d.targetLang, "ru");
    EXPECT_EQ(d.reason, "exact_seed_pair");
    const cabi::Decision kept = cabi::evaluateContext(e.get(), "vbh", "app.exe", "en", false);
    EXPECT_FALSE(kept.shouldCorrect);
    EXPECT_EQ(kept.corrected, "");
    EXPECT_EQ(kept.reason, "never_correct");
    const cabi::Conversion smart = cabi::convertSelection(e.get(), "ghbdtn vbh");
    EXPECT_EQ(smart.text, "привет мир");
    EXPECT_EQ(smart.targetLang, "ru");
    const cabi::Conversion to = cabi::convertSelectionTo(e.get(), "ghbdsn", "uk");
    EXPECT_EQ(to.text, "привіт");
    EXPECT_EQ(to.targetLang, "uk");
    EXPECT_EQ(cabi::takeString(nullptr), "");
}

}  // namespace
