// Words typed as meant that the shipped rules file used to correct, through
// the C interface: Latin words in Cyrillic text after the user changed the
// layout by hand, and marks that would read as letters cased as no word is.
// Each table holds words beside them that must keep their decision.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <quillom.hpp>

#include "shipped_engine.h"

namespace {

using Engine = quillom::cabi::EnginePtr;
using Owned = quillom::cabi::OwnedString;

struct Typed {
    const char* word;
    const char* layout;
    std::optional<std::string> between;  // since the word before ended; nothing: unknown
};

struct Answer {
    int32_t shouldCorrect = -1;
    std::string text, reason;
};

Answer evaluateInText(qm_engine* e, const Typed& t) {
    Answer a;
    double confidence = 0;
    int32_t pieces = 0;
    char* before = nullptr;
    char target[16] = {}, reason[64] = {};
    Owned s(qm_engine_evaluate_in_text(e, t.word, "a.exe", t.layout, 0, t.between ? t.between->c_str() : nullptr,
                                       &a.shouldCorrect, &confidence, target, sizeof target, reason, sizeof reason,
                                       &pieces, &before));
    Owned ownedBefore(before);
    EXPECT_NE(s, nullptr);
    a.text = s ? s.get() : "";
    a.reason = reason;
    return a;
}

class FalseCorrections : public ::testing::Test {
protected:
    static Engine create(const char* languages) { return quillom::test::shippedEngine(languages); }
};

// Pieces joined by marks to a word kept after the user changed the layout
// (/etc/dconf/db) stay; a word apart decides as before, since after a Latin
// word the user may have forgotten to change back; Cyrillic text typed on the
// US layout by mistake is still corrected from its first word.
TEST_F(FalseCorrections, PiecesJoinedToALatinWordAfterAChangeOfScriptStay) {
    const std::string space = " ", slash = "/";
    struct Case {
        const char* name;
        std::vector<Typed> typed;  // the last one is the word asked about
        const char* expected;      // "" when the word stays
        // Why a piece stays: two letters after English ones stay for those.
        const char* reason = "script_switched_by_user";
    } cases[] = {
        {"a path: the third piece",
         {{"в", "ru", {}}, {"etc", "en", {}}, {"dconf", "en", slash}, {"db", "en", slash}},
         "",
         "length_2_session_mismatch"},
        {"a piece joined to a one-letter word", {{"ро", "ru", {}}, {"d", "en", {}}, {"drf", "en", slash}}, ""},
        {"a joined piece reading as a frequent word",
         {{"файле", "ru", {}}, {"etc", "en", {}}, {"ytn", "en", slash}},
         ""},
        // The user forgot to change the layout back after a Latin word.
        {"the second word apart", {{"файле", "ru", {}}, {"db", "en", {}}, {"gr", "en", space}}, "пк"},
        {"a frequent short word", {{"файле", "ru", {}}, {"config", "en", {}}, {"ytn", "en", space}}, "нет"},
        {"a listed word of four letters", {{"файле", "ru", {}}, {"config", "en", {}}, {"ujhjl", "en", space}}, "город"},
        {"after a correction ended the run",
         {{"файле", "ru", {}}, {"db", "en", {}}, {"ujhjl", "en", space}, {"db", "en", space}},
         "ви"},
        // Cyrillic text typed on the US layout with no change of script before.
        {"the second word of a text", {{"ghbdtn", "en", {}}, {"vbh", "en", space}}, "мир"},
        {"after a word corrected, joined", {{"xnj", "en", {}}, {"nj", "en", std::string("-")}}, "то"},
        {"after a short word kept, joined", {{"b", "en", {}}, {"bkb", "en", slash}}, "или"},
    };
    for (const char* languages : {R"(["en", "ru"])", R"(["en", "uk", "ru"])"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " with " + languages);
            Engine e = create(languages);
            ASSERT_TRUE(e) << "no rules file at " << QUILLOM_RULES_FILE;
            Answer last;
            for (const Typed& t : c.typed) last = evaluateInText(e.get(), t);
            EXPECT_EQ(last.text, c.expected);
            EXPECT_EQ(last.shouldCorrect, *c.expected ? 1 : 0);
            if (!*c.expected) {
                EXPECT_EQ(last.reason, c.reason);
            }
        }
    }
}

