#include <gtest/gtest.h>

#include <string>

#include "regex/regex.h"
#include "unicode/unicode.h"

namespace {

using quillom::regex::Regex;

constexpr bool kCi = true;
constexpr bool kCs = false;

struct MatchCase {
    const char* pattern;
    bool caseInsensitive;
    std::string text;
    bool expected;
};

const char* const kNotUkrainian = "^[^абвгґдеєжзиіїйклмнопрстуфхцчшщьюя']+$";
const char* const kConsonants = "^[бвгґджзйклмнопрстфхцчшщ]{4,}$";
const std::string kDomain = "[a-z0-9-]+(?:\\.[a-z0-9-]+)*\\.(?:com|net|org|io|ru|ua)";
const std::string kAddress = "^(?:[a-z0-9._%+-]+@" + kDomain + "|" + kDomain + ")(?:/\\S*)?$";

const MatchCase kRulePatterns[] = {
    {kNotUkrainian, kCs, "ыэъ", true},
    {kNotUkrainian, kCs, "ЫЭЪ", true},
    {kNotUkrainian, kCs, "мова", false},
    {kNotUkrainian, kCs, "ґанок", false},
    {kNotUkrainian, kCs, "ёы", true},
    {kNotUkrainian, kCs, "ы'", false},
    {kNotUkrainian, kCs, "", false},
    {kNotUkrainian, kCi, "МОВА", false},
    {kConsonants, kCs, "бвгд", true},
    {kConsonants, kCs, "пртсґ", true},
    {kConsonants, kCs, "бвг", false},
    {kConsonants, kCs, "прет", false},
    {kConsonants, kCs, "БВГД", false},
    {kConsonants, kCi, "БВГД", true},
    {kConsonants, kCi, "ЩҐЖЗ", true},
    {kAddress.c_str(), kCi, "User@Mail.RU", true},
    {kAddress.c_str(), kCs, "User@Mail.RU", false},
    {kAddress.c_str(), kCi, "example.com/path", true},
    {kAddress.c_str(), kCi, "example.com", true},
    {kAddress.c_str(), kCi, "mail.ru/", true},
    {kAddress.c_str(), kCi, "sub.domain.co.ua/a/b?c=d", true},
    {kAddress.c_str(), kCi, "hello", false},
    {kAddress.c_str(), kCi, "a@b", false},
    {kAddress.c_str(), kCi, "example.comx", false},
    {kAddress.c_str(), kCi, "example.com/ path", false},
    {kAddress.c_str(), kCi, "пошта@mail.ru", false},
};

// A search skips texts that lack what every match needs: a letter after the
// first, inside a repetition or an alternation, folded or negated.
const MatchCase kRequiredScalars[] = {
    {"[аеиоу][ьъ]", kCs, "оъ", true},
    {"[аеиоу][ьъ]", kCs, "подъезд", false},
    {"[аеиоу][ьъ]", kCs, "мама", false},
    {"x(?:ab|cd)+y", kCs, "zxcdaby", true},
    {"x(?:ab|cd)+y", kCs, "xy", false},
    {"x(?:ab|cd)*y", kCs, "xy", true},
    {"(?:q|)u", kCs, "u", true},
    {"^(?:ab){0}c$", kCs, "c", true},
    {"a(?=.*z)b", kCs, "abz", true},
    {"a(?!z)b", kCs, "ab", true},
    {"www\\.", kCi, "WWW.x", true},
    {"\\.(?:com|org)$", kCi, "A.ORG", true},
    {"\\.(?:com|org)$", kCi, "AORG", false},
    {"[^ь]ь", kCs, "дь", true},
    {"[^ь]ь", kCs, "ьь", false},
    {"к[^а]", kCs, "ка", false},
    {"Ж", kCi, "ж", true},
    {"\\d\\w", kCs, "x9_", true},
    {"[bcd]{3,}", kCs, "bcxd", false},
    {"[bcd]{3,}", kCs, "xbcdx", true},
    {"(?:ab|c){2}", kCs, "cc", true},
    {"(?:ab|c){2}", kCs, "abc", true},
    {"(?:ab|c){3}", kCs, "abc", false},
    {"(?:b{2}|c)", kCs, "xc", true},
    {"x[ab]{2}y", kCs, "xaby", true},
    {"[аеиоу]{4,}", kCs, "привет", false},
    {"[аеиоу]{4,}", kCs, "заеиоу", true},
    {"(?:[бв]{2}а){2}", kCs, "ббаввабб", true},
    // a row naming one set twice needs two of its scalars
    {"ыы", kCs, "быть", false},
    {"ыы", kCs, "ыбы", false},
    {"ыы", kCs, "выыход", true},
    {"[ьъ][ьъ]", kCs, "подъезд", false},
    {"[ьъ][ьъ]", kCs, "ъь", true},
    {"ж.ж", kCs, "жаж", true},
    {"ж(?=ж)ж", kCs, "жж", true},  // what the lookahead tests is consumed once
    {"ж(?=ж)", kCs, "жж", true},
    {"yy", kCs, std::string(140, 'x') + "yxy", false},
    {"yy", kCs, std::string(140, 'x') + "yy", true},
    // scalars outside ASCII and Cyrillic, and the empty text
    {"x\u00DF", kCs, "ax\u00DF", true},
    {"x\u00DF", kCs, "\u00DFx", false},
    {"[\u00DF\u00E9]", kCs, "abc", false},
    {"[\u00DF\u00E9]", kCs, "ab\u00E9", true},
    {"^\u00E9", kCs, "\u00E9x", true},
    {"^\u00E9", kCs, "x\u00E9", false},
    {"[bcd]{3,}", kCs, "", false},
    {"x*", kCs, "", true},
};

const MatchCase kSyntax[] = {
    {"", kCs, "", true},
    {"", kCs, "abc", true},
    {"b", kCs, "abc", true},
    {"a.c", kCs, "abc", true},
    {"a.c", kCs, "a\nc", false},
    {"a.c", kCs, "aжc", true},
    {"^a.b$", kCs,
     "a\xFF"
     "b",
     true},  // an invalid byte is one U+FFFD
    {"^ab$", kCs, "ab", true},
    {"^ab$", kCs, "xab", false},
    {"^ab$", kCs, "ab\n", false},  // no multiline
    {"^$", kCs, "", true},
    {"^$", kCs, "a", false},
    {"$", kCs, "abc", true},
    {"[a\\-z]", kCs, "-", true},
    {"[a\\-z]", kCs, "b", false},
    {"[-a]", kCs, "-", true},
    {"[a-]", kCs, "-", true},
    {"[]a]", kCs, "a", false},  // [] is the empty class
    {"[^]", kCs, "ж", true},
    {"[\\]]", kCs, "]", true},
    {"[\\b]", kCs, "\b", true},
    {"[.]", kCs, "a", false},
    {"[а-яё]", kCs, "ё", true},
    {"[а-я]", kCs, "ё", false},
    {"[^а-я]", kCs, "ж", false},
    {"[^а-я]", kCs, "жq", true},
    {"[\\d\\s]", kCs, " ", true},
    {"[\\D]", kCs, "5", false},
    {"[\\Wa]", kCs, "a", true},
    {"\\d", kCs, "x5", true},
    {"\\d", kCs, "\xD9\xA3", false},  // Arabic-Indic digit: \d is ASCII
    {"\\w", kCs, "ж", false},
    {"\\W", kCs, "ж", true},
    {"\\s", kCs, "\xC2\xA0", true},
    {"\\S", kCs, " \t", false},
    {"\\.", kCs, "a", false},
    {"\\.", kCs, ".", true},
    {"^\\/\\-\\$\\^\\*\\?\\(\\)\\{\\}\\|\\\\$", kCs, "/-$^*?(){}|\\", true},
    {"\\u0491", kCs, "ґ", true},
    {"\\u{491}", kCs, "ґ", true},
    {"\\x{491}", kCs, "ґ", true},
    {"\\x41", kCs, "A", true},
    {"\\uD83D\\uDE00", kCs, "😀", true},
    {"[\\u0430-\\u044F]", kCs, "ж", true},
    {"\\t\\n", kCs, "\t\n", true},
    {"a]", kCs, "a]", true},
    {"a}", kCs, "a}", true},
    {"\\bcat\\b", kCs, "a cat!", true},
    {"\\bcat\\b", kCs, "concat", false},
    {"\\Bcat", kCs, "concat", true},
    {"\\Bcat", kCs, "cat", false},
    {"\\bж", kCs, "ж", false},  // word characters are ASCII
    {"^(?:ab|cd)+$", kCs, "abcdab", true},
    {"^(?:ab|cd)+$", kCs, "abc", false},
    {"(a|b)c", kCs, "xbc", true},
    {"^(a|ab)(c|bcd)$", kCs, "abcd", true},
    {"^(?:a|)$", kCs, "", true},
    {"^(?=.*\\d)[a-z0-9]+$", kCs, "abc1", true},
    {"^(?=.*\\d)[a-z0-9]+$", kCs, "abc", false},
    {"^(?!www\\.)[a-z.]+$", kCs, "www.x", false},
    {"^(?!www\\.)[a-z.]+$", kCs, "wx.y", true},
    {"q(?=u)", kCs, "qu", true},
    {"q(?=u)", kCs, "qa", false},
    {"q(?!u)", kCs, "qu", false},
    {"^(?:(?=a)\\w)+$", kCs, "aaa", true},
    {"^(?:(?=a)\\w)+$", kCs, "aab", false},
    {"^(?=(?!b)(?:a|c))", kCs, "c", true},
    {"^a{3}$", kCs, "aaa", true},
    {"^a{3}$", kCs, "aa", false},
    {"^a{3}$", kCs, "aaaa", false},
    {"^a{2,}$", kCs, "aaaaa", true},
    {"^a{2,}$", kCs, "a", false},
    {"^a{1,2}$", kCs, "aa", true},
    {"^a{1,2}$", kCs, "aaa", false},
    {"^a{0}$", kCs, "", true},
    {"^a{0,0}b", kCs, "b", true},
    {"^a?b$", kCs, "b", true},
    {"^a+b$", kCs, "b", false},
    {"^a*?b$", kCs, "aaab", true},
    {"^a+?$", kCs, "aaa", true},
    {"^a??b$", kCs, "ab", true},
    {"^a{2,3}?$", kCs, "aaa", true},
    {"^(?:ab){2,}?c$", kCs, "ababababc", true},
    {"^(a*)*$", kCs, "aaa", true},
    {"^(a*)*b$", kCs, "aaab", true},
    {"^(a*)*b$", kCs, "aaa", false},
    {"^(a|b*)*c$", kCs, "abbac", true},
    {"^(?:)*x", kCs, "x", true},
    {"^(?:a?)+$", kCs, "", true},
    {"^(?:a?){3}$", kCs, "a", true},
    {"^(?:(?=x)|y)*z$", kCs, "yyz", true},
    {"^(?:a*?)+?b$", kCs, "aab", true},
    {"^(a+)+$", kCs, std::string(30, 'a'), true},
};

const MatchCase kCaseFolding[] = {
    {"[a-z]", kCi, "Q", true},         {"[a-z]", kCs, "Q", false},
    {"[A-Z]", kCi, "q", true},         {"[^a-z]", kCi, "Q", false},
    {"[бв]", kCi, "Б", true},          {"[Б]", kCi, "б", true},
    {"^привет$", kCi, "ПрИвЕт", true}, {"^ПРИВЕТ$", kCi, "привет", true},
    {"^ҐЄЇІ$", kCi, "ґєїі", true},     {"^ґєїі$", kCi, "ҐЄЇІ", true},
    {"^[А-Я]+$", kCi, "жук", true},    {"^[А-Я]+$", kCi, "ёж", false},  // ё lies outside а-я
    {"\\u0401", kCi, "ё", true},       {"^ß$", kCi, "SS", false},       // simple mappings only
    {"\\w", kCi, "K", true},           {"\\W", kCi, "k", false},
    {"^(?=[A-Z])q", kCi, "Q", true},
};

// One class repeated, anchored or not: counted runs (short texts) and the
// machine (long texts, lazy repetition) agree.
const std::string kLongRun = std::string(70, 'x') + "bbbb" + std::string(70, 'x') + "bbb";
const MatchCase kClassRuns[] = {
    {"[bcd]{3,}", kCs, "abcbx", true},      {"[bcd]{3,}", kCs, "abcxbd", false},  {"^[bcd]{3,}", kCs, "bcdx", true},
    {"^[bcd]{3,}", kCs, "xbcd", false},     {"[bcd]{3,}$", kCs, "xbcd", true},    {"[bcd]{3,}$", kCs, "bcdx", false},
    {"^[bcd]{3,}$", kCs, "bcdbc", true},    {"^[bcd]{3,}$", kCs, "bcxbc", false}, {"^[bcd]{3,}$", kCs, "bc", false},
    {"[бвгґ]{2,}", kCi, "аБГа", true},      {"[бвгґ]{2,}", kCi, "аБаГ", false},   {"^[^аеиоу]{3,}$", kCs, "гзд", true},
    {"^[^аеиоу]{3,}$", kCs, "гзда", false}, {"[bcd]{3,}?", kCs, "abcbx", true},   {"[bcd]{4,}", kCs, kLongRun, true},
    {"[bcd]{5,}", kCs, kLongRun, false},    {"[bcd]{3,}$", kCs, kLongRun, true},  {"^[bx]{3,}$", kCs, kLongRun, true},
};

// A fixed row of literals and classes, anchored or not: compared scalar by
// scalar (short texts) and by the machine (long texts, and the scalar view).
const MatchCase kSequences[] = {
    {"[кК][фФ]", kCs, "акФа", true},
    {"[кК][фФ]", kCs, "кафа", false},
    {"ъ$", kCs, "объ", true},
    {"ъ$", kCs, "объект", false},
    {"^['.,]", kCs, ".net", true},
    {"^['.,]", kCs, "a.b", false},
    {"q[^u]", kCs, "qi", true},
    {"q[^u]", kCs, "quit", false},
    {"q[^u]", kCs, "aq", false},
    {"^ab$", kCs, "ab", true},
    {"^ab$", kCs, "abc", false},
    {"^ab$", kCs, "xab", false},
    {"^ab$", kCs, "a", false},
    {"ab$", kCs, "abab", true},
    {"ab$", kCs, "abba", false},
    {"aab", kCs, "aaab", true},
    {"[ьъ][ьъ]", kCs, "подъъезд", true},
    {"Ёж", kCi, "ЁЖИК", true},
    {"[a-c]x", kCi, "BX", true},
    {"[a-c]x", kCs, "BX", false},
    {"\u4e2da", kCs, "x\u4e2da", true},
    {"\u4e2da", kCs, "\u4e2db", false},
    {"[\u4e00-\u9fff]a", kCs, "\u4e2da", true},
    {"^a\\.", kCs, "a.b", true},
    {"^a\\.", kCs, "ab", false},
    {"bb$", kCs, kLongRun, true},
    {"^xb", kCs, kLongRun, false},
    {"xb", kCs, kLongRun, true},
    // alternatives of rows, each with its own anchors
    {"[a-z][A-Z]|[а-я][А-Я]", kCs, "camelCase", true},
    {"[a-z][A-Z]|[а-я][А-Я]", kCs, "вЖук", true},
    {"[a-z][A-Z]|[а-я][А-Я]", kCs, "aЖ", false},
    {"[a-z][A-Z]|[а-я][А-Я]", kCs, "Camel", false},
    {"^ab|cd$", kCs, "xabcd", true},
    {"^ab|cd$", kCs, "xabcdx", false},
    {"^ab|cd$", kCs, "abx", true},
    {"a|bc|", kCs, "x", true},
    {"[a-z][A-Z]|[а-я][А-Я]", kCs, kLongRun + "aB", true},
};

// Patterns every match of which is the whole text: a text holding a scalar
// no match can consume, or of a length no match has, is turned away before
// the search, and every other text still reaches it.
const std::string kLongA = std::string(130, 'a');
const MatchCase kWholeTexts[] = {
    {"^(?:https?|ftp)$", kCi, "HTTPS", true},
    {"^(?:https?|ftp)$", kCi, "ftps", false},
    {"^(?:https?|ftp)$", kCs, "fp", false},
    {"^(?:a|bcd)$", kCs, "bcd", true},
    {"^(?:a|bcd)$", kCs, "bc", false},
    {"^(?:ab){2,3}$", kCs, "ababab", true},
    {"^(?:ab){2,3}$", kCs, "abababab", false},
    {"^(?:ab){2,3}$", kCs, "ab", false},
    {"^(?:a{2}b?){2}$", kCs, "aabaab", true},
    {"^(?:a{2}b?){2}$", kCs, "aaa", false},
    {"^a{130}$", kCs, kLongA, true},
    {"^a{130}$", kCs, kLongA + "a", false},
    {"^a{2,}$", kCs, kLongA + "ж", false},
    {"^$", kCs, "", true},
    {"^(?:)*$", kCs, "", true},
    {"^(?=.*x)[a-z]+$", kCs, "abx", true},
    {"^(?!q)[a-z]{2}$", kCs, "qb", false},
    {"^(?:(?=x)|y)*z$", kCs, "yz", true},
    {"^[^a]+$", kCs, "жъ\u4e2d", true},
    {"^[a-z\\u00DF]+$", kCs, "a\u00DF", true},
    {"^[a-z\u00DF]+$", kCs, "a\u00DF", true},
    {"^[a-z\u00DF]+$", kCs, "a\u00E0", false},
    {"^k$", kCi, "\u212A", true},  // KELVIN SIGN lower-cases to k
    {"^[a-c]+$", kCi, "\u212A", false},
    {"^(?:[A-Z]{2,5}|[А-Я]{2,5})$", kCs, "ЖУК", true},
    {"^(?:[A-Z]{2,5}|[А-Я]{2,5})$", kCs, "ЖУКИЖУК", false},
    // not anchored at both ends on every path: no such test applies
    {"^a$|^b", kCs, "bcd", true},
    {"^a|b$", kCs, "abc", true},
    {"^a\\b", kCs, "a-b", true},
};

void expectCases(const MatchCase* begin, const MatchCase* end) {
    for (const MatchCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(testing::Message() << "/" << c->pattern << "/" << (c->caseInsensitive ? "i" : "") << " on \""
                                        << c->text << "\"");
        const std::optional<Regex> re = Regex::compile(c->pattern, c->caseInsensitive);
        ASSERT_TRUE(re.has_value());
        EXPECT_EQ(re->search(c->text), c->expected);
        EXPECT_EQ(re->search(quillom::unicode::decodeUtf8(c->text)), c->expected);
        EXPECT_EQ(re->search(quillom::regex::Subject(c->text)), c->expected);
    }
}

TEST(RegexMatchTest, RulePatterns) { expectCases(std::begin(kRulePatterns), std::end(kRulePatterns)); }

TEST(RegexMatchTest, Syntax) { expectCases(std::begin(kSyntax), std::end(kSyntax)); }

TEST(RegexMatchTest, ClassRuns) { expectCases(std::begin(kClassRuns), std::end(kClassRuns)); }

TEST(RegexMatchTest, Sequences) { expectCases(std::begin(kSequences), std::end(kSequences)); }

TEST(RegexMatchTest, WholeTexts) { expectCases(std::begin(kWholeTexts), std::end(kWholeTexts)); }

TEST(RegexMatchTest, RequiredScalars) { expectCases(std::begin(kRequiredScalars), std::end(kRequiredScalars)); }

TEST(RegexMatchTest, CaseInsensitiveComparesLowerCasedScalars) {
    expectCases(std::begin(kCaseFolding), std::end(kCaseFolding));
}

// UTF-8 text, ill-formed or not, matches as its decoded scalars do: the
// matcher's own decoding of one- and two-byte scalars agrees with the rest.
TEST(RegexMatchTest, Utf8TextMatchesAsItsScalars) {
    const char* const patterns[] = {"\uFFFD", "^.$", "^..$", "[а-я]{2}", "\u00DF", "[\u0080-\u07FF]$", "ж"};
    const std::string texts[] = {
        "ж",        "жa",       "\xD0",     "\xD0\x61", "a\xD0",        "\xD0\xD0\xB6",     "\xC1\xB6", "\xC2\x80",
        "\xDF\xBF", "\xE0\x80", "\xC3\x9F", "\xC3\xC3", "\xEF\xBF\xBD", "\xF0\x9F\x98\x80", "\xF0\x9F",
    };
    std::size_t matched = 0, total = 0;
    for (const char* pattern : patterns) {
        const std::optional<Regex> re = Regex::compile(pattern);
        ASSERT_TRUE(re.has_value()) << pattern;
        for (const std::string& text : texts) {
            const bool found = re->search(text);
            EXPECT_EQ(found, re->search(quillom::unicode::decodeUtf8(text))) << pattern << " on " << text;
            EXPECT_EQ(found, re->search(quillom::regex::Subject(text))) << pattern << " on " << text;
            matched += found;
            ++total;
        }
    }
    EXPECT_GT(matched, 5u);  // both outcomes occur
    EXPECT_LT(matched, total - 5);
}

TEST(RegexMatchTest, RunawayBacktrackingReportsNoMatch) {
    const std::string text = std::string(29, 'a') + "b";
    for (const char* pattern : {"^(a+)+$", "(a+)+$", "^(a|a)*$", "(?:a*)*b(?=c)", "^(?:(?!b)a+)+$"}) {
        SCOPED_TRACE(pattern);
        const std::optional<Regex> re = Regex::compile(pattern);
        ASSERT_TRUE(re.has_value());
        EXPECT_FALSE(re->search(text));
    }
}

TEST(RegexMatchTest, TheBudgetDoesNotCarryOverBetweenSearches) {
    const std::optional<Regex> bad = Regex::compile("^(a+)+$");
    const std::optional<Regex> good = Regex::compile("^a+$");
    ASSERT_TRUE(bad && good);
    EXPECT_FALSE(bad->search(std::string(29, 'a') + "b"));
    EXPECT_TRUE(good->search(std::string(29, 'a')));
    EXPECT_TRUE(bad->search(std::string(29, 'a')));
}

}  // namespace
