#include <gtest/gtest.h>

#include "unicode/unicode.h"

namespace {

using namespace quillom::unicode;

struct ClassCase {
    char32_t cp;
    bool letter;
    bool upper;
    bool numeric;
    bool digit;
    bool whitespace;
};

const ClassCase kClassCases[] = {
    {U'a', true, false, false, false, false},
    {U'Z', true, true, false, false, false},
    {U'7', false, false, true, true, false},
    {U' ', false, false, false, false, true},
    {U'\t', false, false, false, false, true},
    {U'\r', false, false, false, false, true},
    {U'\'', false, false, false, false, false},
    {U'_', false, false, false, false, false},
    {U'\u0491', true, false, false, false, false},   // ґ
    {U'\u0490', true, true, false, false, false},    // Ґ
    {U'\u0454', true, false, false, false, false},   // є
    {U'\u0404', true, true, false, false, false},    // Є
    {U'\u0457', true, false, false, false, false},   // ї
    {U'\u0407', true, true, false, false, false},    // Ї
    {U'\u0456', true, false, false, false, false},   // і
    {U'\u0406', true, true, false, false, false},    // І
    {U'\u0451', true, false, false, false, false},   // ё
    {U'\u0401', true, true, false, false, false},    // Ё
    {U'\u042B', true, true, false, false, false},    // Ы
    {U'\u044A', true, false, false, false, false},   // ъ
    {U'\u0483', false, false, false, false, false},  // combining titlo
    {U'\u0482', false, false, false, false, false},  // thousands sign
    {U'\u0500', true, true, false, false, false},    // Cyrillic Supplement, beyond the fast path
    {U'\u00E9', true, false, false, false, false},   // é
    {U'\u00B5', true, false, false, false, false},   // µ
    {U'\u01C5', true, true, false, false, false},    // ǅ is title case
    {U'\u02B0', true, false, false, false, false},   // modifier letter
    {U'\u4E2D', true, false, false, false, false},   // CJK ideograph, listed as a range
    {U'\uAC00', true, false, false, false, false},   // Hangul syllable
    {U'\u0663', false, false, true, true, false},    // Arabic-Indic three
    {U'\u216B', false, false, true, false, false},   // Roman numeral twelve (Nl)
    {U'\u00BD', false, false, true, false, false},   // one half (No)
    {U'\u00A0', false, false, false, false, true},
    {U'\u2003', false, false, false, false, true},
    {U'\u3000', false, false, false, false, true},
    {U'\u200B', false, false, false, false, false},    // zero width space is not White_Space
    {U'\U0001D7D8', false, false, true, true, false},  // mathematical double-struck zero
    {U'\U00010400', true, true, false, false, false},  // Deseret capital
    {U'\U0001F600', false, false, false, false, false},
    {0x10FFFF, false, false, false, false, false},
    {0x110000, false, false, false, false, false},
};

TEST(PropertiesTest, ClassifiesScalars) {
    for (const auto& c : kClassCases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(c.cp));
        EXPECT_EQ(isLetter(c.cp), c.letter);
        EXPECT_EQ(isUpper(c.cp), c.upper);
        EXPECT_EQ(isNumeric(c.cp), c.numeric);
        EXPECT_EQ(isDigit(c.cp), c.digit);
        EXPECT_EQ(isWhitespace(c.cp), c.whitespace);
    }
}

struct CaseCase {
    char32_t cp;
    char32_t lower;
    char32_t upper;
};

const CaseCase kCaseCases[] = {
    {U'A', U'a', U'A'},
    {U'z', U'z', U'Z'},
    {U'5', U'5', U'5'},
    {U'\u0490', U'\u0491', U'\u0490'},  // Ґ
    {U'\u0491', U'\u0491', U'\u0490'},  // ґ
    {U'\u0404', U'\u0454', U'\u0404'},  // Є
    {U'\u0457', U'\u0457', U'\u0407'},  // ї
    {U'\u0406', U'\u0456', U'\u0406'},  // І
    {U'\u0451', U'\u0451', U'\u0401'},  // ё
    {U'\u042F', U'\u044F', U'\u042F'},  // Я
    {U'\u0460', U'\u0461', U'\u0460'},  // Ѡ, alternating pairs
    {U'\u0461', U'\u0461', U'\u0460'},
    {U'\u04C0', U'\u04CF', U'\u04C0'},  // Ӏ palochka
    {U'\u04CF', U'\u04CF', U'\u04C0'},
    {U'\u0482', U'\u0482', U'\u0482'},
    {U'\u0100', U'\u0101', U'\u0100'},  // Ā, a stride-2 range
    {U'\u0101', U'\u0101', U'\u0100'},
    {U'\u0130', U'i', U'\u0130'},       // İ
    {U'\u017F', U'\u017F', U'S'},       // long s
    {U'\u00DF', U'\u00DF', U'\u00DF'},  // ß has no simple upper case
    {U'\u01C5', U'\u01C6', U'\u01C4'},  // ǅ
    {U'\u03A9', U'\u03C9', U'\u03A9'},  // Ω
    {U'\u0500', U'\u0501', U'\u0500'},
    {U'\uFF21', U'\uFF41', U'\uFF21'},  // fullwidth A
    {U'\U00010400', U'\U00010428', U'\U00010400'},
    {U'\U0001F600', U'\U0001F600', U'\U0001F600'},
};

TEST(PropertiesTest, MapsCaseOneToOne) {
    for (const auto& c : kCaseCases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<unsigned>(c.cp));
        EXPECT_EQ(toLower(c.cp), c.lower);
        EXPECT_EQ(toUpper(c.cp), c.upper);
    }
}

TEST(PropertiesTest, NoCaseMappingLiesAboveTheLastCaseMappedScalar) {
    const char32_t last = lastCaseMappedScalar();
    EXPECT_TRUE(toLower(last) != last || toUpper(last) != last);
    for (char32_t cp = last + 1; cp <= 0x10FFFF; ++cp) {
        if (toLower(cp) != cp || toUpper(cp) != cp) {
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(cp) << " maps";
            break;
        }
    }
}

TEST(PropertiesTest, MapsCaseOfStrings) {
    EXPECT_EQ(toLower("ПРИВІТ, ҐЄЇІ World ЁЖ 42"), "привіт, ґєїі world ёж 42");
    EXPECT_EQ(toUpper("привіт, ґєїі world ёж 42"), "ПРИВІТ, ҐЄЇІ WORLD ЁЖ 42");
    EXPECT_EQ(toUpper("straße"), "STRAßE");
    EXPECT_EQ(toLower("A\xFF"
                      "B"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(toUpper(""), "");
}

}  // namespace
