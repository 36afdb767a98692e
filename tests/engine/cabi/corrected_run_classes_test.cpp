// Words typed on the layout a run of corrections came from (the switch of
// layout did not take), through the C interface: what the run says of the
// words it holds.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "quillom.hpp"
#include "shipped_engine.h"

namespace {

using Engine = quillom::cabi::EnginePtr;

constexpr const char* kRussianUser = R"(["en", "ru"])";
constexpr const char* kUkrainianUser = R"(["en", "uk", "ru"])";

// Words typed on the US layout in turn into one engine: `corrected`, each
// corrected, then `kept`, each kept, then the word asked about.
struct RunCase {
    const char* languages;
    std::vector<const char*> corrected;
    std::vector<const char*> kept;
    const char* word;
    const char* expected;  // "" when the word stays
};

void expectAfterRuns(std::initializer_list<RunCase> cases) {
    for (const RunCase& c : cases) {
        Engine e = quillom::test::shippedEngine(c.languages);
        if (!e) GTEST_SKIP() << "no rules file at " << QUILLOM_RULES_FILE;
        for (const char* word : c.corrected)
            ASSERT_TRUE(quillom::test::evaluateContext(e.get(), word, "en").corrected) << word;
        for (const char* word : c.kept)
            ASSERT_FALSE(quillom::test::evaluateContext(e.get(), word, "en").corrected) << word;
        EXPECT_EQ(quillom::test::evaluateContext(e.get(), c.word, "en").text, c.expected)
            << c.word << " after " << c.corrected.size() << " corrected, " << c.kept.size() << " kept";
    }
}

// The key of the Ukrainian apostrophe typed inside an unlisted word is the
// apostrophe of a name (Rt`ksy is Ке'лін), the letters on each side read as
// the text's; not outside a run, nor where the letters around it are no pairs
// of the target's (Rt`mcq).
TEST(CorrectedRuns, AnUnlistedNameWithTheApostropheKeyIsCorrected) {
    expectAfterRuns({
        {kUkrainianUser, {"ghbdsn", "zr", "cghfdb"}, {}, "Rt`ksy", "Ке'лін"},
        {kUkrainianUser, {"ghbdsn", "zr", "cghfdb"}, {}, "Ls`hfy", "Ді'ран"},
        {kUkrainianUser, {"ghbdsn", "zr"}, {}, "rt`ksy", "ке'лін"},
        {kUkrainianUser, {"ghbdsn"}, {}, "Rt`ksy", ""},
        {kUkrainianUser, {}, {}, "Rt`ksy", ""},
        {kUkrainianUser, {"ghbdsn", "zr", "cghfdb"}, {}, "Rt`mcq", ""},
    });
}

// Kept words that tell nothing against the run leave it as it was: one
// letter reading as a word of the target (p is з), a word no language of its
// layout's script lists (Bmmp). English a or I, which read as no word, and a
// word English lists (Linux) end it.
TEST(CorrectedRuns, KeptWordsThatTellNothingDoNotEndTheRun) {
    expectAfterRuns({
        {kUkrainianUser, {"vj;enm", "p,bnb"}, {"p"}, "ysu", "ніг"},
        {kUkrainianUser, {"ghbdsn", "cghfdb"}, {"s", "d"}, "Fklesy", "Алдуін"},
        {kUkrainianUser, {"ghbdsn", "zr"}, {"Bmmp"}, "Fklesy", "Алдуін"},
        {kUkrainianUser, {"vj;enm", "p,bnb"}, {"I"}, "ysu", ""},
        {kUkrainianUser, {"vj;enm", "p,bnb"}, {"a"}, "ysu", ""},
        {kUkrainianUser, {"ghbdsn", "zr"}, {"Linux"}, "Fklesy", ""},
        {kUkrainianUser, {"vj;enm"}, {"p"}, "ysu", ""},
    });
}

// One mark key opening an unlisted word is the letter it gives on the run's
// layout ({eu is Хуг, {jn Хот, not {от); outside a run it stays a mark.
TEST(CorrectedRuns, AMarkKeyOpeningAWordIsALetter) {
    expectAfterRuns({
        {kUkrainianUser, {"ghbdsn", "zr"}, {}, "{eu", "Хуг"},
        {kUkrainianUser, {"ghbdsn", "zr"}, {}, "{jn", "Хот"},
        {kUkrainianUser, {"ghbdsn"}, {}, "{eu", ""},
        {kUkrainianUser, {"ghbdsn"}, {}, "{jn", "{от"},
    });
}

// Readings that no language lists, into two languages of one script
// (Мор'тал, Морётал): the run's language; after a single correction, as the
// scores decide.
TEST(CorrectedRuns, AnUnlistedReadingInTheRunsLanguageIsChosen) {
    expectAfterRuns({
        {kUkrainianUser, {"ghbdsn", "zr"}, {}, "Vjh`nfk", "Мор'тал"},
        {kUkrainianUser, {"ghbdsn", "zr"}, {}, "Uj`hf", "Го'ра"},
        {kUkrainianUser, {"ghbdsn"}, {}, "Uj`hf", "Гоёра"},
    });
}

// A closing key that the run's layout gives as a letter (the full stop's, ю)
// after letters that make no listed word either way is that letter
// (vsysrfhnj. is мінікартою, zhyjcnm. ярностью); a listed word keeps its
// full stop, and after a single correction the two readings still tie.
TEST(CorrectedRuns, AClosingLetterKeyIsALetter) {
    expectAfterRuns({
        {kUkrainianUser, {"ghbdsn", "zr"}, {}, "vsysrfhnj.", "мінікартою"},
        {kRussianUser, {"ghbdtn", "rfr"}, {}, "zhyjcnm.", "ярностью"},
        {kUkrainianUser, {"ghbdsn", "zr"}, {}, "ghbdsn.", "привіт."},
        {kUkrainianUser, {"ghbdsn"}, {}, "vsysrfhnj.", ""},
    });
}

}  // namespace
