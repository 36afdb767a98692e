// Classes of words the shipped rules file used to get wrong, through the C
// interface: each table holds words of the class and words beside it that
// must keep their decision.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "quillom.hpp"
#include "shipped_engine.h"

namespace {

using Engine = quillom::cabi::EnginePtr;
using Owned = quillom::cabi::OwnedString;

using Decision = quillom::test::ContextDecision;

class ShippedRules : public ::testing::Test {
protected:
    static Engine create(const char* languages) { return quillom::test::shippedEngine(languages); }
    static Decision evaluate(qm_engine* e, const char* word, const char* layout) {
        return quillom::test::evaluateContext(e, word, layout);
    }
    // A word typed on a layout, each in an engine of its own for the user's
    // languages, and what it becomes ("" when it stays).
    struct WordCase {
        const char* languages;
        const char* layout;
        const char* word;
        const char* expected;
    };
    static void expectWords(std::initializer_list<WordCase> cases) {
        for (const WordCase& c : cases) {
            Engine e = create(c.languages);
            if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
            EXPECT_EQ(evaluate(e.get(), c.word, c.layout).text, c.expected) << c.word << " with " << c.languages;
        }
    }
    // A word typed on a layout after the words before it on the same layout,
    // in an engine of its own for the user's languages.
    struct WordAfterCase {
        const char* languages;
        std::vector<const char*> before;
        const char* layout;
        const char* word;
        const char* expected;
    };
    static void expectWordsAfter(std::initializer_list<WordAfterCase> cases) {
        for (const WordAfterCase& c : cases) {
            Engine e = create(c.languages);
            if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
            for (const char* word : c.before) evaluate(e.get(), word, c.layout);
            EXPECT_EQ(evaluate(e.get(), c.word, c.layout).text, c.expected) << c.word << " after " << c.before.size();
        }
    }
    // A selection typed on the US layout converted to a target language.
    struct SelectionCase {
        const char* languages;
        const char* target;
        const char* typed;
        const char* expected;
    };
    static void expectSelections(std::initializer_list<SelectionCase> cases) {
        for (const SelectionCase& c : cases) {
            Engine e = create(c.languages);
            if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
            char target[16];
            Owned s(qm_engine_convert_selection_to(e.get(), c.typed, c.target, target, sizeof target));
            ASSERT_NE(s, nullptr) << c.typed;
            EXPECT_STREQ(s.get(), c.expected) << c.typed;
        }
    }
    // The same converted with no language given: the engine chooses the target.
    static void expectSmartSelections(std::initializer_list<SelectionCase> cases) {
        for (const SelectionCase& c : cases) {
            Engine e = create(c.languages);
            if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
            char target[16];
            Owned s(qm_engine_convert_selection(e.get(), c.typed, nullptr, target, sizeof target));
            ASSERT_NE(s, nullptr) << c.typed;
            EXPECT_STREQ(s.get(), c.expected) << c.typed;
            EXPECT_STREQ(target, c.target) << c.typed;
        }
    }
};

constexpr const char* kRussianUser = R"(["en", "ru"])";
constexpr const char* kUkrainianUser = R"(["en", "uk", "ru"])";

// A word typed on the Russian layout that Russian lists stays, though read
// from the Ukrainian layout its keys score as no word and their English
// reading as a name or a plausible string; a real English word typed on the
// Russian layout is still corrected, and so are the same keys typed on the
// Ukrainian layout, whose language does not list them.
TEST_F(ShippedRules, AListedRussianWordIsNoUkrainianGibberishToTurnIntoEnglish) {
    struct Case {
        const char* word;
        const char* layout;
        const char* expected;  // "" when the word stays
    } cases[] = {
        {"ешь", "ru", ""},        {"ищешь", "ru", ""},          {"ешьте", "ru", ""},
        {"руддщ", "ru", "hello"}, {"ьщктштп", "ru", "morning"}, {"ьщктштп", "uk", "morning"},
    };
    for (const char* languages : {kRussianUser, kUkrainianUser}) {
        Engine e = create(languages);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const Case& c : cases) {
            if (languages == kRussianUser && std::string(c.layout) == "uk") continue;
            const Decision d = evaluate(e.get(), c.word, c.layout);
            EXPECT_EQ(d.text, c.expected) << c.word << " with " << languages;
            EXPECT_EQ(d.corrected, *c.expected != '\0') << c.word << " with " << languages;
            qm_engine_reset_context(e.get());
        }
    }
}

// A quote typed before a capitalised word on the US layout is a quote: as the
// letter of its key (Э) the word would read with two capitals (ЭРу, ЭТо).
// The same keys cased as a Cyrillic word is ("he, Эру) are still that word.
TEST_F(ShippedRules, AQuoteBeforeACapitalisedWordStaysAQuote) {
    struct Case {
        const char* word;
        const char* expected;
    } cases[] = {
        {"\"He", ""}, {"\"Nj", "\"То"}, {"\"he", "Эру"}, {"\"nj", "Это"}, {"\"Pfkbgf.obt", "\"Залипающие"},
    };
    Engine e = create(kRussianUser);
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    for (const Case& c : cases) {
        const Decision d = evaluate(e.get(), c.word, "en");
        EXPECT_EQ(d.text, c.expected) << c.word;
        EXPECT_EQ(d.corrected, *c.expected != '\0') << c.word;
        qm_engine_reset_context(e.get());
    }
}

