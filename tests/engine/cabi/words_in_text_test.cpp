// The engine's memory of the words typed lately, through the C interface: a
// corrected word comes back with the pieces before it that go along, in the
// one call that evaluates it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <quillom.hpp>

namespace {

using Engine = quillom::cabi::EnginePtr;
using Owned = quillom::cabi::OwnedString;

struct Typed {
    std::string word;
    std::optional<std::string> between;  // since the word before ended; nothing: unknown
    const char* layout = "en";
    const char* app = "a.exe";
    int32_t unknownBeginning = 0;
};

struct Answer {
    int32_t shouldCorrect = -1;
    std::string text, reason;
    int32_t pieces = -1;
    std::optional<std::string> before;
};

Answer evaluateInText(qm_engine* e, const Typed& t) {
    Answer a;
    double confidence = 0;
    char target[16] = {}, reason[64] = {};
    char* before = reinterpret_cast<char*>(&a);  // must be overwritten
    Owned s(qm_engine_evaluate_in_text(e, t.word.c_str(), t.app, t.layout, t.unknownBeginning,
                                       t.between ? t.between->c_str() : nullptr, &a.shouldCorrect, &confidence, target,
                                       sizeof target, reason, sizeof reason, &a.pieces, &before));
    EXPECT_NE(s, nullptr);
    a.text = s ? s.get() : "";
    a.reason = reason;
    if (before) a.before = Owned(before).get();
    return a;
}

struct Case {
    const char* name;
    std::vector<Typed> typed;  // the last one is the word asked about
    int32_t pieces;
    const char* before;  // their new text; null: none
    const char* languages = R"(["en", "ru"])";
};

class WordsInText : public ::testing::Test {
protected:
    // The shipped rules file for a user of the given languages.
    Engine create(const char* languages) {
        std::ofstream(prefs_) << R"({"active_languages": )" << languages << "}";
        return Engine(qm_engine_create(QUILLOM_RULES_FILE, prefs_.string().c_str()));
    }
    void TearDown() override { std::filesystem::remove(prefs_); }
    void expectCases(const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            Engine e = create(c.languages);
            ASSERT_TRUE(e) << "no rules file at " << QUILLOM_RULES_FILE;
            Answer last;
            for (const Typed& t : c.typed) last = evaluateInText(e.get(), t);
            EXPECT_EQ(last.pieces, c.pieces);
            EXPECT_EQ(last.before, c.before ? std::optional<std::string>(c.before) : std::nullopt);
        }
    }
    std::filesystem::path prefs_ =
        std::filesystem::temp_directory_path() / ("quillom-words-in-text-" + std::to_string(::getpid()) + ".json");
};

}  // namespace

// What lies between the words decides which pieces may go along; the rules
// of the word before decide which do.
TEST_F(WordsInText, ACorrectionTakesThePiecesBeforeItAlong) {
    const std::optional<std::string> none;
    expectCases({
        {"one space between", {{"d", none}, {"vbh", " "}}, 1, "в"},
        {"a number and its mark", {{"5/", none}, {"vbh", " "}}, 1, "5."},
        {"two pieces, nearest first", {{"5/", none}, {"d", " "}, {"vbh", " "}}, 2, "5. в"},
        {"no more than two pieces within a text",
         {{"hello", none}, {"d", " "}, {"d", " "}, {"d", " "}, {"vbh", " "}},
         2,
         "в в"},
        {"the chain stops at a piece kept", {{"d", none}, {"hello", " "}, {"d", " "}, {"vbh", " "}}, 1, "в"},
        {"a mark then a space", {{"b", none}, {"vbh", "? "}}, 1, "и,"},
        {"two spaces", {{"d", none}, {"vbh", "  "}}, 0, nullptr},
        {"nothing known between", {{"d", none}, {"vbh", none}}, 0, nullptr},
        {"a mark right before the word", {{"d", none}, {"vbh", " /"}}, 0, nullptr},
        {"the word's beginning unseen", {{"d", none}, {"vbh", " ", "en", "a.exe", 1}}, 0, nullptr},
        {"another application", {{"d", none}, {"vbh", " ", "en", "b.exe"}}, 0, nullptr},
        {"a word over the length limit between",
         {{"d", none}, {std::string(2000, 'd'), " "}, {"vbh", " "}},
         0,
         nullptr},
        {"a word kept as typed takes nothing", {{"d", none}, {"hello", " "}}, 0, nullptr},
        {"a word English text kept for its rare reading",
         {{"in", none}, {"the", " "}, {"morning", " "}, {"ghbdtn", " "}, {"rfr", " "}},
         1,
         "привет"},
        {"a dash within a text stops the chain", {{"hello", none}, {"d", " "}, {"vbh", " - "}}, 0, nullptr},
        {"a short word after a dash", {{"hello", none}, {"d", " - "}, {"vbh", " "}}, 1, "в"},
    });
}

