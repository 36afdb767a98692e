#include "scoring/read/letter_case.h"

#include <gtest/gtest.h>

namespace quillom::scoring {
namespace {

// A correction is cased as no word only when the capital after a lower-case
// letter comes from the reading, not from the letters typed.
TEST(LetterCase, AMarkReadAsALetterMakesACapitalAfterALowerCaseOne) {
    struct Case {
        const char* typed;
        const char* corrected;
        bool made;
    } cases[] = {
        {"df>", "ваЮ", true},             // Shift with the mark key alone
        {"`Dtkbrbq", "ёВеликий", true},   // a lower-case letter from a mark before a capital
        {"''Ajhvfn", "ээФормат", true},   //
        {"Ghbdtn", "Привет", false},      // capitalised as a word is
        {"CIF", "США", false},            // capitals only
        {"{fkmlhbr", "Хальдрик", false},  // a capital from the mark, first
        {"getId", "пуеШв", false},        // the typed letters are cased so already
        {"ghbdtn", "привет", false},      //
        {"df>", "ва>", false},            // the mark stays a mark
    };
    for (const Case& c : cases) EXPECT_EQ(markMakesCapitalAfterLower(c.typed, c.corrected), c.made) << c.typed;
}

}  // namespace
}  // namespace quillom::scoring