// A word kept at the start of a text because nothing supported its far more
// frequent reading (Туче, Next) is taken along by the next word corrected
// into that language, whichever that word is; after words of its own language
// it stays.
TEST_F(ShippedRules, AWordKeptForWantOfContextIsTakenAlong) {
    struct Case {
        std::vector<const char*> before;  // typed on the Russian layout, kept
        const char* next;                 // corrected to English
        const char* expected;
    } cases[] = {
        {{"Туче"}, "здфттштп", "Next"},
        {{"Туче"}, "Ьфсьшддфт", "Next"},
        {{"Туче"}, "икшву", "Next"},
        {{"Вчера", "было", "Туче"}, "здфттштп", ""},
    };
    for (const Case& c : cases) {
        Engine e = create(kRussianUser);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const char* word : c.before) EXPECT_FALSE(evaluate(e.get(), word, "ru").corrected) << word;
        EXPECT_TRUE(evaluate(e.get(), c.next, "ru").corrected) << c.next;
        Owned s(qm_engine_correct_word_before(e.get(), c.before.back(), c.next, "en"));
        ASSERT_NE(s, nullptr);
        EXPECT_STREQ(s.get(), c.expected) << c.before.size() << " words before " << c.next;
    }
}

// A capital and the key of a colon typed on a Cyrillic layout are the letter
// of an English question, answer or heading, though the letter is a word
// alone (В); with the key of a full stop they may be a word (Ею) and stay.
TEST_F(ShippedRules, ACapitalWithTheColonKeyIsAHeadingLetter) {
    struct Case {
        const char* word;
        const char* expected;
    } cases[] = {
        {"ЙЖ", "Q:"}, {"ФЖ", "A:"}, {"ВЖ", "D:"}, {"Уж", ""},  // a word; the lower-case key is a semicolon
        {"Ею", ""},                                            // a word
        {"ЮЖ", ""},                                            // a mark, no letter
        {"СШ", ""},                                            // the keys of no mark
    };
    for (const char* languages : {kRussianUser, kUkrainianUser}) {
        Engine e = create(languages);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const Case& c : cases) {
            const Decision d = evaluate(e.get(), c.word, "ru");
            EXPECT_EQ(d.text, c.expected) << c.word << " with " << languages;
            qm_engine_reset_context(e.get());
        }
    }
}

// The colon key after a word that is also a Russian word (руку, Лун), typed
// in English text, is the colon, and the quote key before a capitalised one
// (Еру) is the quote: a capital after lower-case letters, or two capitals
// before them, are cased as no Russian word is. The word then decides as a
// word of its own: руку needs English words before it, Еру none.
TEST_F(ShippedRules, MarkKeysAtATwinsEdgesAreMarks) {
    expectWordsAfter({
        {kRussianUser, {"еру", "цщкв"}, "ru", "рукуЖ", "here:"},
        {kRussianUser, {"еру", "цщкв"}, "ru", "ЛунЖ", "Key:"},
        {kRussianUser, {}, "ru", "рукуЖ", ""},
        {kRussianUser, {"привет"}, "ru", "рукуЖ", ""},
        {kRussianUser, {"еру", "цщкв"}, "ru", "ЭЕру", "\"The"},
        {kRussianUser, {}, "ru", "ЭЕру", "\"The"},
        {kRussianUser, {"привет"}, "ru", "ЭЕру", ""},
    });
}

// Full stop keys typed on a Cyrillic layout before an English word are an
// ellipsis opening it; the keys alone, or before no English word, stay.
TEST_F(ShippedRules, FullStopKeysBeforeAnEnglishWordAreAnEllipsis) {
    struct Case {
        const char* word;
        const char* expected;
    } cases[] = {
        {"юююсфттще", "...cannot"},
        {"ююцрфе", "..what"},
        {"ююю", ""},    // the keys alone
        {"ююмир", ""},  // a Russian word after them
    };
    Engine e = create(kRussianUser);
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    for (const Case& c : cases) {
        EXPECT_EQ(evaluate(e.get(), c.word, "ru").text, c.expected) << c.word;
        qm_engine_reset_context(e.get());
    }
}