// A text typed on the wrong layout from its first key: what the engine kept
// before the first word it could read goes along with that word's
// correction, unless it reads as typed in its layout's language or its
// reading is no text of the target.
TEST_F(WordsInText, TheStartOfATextGoesAlongWhole) {
    const std::optional<std::string> none;
    expectCases({
        // Capitals holding a letter no word begins with are corrected as typed.
        {"an abbreviation of the target", {{"ЕФЫЫ", none, "ru"}, {"вфеудштув", " ", "ru"}}, 0, nullptr},
        {"an abbreviation kept by protection", {{"ЫЬГ", none, "ru"}, {"цшдд", " ", "ru"}}, 0, nullptr},
        {"a name in capitals", {{"YTRCEC", none}, {"gjkexbk", " "}}, 1, "НЕКСУС"},
        {"a number with its unit", {{"105vv", none}, {"ufe,bwe", " "}}, 1, "105мм"},
        {"a name kept for want of context", {{"Ytrcec", none}, {"gjkexbk", " "}}, 1, "Нексус"},
        {"a number between goes as it stands", {{"D", none}, {"2085", " "}, {"ujle", " "}}, 2, "В 2085"},
        {"an initial", {{"Ою", none, "ru"}, {"Фю", " ", "ru"}}, 1, "J."},
        {"initials", {{"Вю", none, "ru"}, {"Вю", " ", "ru"}, {"цшдд", " ", "ru"}}, 2, "D. D."},
        {"a comma typed on a letter key", {{"8б280", none, "ru"}, {"фееутв", " ", "ru"}}, 1, "8,280"},
        {"more than two pieces",
         {{"Э", none, "ru"}, {"Туче", " ", "ru"}, {"Ою", " ", "ru"}, {"Зкуышвуте", " ", "ru"}},
         3,
         "\" Next J."},
        {"a name in mixed case", {{"ТуцПКА", none, "uk"}, {"вуигп", " ", "uk"}}, 1, "NewGRF", R"(["en", "uk", "ru"])"},
        {"a Cyrillic name in mixed case",
         {{"ПриватБанк", none, "uk"}, {"вуигп", " ", "uk"}},
         0,
         nullptr,
         R"(["en", "uk", "ru"])"},
        {"a word of the layout typed on", {{"hello", none}, {"YTRCEC", " "}, {"gjkexbk", " "}}, 0, nullptr},
        {"a word with the mark that ended it", {{"hello", none}, {"ghbdtn", ", "}}, 0, nullptr},
        {"an abbreviation of the layout's language", {{"NASA", none}, {"ghbdtn", " "}}, 0, nullptr},
        {"an abbreviation of the layout's language before an English word",
         {{"США", none, "ru"}, {"цщкдв", " ", "ru"}},
         0,
         nullptr},
        {"marks around a word", {{"<Ntvf>", none}, {"ghbdtn", " "}}, 0, nullptr},
        {"a capital beside a digit", {{"4K", none}, {"ajnj", " "}}, 0, nullptr},
        {"a lone letter after a number", {{"5m", none}, {"ghbdtn", " "}}, 0, nullptr},
        {"the layout's punctuation after a word", {{"Uvv?", none}, {"vj;kbdj", " "}}, 1, "Гмм,", R"(["en", "uk"])"},
        {"a number's mark typed as meant", {{"1941.", none, "ru"}, {"фееутв", " ", "ru"}}, 0, nullptr},
        {"an ellipsis on the keys of letters", {{"ююю", none, "ru"}, {"фтв", " ", "ru"}}, 1, "..."},
        {"a quote and an ellipsis", {{"Эююю", none, "ru"}, {"фтв", " ", "ru"}}, 1, "\"..."},
        {"a quote and two full stops", {{"Эюю", none, "ru"}, {"фтв", " ", "ru"}}, 1, "\".."},
        {"a quote and more full stops", {{"Эюююю", none, "ru"}, {"фтв", " ", "ru"}}, 0, nullptr},
        {"more full stops than an ellipsis", {{"ююююю", none, "ru"}, {"фтв", " ", "ru"}}, 0, nullptr},
        {"an ellipsis on keys of marks", {{"///", none}, {"ghbdtn", " "}}, 1, "..."},
        {"a quote and an ellipsis on keys of marks", {{"@///", none}, {"ghbdtn", " "}}, 1, "\"..."},
        {"keys of marks that are no ellipsis", {{"//", none}, {"ghbdtn", " "}}, 0, nullptr},
        {"a mark alone", {{"?", none}, {"ghbdtn", " "}}, 0, nullptr},
        {"a quote before a word on the keys of a listed word", {{"ЭРу", none, "ru"}, {"ыфшв", " ", "ru"}}, 1, "\"He"},
        {"a listed word cased as words are", {{"Эру", none, "ru"}, {"ыфшв", " ", "ru"}}, 0, nullptr},
        {"a slash between letters", {{":|l", none}, {"ljhjuf", " "}}, 1, "Ж/д"},
        {"a slash before the letters", {{"|l", none}, {"ljhjuf", " "}}, 0, nullptr},
        {"more pieces than remembered",
         {{"Ytrcec", none}, {"d", " "}, {"d", " "}, {"d", " "}, {"d", " "}, {"vbh", " "}},
         2,
         "в в"},
        {"a piece whose beginning was unseen", {{"Ytrcec", none, "en", "a.exe", 1}, {"gjkexbk", " "}}, 0, nullptr},
        {"an acronym of the target", {{"ЬДЕ", none, "ru"}, {"здфндшые", " ", "ru"}}, 0, nullptr},
        {"an acronym of the layout's script", {{"НГМ", none, "ru"}, {"здфндшые", " ", "ru"}}, 0, nullptr},
        {"an acronym typed on the US layout", {{"MLT", none}, {"ghbdtn", " "}}, 0, nullptr},
        // The program hands over the letters after a number's hyphen as a
        // word whose beginning it did not see; here they joined the number.
        {"numbers joined to words by hyphens",
         {{"Ф", none, "ru"},
          {"6", " ", "ru"},
          {"ащще", "-", "ru", "a.exe", 1},
          {"1", " ", "ru"},
          {"штср", "-", "ru", "a.exe", 1},
          {"ыутшщк", " ", "ru"}},
         3,
         "A 6-foot 1-inch"},
        // A dash typed alone between spaces is a piece of its own that goes
        // as it stands, with a changed piece before it only; the part of the
        // text after it starts anew when what is before it stays.
        {"a dash between", {{"ШВ", none, "ru"}, {"ыутыщк", " - ", "ru"}}, 2, "ID -"},
        {"a dash after a short word", {{"D", none}, {"ujle", " - "}}, 2, "В -"},
        {"an en dash", {{"D", none}, {"ujle", " \u2013 "}}, 2, "В \u2013"},
        {"two dashes", {{"D", none}, {"ujle", " - - "}}, 3, "В - -"},
        {"a dash after a piece that stays", {{"2085", none}, {"ujle", " - "}}, 0, nullptr},
        {"a number and a letter labelling what follows",
         {{"2u", none}, {"Kswdj", " - "}},
         2,
         "2г -",
         R"(["en", "uk", "ru"])"},
        {"a number and a letter that begins no word", {{"5m", none}, {"Vjcrdf", " - "}}, 0, nullptr},
        {"the part after a dash", {{"hello", none}, {"Ytrcec", " - "}, {"gjkexbk", " "}}, 1, "Нексус"},
        {"the part after a dash after a correction",
         {{"ghbdtn", none}, {"Ytrcec", " - "}, {"gjkexbk", " "}},
         1,
         "Нексус"},
        {"the whole text across a dash", {{"Ytrcec", none}, {"D", " - "}, {"gjkexbk", " "}}, 3, "Нексус - В"},
        {"a piece seen in part after the dash",
         {{"hello", none}, {"Ytrcec", " - ", "en", "a.exe", 1}, {"gjkexbk", " "}},
         0,
         nullptr},
        {"two spaces before the dash", {{"D", none}, {"ujle", "  - "}}, 0, nullptr},
        {"a dash right before the word", {{"D", none}, {"ujle", " -"}}, 0, nullptr},
        {"another mark alone between spaces", {{"D", none}, {"ujle", " / "}}, 0, nullptr},
    });
}

