// Words of one Cyrillic language typed on the layout of the other, through
// the C interface with the shipped rules file: each table holds words of the
// class and words beside it that must keep their decision.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillom.hpp"
#include "shipped_engine.h"

namespace {

using Engine = quillom::cabi::EnginePtr;

struct Typed {
    const char* word;
    const char* layout;
};

// Words kept as typed that count for one language.
const std::vector<Typed> kUkrainianOnRu = {{"Вона", "ru"}, {"дуже", "ru"}, {"хоче", "ru"}, {"побачити", "ru"}};
const std::vector<Typed> kUkrainianOnUk = {{"Вона", "uk"}, {"дуже", "uk"}, {"хоче", "uk"}, {"побачити", "uk"}};
const std::vector<Typed> kRussianOnUk = {{"Она", "uk"}, {"очень", "uk"}, {"хочет", "uk"}, {"увидеть", "uk"}};
const std::vector<Typed> kRussianOnRu = {{"Она", "ru"}, {"очень", "ru"}, {"хочет", "ru"}, {"увидеть", "ru"}};

struct Case {
    const char* name;
    std::vector<Typed> before;
    Typed word;
    const char* expected;  // "" when the word stays
};

class SameScript : public ::testing::Test {
protected:
    static Engine create(const char* languages) { return quillom::test::shippedEngine(languages); }
    static std::string evaluate(qm_engine* e, const Typed& t, bool* corrected = nullptr) {
        const quillom::test::ContextDecision d = quillom::test::evaluateContext(e, t.word, t.layout);
        if (corrected) *corrected = d.corrected;
        return d.text;
    }
    void run(const char* languages, const std::vector<Case>& cases) {
        for (const Case& c : cases) {
            Engine e = create(languages);
            if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
            for (const Typed& t : c.before) EXPECT_EQ(evaluate(e.get(), t), "") << c.name << ": " << t.word;
            bool corrected = false;
            EXPECT_EQ(evaluate(e.get(), c.word, &corrected), c.expected) << c.name;
            EXPECT_EQ(corrected, *c.expected != '\0') << c.name;
        }
    }
};

constexpr const char* kBilingualUser = R"(["en", "uk", "ru"])";
constexpr const char* kRussianUser = R"(["en", "ru"])";

// In text settled in one language, a word typed on the other layout of the
// script that no language lists (a name, a rare form, words joined by
// capitals) is its reading there, when the typed word is no word of its own
// layout's language either.
TEST_F(SameScript, AnUnlistedReadingInSettledTextIsCorrected) {
    run(kBilingualUser, {
                            {"a Ukrainian name", kUkrainianOnRu, {"Анкорыдж", "ru"}, "Анкорідж"},
                            {"a rare Ukrainian form", kUkrainianOnRu, {"быблыотековий", "ru"}, "бібліотековий"},
                            {"a Russian name", kRussianOnUk, {"Єленсефар", "uk"}, "Эленсефар"},
                            {"a rare Russian form", kRussianOnUk, {"многопальцевіе", "uk"}, "многопальцевые"},
                            // The full stop and comma keys are alike on both layouts.
                            {"before a comma", kRussianOnUk, {"Єленсефар,", "uk"}, "Эленсефар,"},
                            {"before a full stop", kUkrainianOnRu, {"Анкорыдж.", "ru"}, "Анкорідж."},
                            // Capitals that join words of the text's language.
                            {"joined words", kRussianOnUk, {"ПараметріСервис", "uk"}, "ПараметрыСервис"},
                            {"a word in capitals", kRussianOnUk, {"БАЗІ", "uk"}, "БАЗЫ"},
                        });
}

// The same words stay where nothing says the user writes the other language,
// or the user chose the layout.
TEST_F(SameScript, AnUnlistedWordStaysWithoutTextOfTheOtherLanguage) {
    std::vector<Typed> withRussianOnRu = kUkrainianOnUk;
    withRussianOnRu.push_back({"Это", "ru"});
    run(kBilingualUser, {
                            {"at the start of a text", {}, {"Анкорыдж", "ru"}, ""},
                            {"after one word", {{"дуже", "ru"}}, {"Анкорыдж", "ru"}, ""},
                            {"in Russian text", kRussianOnRu, {"Анкорыдж", "ru"}, ""},
                            {"in Ukrainian text", kUkrainianOnUk, {"Єленсефар", "uk"}, ""},
                            {"after a change of layout by hand", kUkrainianOnUk, {"Анкорыдж", "ru"}, ""},
                            {"words after a change of layout by hand", withRussianOnRu, {"Анкорыдж", "ru"}, ""},
                            {"joined with a word of neither", kRussianOnUk, {"ПараметріЗвіт", "uk"}, ""},
                            {"capitals after a change of layout by hand", kRussianOnRu, {"БАЗІ", "uk"}, ""},
                            {"two capitals", kRussianOnUk, {"ТІ", "uk"}, ""},
                            // A quote at the edge is no key of ё: not вызововёё.
                            {"between quotes", kRussianOnUk, {"візовов''", "uk"}, ""},
                        });
    // A mark reached some other way on the Russian layout is no key of ё,
    // also after a word typed on the US layout.
    std::vector<Typed> withEnglish = kRussianOnRu;
    withEnglish.push_back({"Windows", "en"});
    run(kRussianUser, {{"a name with an apostrophe", kRussianOnRu, {"Капу'е", "ru"}, ""},
                       {"after an English word", withEnglish, {"Капу'е", "ru"}, ""}});
}

// The key of "/" on the Russian layout gives Ґ on the Ukrainian one: between
// the words of a Russian pair, or before a path typed on the US layout, it is
// the slash, and the words around it are read on the Russian layout.
TEST_F(SameScript, TheSlashKeyTypedOnTheUkrainianLayoutIsTheSlash) {
    run(kBilingualUser, {
                            {"a pair in Russian text", kRussianOnUk, {"иҐили", "uk"}, "и/или"},
                            {"abbreviations", kRussianOnUk, {"вкл.Ґвікл.", "uk"}, "вкл./выкл."},
                            {"a path", kRussianOnUk, {"Ґetc", "en"}, "/etc"},
                            {"a path after a tilde", kRussianOnUk, {"~Ґ.config", "en"}, "~/.config"},
                            // Words only Russian lists say so at the start of a text.
                            {"a Russian pair alone", {}, {"ПоказатьҐскріть", "uk"}, "Показать/скрыть"},
                        });
}

TEST_F(SameScript, TheKeysLetterStaysWhereItOpensOrSpellsAWord) {
    run(kBilingualUser, {
                            {"a capitalised word", kRussianOnUk, {"Ґрунт", "uk"}, ""},
                            {"a quoted word", kRussianOnUk, {"\"Ґрунт\"", "uk"}, ""},
                            {"capitals", kRussianOnUk, {"ҐРУНТ", "uk"}, ""},
                            {"inside capitals", kRussianOnUk, {"АҐРУС", "uk"}, ""},
                            {"a Russian and a Ukrainian word", {}, {"скрітьҐніч", "uk"}, ""},
                            {"a pair in Ukrainian text", kUkrainianOnUk, {"такҐні", "uk"}, ""},
                            {"a path at the start of a text", {}, {"Ґetc", "en"}, ""},
                            {"one key a letter, one a mark", kRussianOnUk, {"ҐкурсивҐ,", "uk"}, ""},
                        });
}

}  // namespace