// Marks the Ukrainian layout lacks, typed as themselves on the US layout in
// Ukrainian text, stay in a converted selection where the keys around them
// show them meant so; the same keys inside words are letters, and full stops
// after an abbreviation's letter or before a capital, and semicolons between
// numbers, stay what the Ukrainian layout gives.
TEST_F(ShippedRules, ASelectionKeepsTheMarksTypedAsThemselves) {
    struct Case {
        const char* typed;
        const char* expected;
    } cases[] = {
        {"Dslrhbnb ljrevtyn/dt,-cnjhsyre", "Відкрити документ/веб-сторінку"},
        {"Yt scye' $1$/", "Не існує $1$."},
        {"Ytvj;kbdj jnhbvfnb cnjdgws `#`/", "Неможливо отримати стовпці '#'."},
        {"Gjlbdbcm [1] nf [2]", "Подивись [1] та [2]"},
        {"Yfkfinedfyyz > Cby[hjyspfwsz", "Налаштування > Синхронізація"},
        {"Gbisnm yf fkf@gjinf", "Пишіть на ала@пошта"},
        // Letters and marks of the target as before.
        {"Dbkbnb ][ ,t; n/l/", "Вилити їх беж т.д."},
        {"Yjvth #5 e [fnb", "Номер #5 у хати"},
        {"Wt ^ pfgbn? cnjznm $ ghj", "Це : запит, стоять ; про"},
        {"Vtht;f/Dslrhbnb 19$197$248 255-19$ 1", "Мережа/Відкрити 19;197;248 255-19; 1"},
    };
    Engine e = create(kUkrainianUser);
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    for (const Case& c : cases) {
        char target[16];
        Owned s(qm_engine_convert_selection_to(e.get(), c.typed, "uk", target, sizeof target));
        ASSERT_NE(s, nullptr) << c.typed;
        EXPECT_STREQ(s.get(), c.expected) << c.typed;
    }
}

}  // namespace

namespace {

// Quote keys typed on the US layout at the edges of a Cyrillic word are
// quotes where the keys around them tell so: at both edges, before a capital
// (эТовары is cased as no word is), or where the word without them is listed
// and with them as letters is not. Where the letter makes the listed word, it
// stays a letter.
TEST_F(ShippedRules, QuoteKeysAtAWordsEdgesAreQuotes) {
    struct Case {
        const char* languages;
        const char* word;
        const char* expected;
    } cases[] = {
        {kRussianUser, "'Njdfhs'", "'Товары'"},
        {kRussianUser, "'Njdfhs", "'Товары"},
        {kRussianUser, "'Nj", "'То"},
        {kRussianUser, "cgjcj,yjcnm.'", "способностью'"},
        {kRussianUser, "crkflf['", "складах'"},
        {kRussianUser, "'pfvjhj;tyyjv", "'замороженном"},
        {kRussianUser, "''Gfhfvtnhs''", "''Параметры''"},
        {kUkrainianUser, "`Uj,ksyfvb`", "'Гоблінами'"},
        {kUkrainianUser, "'Njdfhs'", "'Товары'"},
        // The letter at one edge makes the listed word.
        {kRussianUser, "'rjyjvbrb'", "экономики'"},
        {kRussianUser, "'njuj", "этого"},
        {kUkrainianUser, "vf'", "має"},
    };
    for (const Case& c : cases) {
        Engine e = create(c.languages);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        EXPECT_EQ(evaluate(e.get(), c.word, "en").text, c.expected) << c.word << " with " << c.languages;
    }
}

// Marks the target layout lacks, typed as themselves on the US layout inside
// Cyrillic text, stay in a converted selection alone, before a number, around
// a word or where their keys would make a word cased as none is; a mark the
// target layout has on a key of its own is that key's (the Russian full stop
// on the slash key), and the same keys inside words stay letters.
TEST_F(ShippedRules, ASelectionKeepsTheMarksItsLayoutLacks) {
    expectSelections({
        {kUkrainianUser, "uk", "Yfnbcysnm :ehyfk afqksd & Cvsnybr", "Натисніть Журнал файлів & Смітник"},
        {kUkrainianUser, "uk", "Pfvsysnm <sv`z> yf cdj' sv`z", "Замініть <ім'я> на своє ім'я"},
        {kUkrainianUser, "uk", "Rfnfkju <lfyb[> ghjgecrf'nmcz", "Каталог <даних> пропускається"},
        {kUkrainianUser, "uk", "Vjltkm <ytdshyf vjltkm> ghjgecrf'nmcz", "Модель <невірна модель> пропускається"},
        {kUkrainianUser, "uk", "Pflfxf #12 dbrjyfyf", "Задача #12 виконана"},
        {kUkrainianUser, "uk", "Ajhvfn LL/VV/HHHH", "Формат ДД/ММ/РРРР"},
        {kUkrainianUser, "uk", "Ddtlsnm [Yfpdf] afqke", "Введіть [Назва] файлу"},
        {kRussianUser, "ru", "Yjvth #2 d cgbcrt", "Номер #2 в списке"},
        {kRussianUser, "ru", "Pyfxtybt^ ' '", "Значение: ' '"},
        {kRussianUser, "ru", "D yfxfkt '86 ujlf", "В начале '86 года"},
        {kRussianUser, "ru", "Jnrhsnm afqk 'Njdfhs'", "Открыть файл 'Товары'"},
        {kRussianUser, "ru", "ghb pyfxtybz[> 16", "при значениях> 16"},
        {kRussianUser, "ru", "cjlth;fn ~ d rjywt", "содержат ~ в конце"},
        {kRussianUser, "ru", "ghtl/ghjcvjnh", "пред.просмотр"},
        {kRussianUser, "ru", "L'Fhnfymzy b J'Ybk", "Д'Артаньян и О'Нил"},
        // Letters of the target as before.
        {kRussianUser, "ru", "Ghbdtn? <f[", "Привет, Бах"},
        {kRussianUser, "ru", "<f[ b <f[ ghbdtn", "Бах и Бах привет"},
        {kRussianUser, "ru", "'nj ckjdj", "это слово"},
        {kRussianUser, "ru", "Ddjl|dsdjl", "Ввод/вывод"},
        // The Ukrainian layout has no slash: one alone between spaces is no
        // full stop; after a number it still is.
        {kUkrainianUser, "uk", "Askmnhedfyyz / cjhnedfyyz", "Фільтрування / сортування"},
        {kUkrainianUser, "uk", "Hjplsk 2/ Ntrcn", "Розділ 2. Текст"},
        // Nor is one between letters, unless it closes or opens a letter of
        // an abbreviation.
        {kUkrainianUser, "uk", "Ghjlfnb db,hfys n/p", "Продати вибрані т/з"},
        {kUkrainianUser, "uk", "Xfcnjnf rflhsd^ rl/c", "Частота кадрів: кд/с"},
        {kUkrainianUser, "uk", "askmvb? rybub n/l/", "фільми, книги т.д."},
    });
}

// English words typed on a Cyrillic layout with the possessive's keys after
// them end in letters no word there ends in (эы, єі): the word before them is
// corrected and they are 's. Words of the layout ending in one of the two
// letters, and the keys alone, stay.
TEST_F(ShippedRules, ThePossessivesKeysFollowTheWordTheyEnd) {
    expectWords({
        {kRussianUser, "ru", "Ошьэы", "Jim's"},
        {kRussianUser, "ru", "Игяяэы", "Buzz's"},
        {kUkrainianUser, "ru", "Ьшлуэы", "Mike's"},
        {kUkrainianUser, "uk", "Ошьєі", "Jim's"},
        {kUkrainianUser, "uk", "Щцдєі", "Owl's"},
        {kRussianUser, "ru", "столы", ""},
        {kRussianUser, "ru", "эы", ""},
        {kUkrainianUser, "uk", "мої", ""},
    });
}

// The possessive's keys alone, split from their word by a mark ((Jim)'s),
// are 's after words corrected into English, and stay after Russian words.
TEST_F(ShippedRules, ThePossessivesKeysAloneFollowEnglishWords) {
    struct Case {
        std::vector<const char*> before;  // typed on the Russian layout
        const char* expected;
    } cases[] = {
        {{"ыфц", "ершы", "ьщгыу"}, "'s"},
        {{"видел", "это", "слово"}, ""},
    };
    for (const Case& c : cases) {
        Engine e = create(kRussianUser);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const char* word : c.before) evaluate(e.get(), word, "ru");
        EXPECT_EQ(evaluate(e.get(), "эы", "ru").text, c.expected) << c.before.front();
    }
}