// A letter alone at a text's start that its layout's language hardly uses
// as a word was an initial or a mark of the target, as are letters that
// language lists only in the tail of its list: they go along with the first
// correction. One of the language's own short words stays.
TEST_F(WordsInText, ARareLetterAtTheStartGoesAlong) {
    const std::optional<std::string> none;
    expectCases({
        {"an initial", {{"Г", none, "ru"}, {"Ерфте", " ", "ru"}}, 1, "U"},
        {"a small letter", {{"ч", none, "ru"}, {"ырщгдв", " ", "ru"}}, 1, "x"},
        {"a Ukrainian initial", {{"Г", none, "uk"}, {"ерфе", " ", "uk"}}, 1, "U", R"(["en", "uk"])"},
        {"a preposition", {{"В", none, "ru"}, {"Ерфте", " ", "ru"}}, 0, nullptr},
        {"a pronoun", {{"Я", none, "ru"}, {"ерфе", " ", "ru"}}, 0, nullptr},
        {"a Ukrainian preposition", {{"з", none, "uk"}, {"ерфе", " ", "uk"}}, 0, nullptr, R"(["en", "uk"])"},
        {"a Ukrainian conjunction", {{"Й", none, "uk"}, {"ерфе", " ", "uk"}}, 0, nullptr, R"(["en", "uk"])"},
        {"a rare letter with nothing corrected after it", {{"Г", none, "ru"}, {"Москва", " ", "ru"}}, 0, nullptr},
        {"two letters", {{"Гг", none, "ru"}, {"ерфе", " ", "ru"}}, 0, nullptr},
        {"a letter used only in abbreviations", {{"Д", none, "ru"}, {"ерфе", " ", "ru"}}, 1, "L"},
        {"a Ukrainian preposition ranked lower",
         {{"О", none, "uk"}, {"ерфе", " ", "uk"}},
         0,
         nullptr,
         R"(["en", "uk"])"},
        {"a rare letter before a hyphen",
         {{"Р", none, "ru"}, {"Екфты", "-", "ru", "a.exe", 1}, {"Екфшдук", " ", "ru"}},
         1,
         "H-Trans"},
        {"a preposition before a hyphen",
         {{"В", none, "ru"}, {"Екфты", "-", "ru", "a.exe", 1}, {"Екфшдук", " ", "ru"}},
         0,
         nullptr},
        {"initials whose letters are a word of the list's tail",
         {{"Цю", none, "ru"}, {"Рю", " ", "ru"}, {"Кщйгуьщкуб", " ", "ru"}},
         2,
         "W. H."},
        {"two letters its language ranks", {{"Ну", none, "ru"}, {"ерфе", " ", "ru"}}, 0, nullptr},
        {"an interjection ranked rarer than initials", {{"Ой", none, "ru"}, {"ерфе", " ", "ru"}}, 0, nullptr},
        {"the same initials typed on the Ukrainian layout, where they are a word",
         {{"Цю", none, "uk"}, {"Рю", " ", "uk"}, {"Кщйгуьщкуб", " ", "uk"}},
         0,
         nullptr,
         R"(["en", "uk", "ru"])"},
        {"a Ukrainian word Russian ranks as rare, typed on the Ukrainian layout",
         {{"з", none, "uk"}, {"ерфе", " ", "uk"}},
         0,
         nullptr,
         R"(["en", "uk", "ru"])"},
    });
}

