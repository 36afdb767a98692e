#include "scoring/evaluate/letter_runs.h"

#include <gtest/gtest.h>

namespace quillom {
namespace {

// The scan every word pays finds runs of three in ASCII and in two-byte
// letters, two ASCII characters said three times, and nothing in a word with
// pairs or alternations of two-byte letters only.
TEST(LetterRuns, FindsACharacterTypedThreeTimesInARow) {
    struct Case {
        const char* token;
        bool tripled;
    } cases[] = {
        {"F[[[[", true}, {"t;;;tkb", true}, {"Хммм", true},  {"женщщщина", true}, {"ssы", false},   {"ccltkre", false},
        {"Хмм", false},  {"мамам", false},  {"ааба", false}, {"ab", false},       {"{F{F{F", true}, {"{F{F", false},
    };
    for (const Case& c : cases) EXPECT_EQ(scoring::hasTripledCharacter(c.token), c.tripled) << c.token;
}

}  // namespace
}  // namespace quillom