// A quote key typed on the US layout inside a word corrected into a Cyrillic
// language, between a letter and a capital, is an apostrophe: as a letter it
// would give a capital after a lower-case letter (ОэНил). Before a lower-case
// letter it stays the letter.
TEST_F(ShippedRules, AQuoteKeyBeforeACapitalInsideAWordIsAnApostrophe) {
    struct Case {
        const char* word;
        const char* expected;
    } cases[] = {
        {"J'Ybk", "О'Нил"},
        {"Fk'Nfhf", "Ал'Тара"},
        {"gj'nfv", "поэтам"},
    };
    Engine e = create(kRussianUser);
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    for (const Case& c : cases) {
        EXPECT_EQ(evaluate(e.get(), c.word, "en").text, c.expected) << c.word;
        qm_engine_reset_context(e.get());
    }
}

// Two English words joined by the slash, typed on a Cyrillic layout, read
// with the slash: the key of the Russian and Ukrainian full stop is the US
// slash. A side that is a word of the layout's language keeps the whole.
TEST_F(ShippedRules, WordsJoinedByTheSlashKeyAreReadWithTheSlash) {
    expectWords({
        {kRussianUser, "ru", "Ырщц.ршву", "Show/hide"},
        {kRussianUser, "ru", "фгвшщ.мшвущ", "audio/video"},
        {kUkrainianUser, "uk", "дуае.кшпре", "left/right"},
        {kRussianUser, "ru", "пред.просмотр", ""},
        {kRussianUser, "ru", "мир.ршву", ""},
        {kRussianUser, "ru", "т.ршву", ""},
        {kRussianUser, "en", "file.txt", ""},
    });
}

// Units typed on a Cyrillic layout: the full stop key is the US slash and
// the pieces are too short to correct alone. The abbreviations those
// languages write with full stops between one or two letters stay.
TEST_F(ShippedRules, UnitsJoinedByTheSlashKeyAreReadWithTheSlash) {
    expectWords({
        {kRussianUser, "ru", "ль.р", "km/h"},   {kUkrainianUser, "uk", "ль.р", "km/h"},
        {kRussianUser, "ru", "ль.рб", "km/h,"}, {kRussianUser, "ru", "ль.рю", "km/h."},
        {kRussianUser, "ru", "ь.ы", "m/s"},     {kRussianUser, "ru", "т.е", ""},
        {kRussianUser, "ru", "т.е.", ""},       {kRussianUser, "ru", "т.к", ""},
        {kRussianUser, "ru", "т.н", ""},        {kRussianUser, "ru", "ж.д", ""},
        {kRussianUser, "ru", "с.ш", ""},        {kRussianUser, "ru", "л.с", ""},
        {kRussianUser, "ru", "и.т.д", ""},      {kRussianUser, "ru", "кв.м", ""},
        {kRussianUser, "en", "x.y", ""},        {kUkrainianUser, "en", "m.s", ""},
        {kUkrainianUser, "uk", "т.з", ""},      {kUkrainianUser, "uk", "т.д", ""},
        {kUkrainianUser, "uk", "т.ч", ""},
    });
}