// A code of capitals and digits, a number with one letter or a letter
// labelling an item, typed on a Cyrillic layout at the start of English
// text, is the English code, unit or label; Latin ones before Russian text
// stay, as does a Cyrillic one within a text or before a word that is not
// English.
TEST_F(WordsInText, ACodeOrALabelAtTheStartOfEnglishTextGoesAlong) {
    const std::optional<std::string> none;
    expectCases({
        {"a digit then a capital", {{"3В", none, "ru"}, {"тщшыу", " ", "ru"}}, 1, "3D"},
        {"a capital then a digit", {{"А2", none, "ru"}, {"дщфвы", " ", "ru"}}, 1, "F2"},
        {"capitals then digits", {{"МК360", none, "ru"}, {"руфвыуе", " ", "ru"}}, 1, "VR360"},
        {"on the Ukrainian layout", {{"4В", none, "uk"}, {"ьщмуі", " ", "uk"}}, 1, "4D", R"(["en", "uk", "ru"])"},
        {"a label in brackets", {{"(И)", none, "ru"}, {"ьщмуы", " ", "ru"}}, 1, "(B)"},
        {"a small label", {{"(и)", none, "ru"}, {"ьщмуы", " ", "ru"}}, 1, "(b)"},
        {"a label closed by a bracket", {{"И)", none, "ru"}, {"ьщмуы", " ", "ru"}}, 1, "B)"},
        {"a key's letter as a label, whatever its place in the alphabets",
         {{"(в)", none, "ru"}, {"вщгиду", " ", "ru"}},
         1,
         "(d)"},
        {"a Latin code before Russian", {{"3D", none}, {"ghbdtn", " "}}, 0, nullptr},
        {"a number with a small letter", {{"3в", none, "ru"}, {"тщшыу", " ", "ru"}}, 1, "3d"},
        {"a number with a letter that begins no word", {{"105ь", none, "ru"}, {"ьшыышдуы", " ", "ru"}}, 1, "105m"},
        {"a small letter between digits", {{"3в3", none, "ru"}, {"тщшыу", " ", "ru"}}, 0, nullptr},
        {"a unit within a text", {{"hello", none, "ru"}, {"2з", " ", "ru"}, {"ьщву", " ", "ru"}}, 0, nullptr},
        {"a code within a text", {{"hello", none, "ru"}, {"3В", " ", "ru"}, {"тщшыу", " ", "ru"}}, 0, nullptr},
        {"a frequent word in brackets", {{"(Мы)", none, "ru"}, {"ьщмуы", " ", "ru"}}, 0, nullptr},
        {"a code before a Ukrainian word",
         {{"3В", none, "ru"}, {"ghbdsn", " ", "ru"}},
         0,
         nullptr,
         R"(["en", "uk", "ru"])"},
    });
}

