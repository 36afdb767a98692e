#include "session/text_start.h"

#include <gtest/gtest.h>

#include "scoring_fixture.h"

namespace quillom::session {
namespace {

// The reading of one piece of a text's start, before a word typed on the US
// layout and corrected to Russian, or typed on the Russian layout and
// corrected to English.
TEST(TextStart, APieceGoesAlongAsItsKeysReadWhereTheTargetWouldWriteIt) {
    const scoring::testing::Scoring scoring(scoring::testing::makeConfig());
    struct Case {
        const char* name;
        const char* piece;
        const char* word;
        const char* target;
        const char* reading;  // null: stays
    } cases[] = {
        {"a word of the target", "Ghbdtn", "vbh", "ru", "Привет"},
        {"a number as it stands", "1941", "vbh", "ru", "1941"},
        {"a full stop typed on the letter key after the word", "Rfr.", "vbh", "ru", nullptr},
        {"a letter's key as the full stop after a word", "Руддщю", "цщкдв", "en", "Hello."},
        {"a letter's key as a lone comma", "б", "цщкдв", "en", ","},
        {"a word of the layout typed on", "hello", "vbh", "ru", nullptr},
        {"such a word with its comma", "hello,", "vbh", "ru", nullptr},
        {"marks around a word stay marks", "<Ntvf>", "vbh", "ru", nullptr},
        {"a number's mark stays", "5/", "vbh", "ru", nullptr},
        {"a capital beside a digit", "4K", "vbh", "ru", nullptr},
        {"letters' keys as marks before and inside a word", "ЖКХ", "цщкдв", "en", nullptr},
        {"letters the target never pairs", "Qwrt", "vbh", "ru", nullptr},
        {"letters of another script than the word's", "Привет", "vbh", "ru", nullptr},
        {"nothing but marks", "//", "vbh", "ru", nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> reading = textStartPiece(scoring.context(), c.piece, c.word, c.target);
        EXPECT_EQ(reading, c.reading ? std::optional<std::string>(c.reading) : std::nullopt) << c.name;
    }
}

}  // namespace
}  // namespace quillom::session