// The grave key of the US layout gives the apostrophe on the Ukrainian one,
// which Ukrainian text quotes with: at a word's edges it is the quote, kept
// as the apostrophe. Inside a word it stays a letter; on the Russian layout
// the key is ё; words that stay as typed, and two graves together, keep
// their graves.
TEST_F(ShippedRules, GraveKeysAtAUkrainianWordsEdgesAreQuotes) {
    expectWords({
        {kUkrainianUser, "en", "`xjhyj.", "'чорною"},
        {kUkrainianUser, "en", "`tkmasqcmrt`", "'ельфійське'"},
        {kUkrainianUser, "en", "vfus'.`", "магією'"},
        {kUkrainianUser, "en", "`ghbdsn`", "'привіт'"},
        {kUkrainianUser, "en", "`sv`z`", "'ім'я'"},
        {kRussianUser, "en", "`ghbdtn`", "`привет`"},
        {kUkrainianUser, "en", "`code`", ""},
        {kUkrainianUser, "en", "``Pfkbibnb", ""},
        {kUkrainianUser, "en", "`", ""},
    });
}

// The US comma and full stop are the keys of б and ю on the Russian and
// Ukrainian layouts: English words joined by them, typed there, read with the
// marks when each piece corrects on its own; capitals alone between the keys
// are an abbreviation or a list. Words of those languages hold the same
// letters: a word or piece they list keeps the whole, at a text's start, in
// English text and in Russian text alike, and so does a piece of two letters
// that reads as no frequent English word (the ть of вгадують).
TEST_F(ShippedRules, WordsJoinedByTheCommaOrFullStopKeyAreReadWithTheMarks) {
    expectWordsAfter({
        {kRussianUser, {}, "ru", "афкбвшыефтсу", "far,distance"},
        {kRussianUser, {}, "ru", "дшпребЫщае", "light,Soft"},
        {kRussianUser, {}, "ru", "вшкусешщтбПЗЫ", "direction,GPS"},
        {kRussianUser, {}, "ru", "фмашдеукюыгиешедуы", "avfilter.subtitles"},
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "ашддувюече", "filled.txt"},
        {kUkrainianUser, {}, "uk", "кфеубіщгксу", "rate,source"},
        {kUkrainianUser, {}, "uk", "ашддбТщту", "fill,None"},
        {kRussianUser, {}, "ru", "ГюЫю", "U.S."},
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "ГюЫюб", "U.S.,"},
        {kUkrainianUser, {}, "uk", "ГюІюФю", "U.S.A."},
        {kRussianUser, {"привет", "мир"}, "ru", "КбПбИ", "R,G,B"},
        {kRussianUser, {}, "ru", "штбВуыештфешщт", "in,Destination"},
        {kRussianUser, {}, "ru", "рыбак", ""},
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "вгадують", ""},
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "люблю", ""},
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "обед", ""},
        {kRussianUser, {"привет", "мир"}, "ru", "юбка", ""},
        {kUkrainianUser, {"еру", "ыщгксу", "ащк"}, "uk", "бюро", ""},
        {kUkrainianUser, {}, "uk", "робота", ""},
        {kRussianUser, {}, "ru", "афкБвшыефтсу", ""},
        {kRussianUser, {}, "ru", "ЯбЮ", ""},
        {kRussianUser, {}, "ru", "ГюЫЮ", ""},
    });
}

// Capitals holding a letter no word begins with (Ь, Ъ, Ы) make no Russian
// acronym: typed on the Russian layout they are the English one. Two letters
// want the last words' support; listed words in capitals stay.
TEST_F(ShippedRules, CapitalsNoWordBeginsWithAreTheOtherLayoutsAcronym) {
    struct Case {
        const char* word;
        const char* expected;
    } cases[] = {
        {"ЬДЕ", "MLT"}, {"ЫЫД", "SSL"}, {"ЫЬЫ", "SMS"}, {"ЬЫ", ""}, {"МЫ", ""}, {"СЕМЬЯ", ""}, {"ПЗГ", ""},
    };
    Engine e = create(kRussianUser);
    if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
    for (const Case& c : cases) {
        EXPECT_EQ(evaluate(e.get(), c.word, "ru").text, c.expected) << c.word;
        qm_engine_reset_context(e.get());
    }
}