// Shift pressed with a mark key alone after lower-case letters (df> for
// output redirection) would read as a capital letter after them, and a mark
// key read as a lower-case letter before a capital (`Dtkbrbq) likewise:
// Cyrillic text is cased so nowhere. Words cased as words are stay corrected.
TEST_F(FalseCorrections, MarksReadAsLettersCasedAsNoWordStayMarks) {
    struct Case {
        const char* word;
        const char* expected;  // "" when the word stays
        const char* languages;
    } cases[] = {
        {"df>", "", R"(["en", "ru"])"},
        {"ls>", "", R"(["en", "uk", "ru"])"},
        {"''Ajhvfn", "''Формат", R"(["en", "ru"])"},
        {"ghbdtn", "привет", R"(["en", "ru"])"},
        {"Ghbdtn", "Привет", R"(["en", "ru"])"},
        {"{fkmlhbr", "Хальдрик", R"(["en", "ru"])"},
        {"<afqk", "<файл", R"(["en", "ru"])"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.word) + " with " + c.languages);
        Engine e = create(c.languages);
        ASSERT_TRUE(e) << "no rules file at " << QUILLOM_RULES_FILE;
        const Answer a = evaluateInText(e.get(), {c.word, "en", {}});
        EXPECT_EQ(a.text, c.expected);
        EXPECT_EQ(a.shouldCorrect, *c.expected ? 1 : 0);
    }
}

// Words typed in turn into one engine: the last one's decision.
struct LastWordCase {
    const char* name;
    std::vector<Typed> typed;  // the last one is the word asked about
    const char* expected;      // "" when the word stays
};

void expectLastWords(const char* languages, const std::vector<LastWordCase>& cases) {
    for (const LastWordCase& c : cases) {
        SCOPED_TRACE(c.name);
        Engine e = quillom::test::shippedEngine(languages);
        ASSERT_TRUE(e) << "no rules file at " << QUILLOM_RULES_FILE;
        Answer last;
        for (const Typed& t : c.typed) last = evaluateInText(e.get(), t);
        EXPECT_EQ(last.text, c.expected);
        EXPECT_EQ(last.shouldCorrect, *c.expected ? 1 : 0);
    }
}

// In English text a term English does not list stays when its reading is a
// word Russian or Ukrainian uses rarely, or none (fps is no азы, rect no
// кусе); a frequent reading, a word after a Russian one, a word after fewer
// English words than a sentence has (ok привет) and a word at a text's start
// are still corrected.
TEST_F(FalseCorrections, TermsOfEnglishTextWithRareReadingsStay) {
    const std::string space = " ";
    const std::vector<LastWordCase> cases = {
        {"a rare reading in a sentence",
         {{"the", "en", {}}, {"frame", "en", space}, {"rate", "en", space}, {"fps", "en", space}},
         ""},
        {"a reading listed without rank",
         {{"in", "en", {}}, {"the", "en", space}, {"drawing", "en", space}, {"rect", "en", space}},
         ""},
        {"a frequent reading",
         {{"in", "en", {}}, {"the", "en", space}, {"word", "en", space}, {"lkz", "en", space}},
         "для"},
        {"a rare reading after two English words",
         {{"the", "en", {}}, {"profile", "en", space}, {"fps", "en", space}},
         "азы"},
        {"a frequent word of chat after a word", {{"ok", "en", {}}, {"ghbdtn", "en", space}}, "привет"},
        {"a rare reading after a Russian word", {{"ghbdtn", "en", {}}, {"fps", "en", space}}, "азы"},
        {"a rare reading at a text's start", {{"fps", "en", {}}}, "азы"},
    };
    expectLastWords(R"(["en", "ru"])", cases);
    // A word English lists is no exception: its apostrophe key reads as є.
    expectLastWords(
        R"(["en", "uk", "ru"])",
        {{"a listed word", {{"in", "en", {}}, {"the", "en", space}, {"old", "en", space}, {"CVS'", "en", space}}, ""}});
}

