#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "config/json.h"

namespace quillom::json {
namespace {

TEST(JsonReader, RejectsMalformedText) {
    for (const char* text : {"", " ", "[1,]", "{\"a\":1,}", "{a:1}", "01", "tru", "\"abc", "{} x", "[1 2]", "\"\\x\"",
                             "1.", "-", "\xEF\xBB\xBF{}"}) {
        EXPECT_FALSE(parse(text).has_value()) << text;
    }
}

TEST(JsonReader, ReadsValuesAndEscapes) {
    auto v = parse(R"({"k": [1, 2.5, -3e2, true, null, "\u00e9\ud83d\ude00\n"], "k": 2})");
    ASSERT_TRUE(v && v->isObject());
    const Value* k = v->find("k");
    ASSERT_TRUE(k && k->isArray());  // the first of two equal keys
    const auto& a = k->asArray();
    ASSERT_EQ(a.size(), 6u);
    EXPECT_DOUBLE_EQ(a[2].asNumber(), -300.0);
    EXPECT_TRUE(a[3].asBool());
    EXPECT_EQ(a[4].kind(), Value::Kind::Null);
    EXPECT_EQ(a[5].asString(), "\xC3\xA9\xF0\x9F\x98\x80\n");
}

// Too small for a double reads as zero (or the nearest double), too large as
// +-1e308; the sign stays either way.
TEST(JsonReader, NumbersAtTheEdgesOfADouble) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"1e-400", 0.0},
        {"-1e-400", -0.0},
        {"0.0000000000000000000001e-390", 0.0},
        {"123456e-330", 0.0},
        {"1e400", 1e308},
        {"-1e400", -1e308},
        {"0.001e311", 1e308},
        {"1000e-310", 1e-307},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"2.2250738585072014e-308", 2.2250738585072014e-308},
        {"0e999999999", 0.0},
        {"1e-99999999999999999999", 0.0},
        {"1e99999999999999999999", 1e308},
    };
    for (const auto& c : cases) {
        const auto v = parse(c.text);
        ASSERT_TRUE(v && v->isNumber()) << c.text;
        const double got = v->asNumber();
        if (c.expected == 0.0) {
            EXPECT_LT(std::abs(got), 1e-307) << c.text;
            EXPECT_EQ(std::signbit(got), std::signbit(c.expected)) << c.text;
        } else {
            EXPECT_DOUBLE_EQ(got, c.expected) << c.text;
        }
    }
}

TEST(JsonReader, InvalidUtf8AndLoneSurrogatesBecomeReplacementCharacters) {
    auto v = parse("[\"a\xFF\", \"\\udc00\", \"\\ud800\"]");
    ASSERT_TRUE(v);
    for (const auto& s : v->asArray()) EXPECT_NE(s.asString().find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(JsonReader, StringsOutliveTheTextAndTheirDocument) {
    std::optional<Value> copy;
    {
        auto root = parse(std::string(R"({"w": ["слово", "a\"b", "\u0436)") + "\xD0\"]}");
        ASSERT_TRUE(root);
        copy = *root->find("w");
    }  // the text and the parsed root are gone; the copy still owns its strings
    ASSERT_TRUE(copy && copy->isArray());
    const auto& w = copy->asArray();
    ASSERT_EQ(w.size(), 3u);
    EXPECT_EQ(w[0].asString(), "слово");
    EXPECT_EQ(w[1].asString(), "a\"b");
    EXPECT_EQ(w[2].asString(), "ж\xEF\xBF\xBD");  // an escape, then a truncated sequence
}

TEST(JsonReader, DeepNestingFailsInsteadOfOverflowing) {
    EXPECT_FALSE(parse(std::string(100000, '[') + std::string(100000, ']')).has_value());
    EXPECT_TRUE(parse(std::string(200, '[') + std::string(200, ']')).has_value());
}

// Every quoted text reads back as itself.
TEST(JsonQuote, EscapesWhatJsonRequiresAndReadsBack) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""},       {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\n\r\t", "\"\\n\\r\\t\""},  {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
        {"привет /", "\"привет /\""},
    };
    for (const auto& [text, quoted] : cases) {
        EXPECT_EQ(quote(text), quoted) << text;
        auto back = parse(quoted);
        ASSERT_TRUE(back.has_value()) << quoted;
        EXPECT_EQ(back->asString(), text);
    }
}

}  // namespace
}  // namespace quillom::json