// The Russian slash is the bar key of the US layout: pieces joined by it are
// read on the Russian layout when one reads as a Russian word or the text is
// Russian; Latin pieces of a path stay, bars between Latin words stay, and a
// bar closing a word is the bar.
TEST_F(ShippedRules, TheBarKeyBetweenRussianWordsIsTheSlash) {
    struct Case {
        std::vector<const char*> before;  // typed on the US layout
        const char* word;
        const char* expected;
    } cases[] = {
        {{}, "Drk|dsrk", "Вкл/выкл"},
        {{}, "Jnj,hfpbnm|crhsnm", "Отобразить/скрыть"},
        {{}, "rv|x", "км/ч"},
        {{}, "cat|dog", ""},
        {{}, "{pre|post}", ""},
        {{}, "|etc", ""},
        {{"ghbdtn", "vbh"}, "|etc", "/etc"},
        {{"ghbdtn", "vbh"}, "GFRTN|copyright", "ПАКЕТ/copyright"},
        {{"ghbdtn", "vbh"}, "gthdsq|", "первый|"},
        {{"ghbdtn", "vbh"}, "jnghfdktybq|ghb,snbq", "отправлений/прибытий"},
    };
    for (const Case& c : cases) {
        Engine e = create(kRussianUser);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const char* word : c.before) evaluate(e.get(), word, "en");
        EXPECT_EQ(evaluate(e.get(), c.word, "en").text, c.expected) << c.word;
    }
}

// A selection typed on the US layout keeps the English words in it as typed
// (the user typed them there as meant) when the target reads them as no
// word, and the keys of a combination after one (Ctrl+C); capitals English
// hardly uses, English words of two letters and words that read as the
// target's are converted.
TEST_F(ShippedRules, ASelectionKeepsTheEnglishWordsInIt) {
    expectSelections({
        {kUkrainianUser, "uk", "dbrjhbcnjdeqnt Linux nf Windows", "використовуйте Linux та Windows"},
        {kUkrainianUser, "uk", "Ghb'lyfqnt USB-yfrjgbxedfx", "Приєднайте USB-накопичувач"},
        {kRussianUser, "ru", "Pfgecnbnt Firefox", "Запустите Firefox"},
        {kRussianUser, "ru", "Gfrtn rfhn lkz VG", "Пакет карт для МП"},
        {kRussianUser, "ru", "Hf[ By Vfh", "Рах Ин Мар"},
        {kRussianUser, "ru", "Ghbdtn vbh", "Привет мир"},
        // The keys of a combination after such a word stay Latin too.
        {kUkrainianUser, "uk", "Yfnbcysnm Ctrl+Shift+T", "Натисніть Ctrl+Shift+T"},
        {kUkrainianUser, "uk", "Yfnbcysnm Alt+F4 lkz db[jle", "Натисніть Alt+F4 для виходу"},
        {kRussianUser, "ru", "Yf;vbnt Ctrl+C", "Нажмите Ctrl+C"},
        {kRussianUser, "ru", "ghbdtn+vbh", "привет+мир"},
    });
}

// A selection converted with no language given, with Russian and Ukrainian
// both active: where no list ranks the words the two read differently, their
// letters choose (-ный, not -ній); a pair of quotes typed alone is no є є of
// Ukrainian outweighing the Russian words around it, one such key is є.
// Words a list tells keep their language.
TEST_F(ShippedRules, ASelectionsLettersChooseBetweenRussianAndUkrainian) {
    expectSmartSelections({
        {kUkrainianUser, "ru", "Uthvtnbxysq", "Герметичный"},
        {kUkrainianUser, "ru", "Ghjnbdjnjxysq rkfgfy", "Противоточный клапан"},
        {kUkrainianUser, "ru", "Ujcnm ' ' ds[jlbn/", "Гость ' ' выходит."},
        {kUkrainianUser, "ru", "Afqk ' ' elfkty/", "Файл ' ' удален."},
        {kUkrainianUser, "uk", "Uthvtnbxybq", "Герметичний"},
        {kUkrainianUser, "uk", "Uthvtnbxyscnm", "Герметичність"},
        {kUkrainianUser, "uk", "Ujcnbyyf rsvyfnf", "Гостинна кімната"},
        {kUkrainianUser, "uk", "Ldjyjus", "Двоногі"},
        {kUkrainianUser, "uk", "Wt ' ghbrkfl/", "Це є приклад."},
        {kUkrainianUser, "ru", "Ghbdtn vbh", "Привет мир"},
        {kUkrainianUser, "uk", "Ghbdsn cdsn", "Привіт світ"},
    });
}

// Capitals typed on a Cyrillic layout that its languages do not list are an
// English acronym in English text; at a text's start, after Russian words
// and when a Cyrillic language lists them they stay. Latin capitals in
// Russian text are a Russian acronym only when Russian lists it (ВВС).
TEST_F(ShippedRules, CapitalsInTheTargetsTextAreItsAcronym) {
    expectWordsAfter({
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "ПЗГ", "GPU"},
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "ИИС", "BBC"},
        {kRussianUser, {"еру", "ыщгксу", "ащк"}, "ru", "США", ""},
        {kRussianUser, {}, "ru", "ПЗГ", ""},
        {kRussianUser, {"привет", "мир"}, "ru", "ПЗГ", ""},
        {kRussianUser, {"ghbdtn", "vbh"}, "en", "GPU", ""},
        {kRussianUser, {"ghbdtn", "vbh"}, "en", "DDC", "ВВС"},
        {kRussianUser, {}, "en", "DDC", ""},
    });
}