// Two letters their language does not list (ye, Jr., щи) stay where the last
// words are of it: their readings (ну, Ок., ob) are listed, but two letters
// tell too little against the text. After a Russian word or at a text's
// start they are corrected as before.
TEST_F(FalseCorrections, TwoLettersOfTheTextsLanguageStay) {
    const std::string space = " ";
    const std::vector<LastWordCase> cases = {
        {"after two English words", {{"For", "en", {}}, {"if", "en", space}, {"ye", "en", space}}, ""},
        {"with a full stop", {{"Mr.", "en", {}}, {"Wendell", "en", space}, {"Jr.", "en", space}}, ""},
        // Both Cyrillic layouts type щи, and Ukrainian, though not active,
        // reads it too: Russian text keeps it whichever was asked.
        {"in Russian text", {{"очень", "ru", {}}, {"люблю", "ru", space}, {"щи", "ru", space}}, ""},
        {"after Russian words", {{"ghbdtn", "en", {}}, {"rfr", "en", space}, {"ye", "en", space}}, "ну"},
        {"at a text's start", {{"ye", "en", {}}}, "ну"},
    };
    expectLastWords(R"(["en", "ru"])", cases);
}

// A word the lexicon lacks that is one of its language's words short of the
// last letter (рун: руна, руны) is a form of that word in text of its
// language, though it reads as a frequent English word; at a text's start
// or after English words it is corrected as before.
TEST_F(FalseCorrections, FormsOfListedWordsStayInTheirText) {
    const std::string space = " ";
    const std::vector<LastWordCase> cases = {
        {"in Russian text", {{"искусство", "ru", {}}, {"рун", "ru", space}}, ""},
        {"with a comma", {{"искусство", "ru", {}}, {"рун,", "ru", space}}, ""},
        {"at a text's start", {{"рун", "ru", {}}}, "hey"},
        {"after an English word", {{"еру", "ru", {}}, {"рун", "ru", space}}, "hey"},
    };
    expectLastWords(R"(["en", "ru"])", cases);
}

// After the user changed the script by hand, a correction needs a listed
// word of four letters or more to stand against it; a form the lexicon
// holds with no frequency estimate is none (srcs would read as іксі).
TEST_F(FalseCorrections, AFormWithNoFrequencyDoesNotOverrideAChangeOfScript) {
    const std::string space = " ";
    const std::vector<LastWordCase> cases = {
        {"a form listed with no frequency", {{"Ігнорування", "uk", {}}, {"srcs", "en", space}}, ""},
        {"a ranked word", {{"Ігнорування", "uk", {}}, {"ckjdj", "en", space}}, "слово"},
    };
    expectLastWords(R"(["en", "uk", "ru"])", cases);
}

// A reading beginning with a letter no word begins with (ь, ъ, ы) is no
// word the target does not list, whatever its letters score; a shifted key
// before the word (<scnhjt is Быстрое) reads as the letter it gives.
TEST_F(FalseCorrections, AReadingBeginningWithNoWordsLetterStays) {
    const std::vector<LastWordCase> cases = {
        {"a term read as ькуйт", {{"mreqn", "en", {}}}, ""},
        {"a word after a shifted key", {{"<scnhjt", "en", {}}}, "Быстрое"},
    };
    expectLastWords(R"(["en", "ru"])", cases);
}

// A program's or a function's name the technical list holds stays, at a
// text's start too, when its reading is no word of the target; one whose
// reading the target lists is that word, unless English text is being typed.
TEST_F(FalseCorrections, TechnicalWordsStay) {
    const std::string space = " ";
    expectLastWords(R"(["en", "ru"])",
                    {
                        {"a function's name", {{"fcntl", "en", {}}}, ""},
                        {"a program's name", {{"wdctl", "en", {}}}, ""},
                        {"after a Russian word corrected", {{"ghbdtn", "en", {}}, {"brctl", "en", space}}, ""},
                        {"a reading the target lists", {{"ds", "en", {}}}, "вы"},
                    });
    expectLastWords(R"(["en", "uk", "ru"])",
                    {
                        {"with a full stop in English text",
                         {{"consistent", "en", {}}, {"with", "en", space}, {"ls.", "en", space}},
                         ""},
                        {"a reading the target lists at a text's start", {{"ls.", "en", {}}}, "дію"},
                    });
}

}  // namespace