// Within a text, a number with a unit typed on the layout of the word
// corrected after it goes along as at a text's start; a model's name or
// letters that read as typed in their layout's language stay.
TEST_F(WordsInText, ANumberWithLettersGoesAlongWithinAText) {
    const std::optional<std::string> none;
    expectCases({
        {"a unit after a word kept", {{"hello", none}, {"30vv", " "}, {"lkz", " "}}, 1, "30мм"},
        {"a unit after a correction", {{"ghbdtn", none}, {"80vv", " "}, {"cyfhzl", " "}}, 1, "80мм"},
        {"a short word and a unit", {{"hello", none}, {"d", " "}, {"30vv", " "}, {"lkz", " "}}, 2, "в 30мм"},
        {"a unit typed on a Cyrillic layout",
         {{"привет", none, "ru"}, {"105ьь", " ", "ru"}, {"ырудды", " ", "ru"}},
         1,
         "105mm"},
        {"a capital beside a digit", {{"hello", none}, {"4K", " "}, {"ajnj", " "}}, 0, nullptr},
        {"letters before the number", {{"hello", none}, {"x86", " "}, {"cbcntvf", " "}}, 0, nullptr},
        {"letters that are a word of the layout", {{"hello", none}, {"2nd", " "}, {"cbcntvf", " "}}, 0, nullptr},
        {"letters then a mark", {{"hello", none}, {"30vv>", " "}, {"lkz", " "}}, 0, nullptr},
        {"a lone letter after the number", {{"hello", none}, {"5m", " "}, {"lkz", " "}}, 0, nullptr},
        {"an ending after a hyphen",
         {{"hello", none}, {"1", " "}, {"q", "-", "en", "a.exe", 1}, {"hfp", " "}},
         1,
         "1-й"},
        {"words after hyphens",
         {{"привет", none, "ru"},
          {"22", " ", "ru"},
          {"нуфк", "-", "ru", "a.exe", 1},
          {"щдв", "-", "ru", "a.exe", 1},
          {"ыщгерзфц", " ", "ru"}},
         1,
         "22-year-old"},
        {"letters after a hyphen that are no word",
         {{"hello", none}, {"5", " "}, {"xq", "-", "en", "a.exe", 1}, {"hfp", " "}},
         0,
         nullptr},
    });
}