// A word no language of its script lists, typed on the layout the words just
// before were each corrected from into one language (the switch of layout did
// not take), is a name or an interjection of that language. Not after a
// single correction, nor after a word kept on the target's layout, nor when
// the word scores as a word of its own script above its reading (ceps), its
// reading begins with a letter that begins no word (Ьина) or its apostrophe
// was typed as one.
TEST_F(ShippedRules, AnUnlistedWordInARunOfCorrectionsFromItsLayoutIsCorrected) {
    struct Typed {
        const char* word;
        const char* layout;
    };
    struct Case {
        const char* languages;
        std::vector<Typed> before;  // corrected when typed on the case's layout, kept otherwise
        const char* layout;
        const char* word;
        const char* expected;
    } cases[] = {
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}, {"ltkf", "en"}}, "en", "Fitdbh", "Ашевир"},
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}}, "en", "Ytrcec", "Нексус"},
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}}, "en", "{vvv", "Хммм"},
        {kUkrainianUser, {{"ghbdsn", "en"}, {"zr", "en"}, {"cghfdb", "en"}}, "en", "Fitdsh", "Ашевір"},
        {kUkrainianUser, {{"ghbdsn", "en"}, {"zr", "en"}}, "en", "Fklesy", "Алдуін"},
        {kRussianUser, {{"руддщ", "ru"}, {"цщкдв", "ru"}}, "ru", "Ефифрт", "Tabahn"},
        {kRussianUser, {{"ghbdtn", "en"}}, "en", "Fitdbh", ""},
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}, {"дела", "ru"}}, "en", "Fitdbh", ""},
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}}, "en", "ceps", ""},
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}}, "en", "Mbyf", ""},
        // A rare English word in such a run is the Russian word too.
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}}, "en", "verb", "муки"},
        {kRussianUser, {{"ghbdtn", "en"}}, "en", "verb", ""},
        {kRussianUser, {{"ghbdtn", "en"}, {"rfr", "en"}}, "en", "Fk'neyhfy", ""},
    };
    for (const Case& c : cases) {
        Engine e = create(c.languages);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const Typed& t : c.before)
            ASSERT_EQ(evaluate(e.get(), t.word, t.layout).corrected, std::string(t.layout) == c.layout) << t.word;
        EXPECT_EQ(evaluate(e.get(), c.word, c.layout).text, c.expected) << c.word << " after " << c.before.size();
    }
}

// Capitals typed with a shifted mark key among them that the layout gives as
// a capital (U< is ГБ, the shifted comma key being Б's) are an abbreviation
// of the target where it lists them and the last words support it; at a
// text's start, after English words or in small letters they stay.
TEST_F(ShippedRules, CapitalsWithShiftedLetterKeysReadAsAnAbbreviation) {
    expectWordsAfter({
        {kUkrainianUser, {"ghbdsn", "zr"}, "en", "U<", "ГБ"},
        {kUkrainianUser, {"ghbdsn", "zr"}, "en", "C<E", "СБУ"},
        {kRussianUser, {"ghbdtn", "rfr"}, "en", "V<", "МБ"},
        {kUkrainianUser, {}, "en", "U<", ""},
        {kUkrainianUser, {"we", "saw"}, "en", "U<", ""},
        {kUkrainianUser, {"ghbdsn", "zr"}, "en", "u<", ""},
    });
}

