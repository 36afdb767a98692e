#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "regex/regex.h"

namespace {

using quillom::regex::Regex;

TEST(RegexCompileTest, RejectsSyntaxOutsideTheDialect) {
    const char* const patterns[] = {
        "(",       ")",        "a)",     "(a",          "(?:a",     "[a",
        "[",       "[a-",      "\\",     "(?<name>a)",  "(?<=a)b",  "(?<!a)b",
        "(?i)a",   "(?P<x>a)", "(a)\\1", "\\1",         "\\k<a>",   "\\p{L}",
        "\\cA",    "\\08",     "\\q",    "\\ё",         "[z-a]",    "[\\d-z]",
        "[a-\\w]", "[\\B]",    "*a",     "+",           "?",        "a|*",
        "(*a)",    "a**",      "a+*",    "a???",        "a{2}{3}",  "{2}",
        "a{",      "a{x}",     "a{2",    "a{,3}",       "a{2,1}",   "a{1001}",
        "^*",      "$+",       "\\b?",   "(?=a)*",      "(?!a){2}", "\\x4",
        "\\xZZ",   "\\u12",    "\\u{}",  "\\x{110000}", "\\u{12",   "(?:a{1000}){1000}",
        "\xFF",
    };
    for (const char* pattern : patterns) {
        EXPECT_FALSE(Regex::compile(pattern).has_value()) << pattern;
        EXPECT_FALSE(Regex::compile(pattern, true).has_value()) << pattern;
    }
}

TEST(RegexCompileTest, KeepsThePatternAndSharesItAcrossCopies) {
    const std::optional<Regex> re = Regex::compile("^[бв]+$", true);
    ASSERT_TRUE(re.has_value());
    EXPECT_EQ(re->pattern(), "^[бв]+$");
    Regex copy = *re;
    EXPECT_EQ(copy.pattern(), re->pattern());
    EXPECT_TRUE(copy.search("ББв"));
    Regex moved = std::move(copy);
    EXPECT_TRUE(moved.search("в"));
}

TEST(RegexCompileTest, CompilesLargeClassesCaseInsensitively) {
    const std::optional<Regex> re = Regex::compile("^[\\u0000-\\x{10FFFF}]$", true);
    ASSERT_TRUE(re.has_value());
    EXPECT_TRUE(re->search("Ж"));
    EXPECT_TRUE(re->search("\xF4\x8F\xBF\xBF"));
}

}  // namespace