// A guess between Ukrainian and Russian, settled by a later Russian word: the
// correction and the words typed after it are read again in the call that
// evaluates that word, which itself stays as typed.
TEST_F(WordsInText, AWordThatSettlesTheLanguageHasTheCorrectionBeforeReadAgain) {
    const std::optional<std::string> none;
    const char* three = R"(["en", "uk", "ru"])";
    expectCases({
        {"one word between", {{"Ljrevtyns", none}, {"с", " ", "uk"}, {"передней", " ", "uk"}}, 2, "Документы с", three},
        {"three words between",
         {{"Ljrevtyns", none}, {"с", " ", "uk"}, {"на", " ", "uk"}, {"по", " ", "uk"}, {"передней", " ", "uk"}},
         4,
         "Документы с на по",
         three},
        {"four words between",
         {{"Ljrevtyns", none},
          {"с", " ", "uk"},
          {"на", " ", "uk"},
          {"по", " ", "uk"},
          {"за", " ", "uk"},
          {"передней", " ", "uk"}},
         0,
         nullptr,
         three},
        {"a mark after the word between",
         {{"Ljrevtyns", none}, {"с", " ", "uk"}, {"передней", ". ", "uk"}},
         0,
         nullptr,
         three},
    });
}

// Evaluations without the text around them (the context-free one, the
// session one) come between the words remembered and the next.
TEST_F(WordsInText, OtherEvaluationsBreakTheText) {
    Engine e = create(R"(["en", "ru"])");
    ASSERT_TRUE(e);
    evaluateInText(e.get(), {"d", std::nullopt});
    quillom::cabi::evaluateContext(e.get(), "x", "a.exe", "en", false);
    EXPECT_EQ(evaluateInText(e.get(), {"vbh", " "}).pieces, 0);
    evaluateInText(e.get(), {"d", " "});
    qm_engine_reset_context(e.get());
    EXPECT_EQ(evaluateInText(e.get(), {"vbh", " "}).pieces, 0);
    evaluateInText(e.get(), {"d", std::nullopt});
    const Answer a = evaluateInText(e.get(), {"vbh", " "});
    EXPECT_EQ(a.text, "мир");
    EXPECT_EQ(a.pieces, 1);
    // What follows a word told about elsewhere starts no text.
    quillom::cabi::evaluateContext(e.get(), "x", "a.exe", "en", false);
    evaluateInText(e.get(), {"Ytrcec", " "});
    EXPECT_EQ(evaluateInText(e.get(), {"gjkexbk", " "}).pieces, 0);
}

TEST_F(WordsInText, NoHandleAnswersNothingAndClearsTheOutputs) {
    int32_t pieces = 7;
    char* before = reinterpret_cast<char*>(&pieces);
    Owned s(qm_engine_evaluate_in_text(nullptr, "vbh", "a.exe", "en", 0, " ", nullptr, nullptr, nullptr, 0, nullptr, 0,
                                       &pieces, &before));
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s.get(), "");
    EXPECT_EQ(pieces, 0);
    EXPECT_EQ(before, nullptr);
}