// A word with a letter typed three times or more in a row, typed on the other
// script's layout, is read with its runs cut: F[[[[ is Ахххх (ах), Ltdeirfff
// Девушкааа. Its runs stay as typed. A word of letters whose cut reading is
// three letters or fewer (Hmmm, Zzzz, Grrr, Pfff) may be its own language's
// interjection and is corrected only where the last words favour the target;
// a word whose cut is a word of its own language (Ммм, Ааа) stays, also where
// its other reading scores as a word of the other script (Heyyy, Нууу, not
// Руннн, Yeee), while English stretched on the Russian layout (Ыщщщщщ) and a
// run read as marks (шеююю, it...) are still corrected. Two letters said
// three times ({F{F{F, ХАХАХА) are read as the word of their syllable.
TEST_F(ShippedRules, AStretchedWordIsReadWithItsRunsCut) {
    struct Typed {
        const char* word;
        const char* layout;
        bool corrected;
    };
    struct Case {
        const char* languages;
        std::vector<Typed> before;
        const char* layout;
        const char* word;
        const char* expected;
    } cases[] = {
        {kRussianUser, {}, "en", "F[[[[", "Ахххх"},
        {kRussianUser, {}, "en", "ccccltkre", "ссссделку"},
        {kRussianUser, {}, "en", "t;;;tkb", "ежжжели"},
        {kRussianUser, {}, "en", "Ltdeirfff", "Девушкааа"},
        {kUkrainianUser, {}, "en", "geuf.oootq", "пугающщщей"},
        {kRussianUser, {{"ghbdtn", "en", true}}, "en", "Fffff", "Ааааа"},
        {kRussianUser, {{"ghbdtn", "en", true}}, "en", "Ffff[", "Аааах"},
        {kRussianUser, {{"руддщ", "ru", true}}, "ru", "Црнннн", "Whyyyy"},
        {kRussianUser, {}, "en", "Fffff", ""},
        {kRussianUser, {}, "en", "Hmmm", ""},
        {kRussianUser, {}, "en", "Zzzz", ""},
        {kRussianUser, {}, "en", "Pfff", ""},
        {kRussianUser, {{"hello", "en", false}, {"there", "en", false}}, "en", "Fffff", ""},
        {kRussianUser, {{"hello", "en", false}, {"there", "en", false}}, "en", "Ahhh", ""},
        {kRussianUser, {{"hello", "en", false}, {"there", "en", false}}, "en", "Grrr", ""},
        {kRussianUser, {{"hello", "en", false}, {"there", "en", false}}, "en", "sooo", ""},
        {kRussianUser, {{"привет", "ru", false}}, "ru", "Ммм", ""},
        {kRussianUser, {{"привет", "ru", false}}, "ru", "Ааааа", ""},
        {kUkrainianUser, {{"привіт", "uk", false}}, "uk", "Ааа", ""},
        {kRussianUser, {}, "ru", "Ыщщщщщ", "Sooooo"},
        {kRussianUser, {}, "ru", "шеююю", "it..."},
        {kRussianUser, {}, "en", "Ghbdtnnn", "Приветтт"},
        {kRussianUser, {}, "en", "Heyyy", ""},
        {kRussianUser, {}, "ru", "Ууууу", ""},
        {kRussianUser, {{"привет", "ru", false}}, "ru", "Нууу", ""},
        {kUkrainianUser, {}, "ru", "Фууу", ""},
        // One letter stretched is the text's own interjection where the last
        // words favour its language.
        {kUkrainianUser, {{"привіт", "uk", false}}, "uk", "шшш", ""},
        {kRussianUser, {{"тише", "ru", false}}, "ru", "шшшш", ""},
        {kRussianUser, {}, "en", "{F{F{F", "ХАХАХА"},
        {kUkrainianUser, {}, "en", "[f[f[f", "хахаха"},
        {kRussianUser, {}, "en", "hahaha", ""},
        {kRussianUser, {}, "ru", "Хахаха", ""},
    };
    for (const Case& c : cases) {
        Engine e = create(c.languages);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const Typed& t : c.before) ASSERT_EQ(evaluate(e.get(), t.word, t.layout).corrected, t.corrected) << t.word;
        EXPECT_EQ(evaluate(e.get(), c.word, c.layout).text, c.expected) << c.word << " after " << c.before.size();
    }
}

// Names in mixed case typed on a Cyrillic layout (OpenTTD, DoCommand) read,
// cut where their case changes, as English words and capitals, while their
// typed pieces are no Cyrillic words: they are corrected, though kept as
// identifiers for their inner capitals. Where the keys of each piece pair as
// Cyrillic text does (Туц, ПКА) only English words before them tell. Cyrillic names and
// abbreviations in mixed case, and English identifiers typed on the US
// layout, stay.
TEST_F(ShippedRules, MixedCaseNamesTypedOnACyrillicLayoutAreEnglish) {
    expectWordsAfter({
        {kRussianUser, {}, "ru", "ЩзутЕЕВ", "OpenTTD"},
        {kRussianUser, {}, "ru", "ЩзутЕЕВю", "OpenTTD."},
        {kRussianUser, {}, "ru", "ВщСщььфтв", "DoCommand"},
        {kRussianUser, {}, "ru", "УтпштуШВ", "EngineID"},
        {kRussianUser, {}, "ru", "шЗрщту", "iPhone"},
        {kUkrainianUser, {}, "uk", "ЗдфнІефешщт", "PlayStation"},
        {kUkrainianUser, {}, "ru", "ЦрфеыФзз", "WhatsApp"},
        {kRussianUser, {"ещщ", "ьфтн"}, "ru", "ТуцПКА", "NewGRF"},
        {kRussianUser, {"ещщ", "ьфтн"}, "ru", "ТуцПКАы", "NewGRFs"},
        {kRussianUser, {"ещщ", "ьфтн"}, "ru", "ТуцПКАэы", "NewGRF's"},
        {kRussianUser, {}, "ru", "ТуцПКА", ""},
        {kRussianUser, {"привет", "мир"}, "ru", "ТуцПКА", ""},
        // Russian words whose keys read as English ones (руку, here) pair
        // as Russian text does within each piece.
        {kRussianUser, {}, "ru", "ЛунРуку", ""},
        {kRussianUser, {"привет", "мир"}, "ru", "ЛунРуку", ""},
        {kRussianUser, {}, "ru", "ВКонтакте", ""},
        {kRussianUser, {"ещщ", "ьфтн"}, "ru", "МегаФон", ""},
        {kRussianUser, {}, "ru", "СберБанк", ""},
        {kUkrainianUser, {}, "uk", "ПриватБанк", ""},
        {kRussianUser, {}, "ru", "ОдноКлассники", ""},
        {kRussianUser, {"ещщ", "ьфтн"}, "ru", "КамАЗ", ""},
        {kRussianUser, {}, "ru", "ГосДума", ""},
        {kRussianUser, {}, "ru", "МосГорСуд", ""},
        {kRussianUser, {}, "en", "getElementById", ""},
        {kRussianUser, {}, "en", "camelCase", ""},
        {kUkrainianUser, {}, "en", "iPhone", ""},
        {kRussianUser, {"привет", "мир"}, "en", "YouTube", ""},
    });
}

}  // namespace
