#include "settings/json.h"

#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

using namespace quillom::settings;

namespace {

JsonValue parsed(std::string_view text) {
    JsonValue v;
    EXPECT_TRUE(parseJson(text, v)) << text;
    return v;
}

std::string printed(const JsonValue& v) {
    std::string s;
    writeJson(v, s, 0);
    return s;
}

TEST(JsonParse, MixedArrayRoundTripsToIndentedText) {
    const JsonValue v = parsed("  {\"k\" : [1, 2.5, -3e2, true, null, \"\\u00e9\"]}  ");
    EXPECT_EQ(toJsonText(v),
              "{\n  \"k\": [\n    1,\n    2.5,\n    -300,\n    true,\n    null,\n    \"\xC3\xA9\"\n  ]\n}\n");
    EXPECT_EQ(parsed(toJsonText(v)), v);
}

TEST(JsonWrite, NestedExampleLayout) {
    JsonValue root;
    member(root, "a") = 1;
    JsonValue& b = member(root, "b");
    push(b, true);
    push(b, "x");
    EXPECT_EQ(toJsonText(root), "{\n  \"a\": 1,\n  \"b\": [\n    true,\n    \"x\"\n  ]\n}\n");
    EXPECT_EQ(printed(JsonValue::makeArray()), "[]");
    EXPECT_EQ(printed(JsonValue::makeObject()), "{}");
}

TEST(JsonParse, DuplicateKeysAreKeptAndFirstWins) {
    const JsonValue v = parsed(R"({"a":1,"a":2})");
    ASSERT_EQ(v.members().size(), 2u);
    ASSERT_NE(find(v, "a"), nullptr);
    EXPECT_EQ(find(v, "a")->asNumber(), 1);
    EXPECT_EQ(printed(v), "{\n  \"a\": 1,\n  \"a\": 2\n}");
}

TEST(JsonParse, FailuresLeaveOutputUntouched) {
    const std::vector<std::string> bad = {"[1,]",
                                          "{\"a\":1,}",
                                          "{a:1}",
                                          "[01x]",
                                          "tru",
                                          "\"abc",
                                          "",
                                          "   ",
                                          "{} x",
                                          "\xEF\xBB\xBF{}",
                                          "\"\\ud83dx\"",
                                          "\"\\x\"",
                                          "\"\\'\"",
                                          "\"\\u12\"",
                                          "\"\\u12g4\"",
                                          "[1 2]",
                                          "{\"a\" 1}",
                                          "{\"a\":}",
                                          "[",
                                          "{",
                                          "truex",
                                          "nul",
                                          "\"\\",
                                          "\"\\ud83d\\u0041\""};
    for (const std::string& text : bad) {
        JsonValue out("kept");
        EXPECT_FALSE(parseJson(text, out)) << text;
        EXPECT_EQ(out, JsonValue("kept")) << text;
    }
}

TEST(JsonParse, StringEscapesAndSurrogates) {
    struct Case {
        std::string text, bytes;
    };
    const std::vector<Case> cases = {
        {R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
        {R"("\udc00")", "\xED\xB0\x80"},
        {R"("\u0000")", std::string(1, '\0')},
        {R"("\u007f\u0080\u07FF\u0800")", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80"},
        {R"("\"\\\/\b\f\n\r\t")", "\"\\/\b\f\n\r\t"},
        {"\"a\tb\nc\"", "a\tb\nc"},
        {"\"\xD0\xBF\xFF\"", "\xD0\xBF\xFF"},
    };
    for (const Case& c : cases) {
        const JsonValue v = parsed(c.text);
        ASSERT_TRUE(v.isString()) << c.text;
        EXPECT_EQ(v.asString(), c.bytes) << c.text;
    }
}

TEST(JsonWrite, StringEscaping) {
    EXPECT_EQ(printed(JsonValue(std::string("\x1F\x7F/\"\\\b\f\n\r\t\x01", 11))),
              "\"\\u001f\x7F/\\\"\\\\\\b\\f\\n\\r\\t\\u0001\"");
    EXPECT_EQ(printed(JsonValue(std::string("a\0b", 3))), "\"a\\u0000b\"");
}

TEST(JsonNumbers, ParsedValues) {
    struct Case {
        std::string text;
        double value;
    };
    const std::vector<Case> cases = {
        {"+5", 5},  {"-", 0},   {"1.2.3", 1.2}, {"1e5", 100000},     {"-3e2", -300},        {"1e", 1},     {".5", 0.5},
        {"+-5", 0}, {"--1", 0}, {"e5", 0},      {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e-400", 0}, {"0.5", 0.5},
    };
    for (const Case& c : cases) {
        const JsonValue v = parsed(c.text);
        ASSERT_TRUE(v.isNumber()) << c.text;
        EXPECT_EQ(v.asNumber(), c.value) << c.text;
    }
}

TEST(JsonNumbers, PrintedForms) {
    struct Case {
        double value;
        std::string text;
    };
    const std::vector<Case> cases = {
        {3.0, "3"},
        {-0.0, "0"},
        {0.5, "0.5"},
        {2.25e20, "2.25e+20"},
        {3.14159265, "3.14159"},
        {1e15, "1e+15"},
        {999999999999999.0, "999999999999999"},
        {0.1, "0.1"},
        {1234567.5, "1.23457e+06"},
        {-2, "-2"},
        {-1e15, "-1e+15"},
        {HUGE_VAL, "null"},
    };
    for (const Case& c : cases) EXPECT_EQ(printed(JsonValue(c.value)), c.text) << c.text;
}

TEST(JsonParse, NestingDepthIsCapped) {
    const auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    JsonValue v;
    EXPECT_TRUE(parseJson(nested(kMaxJsonDepth), v));
    EXPECT_FALSE(parseJson(nested(kMaxJsonDepth + 1), v));
    EXPECT_FALSE(parseJson(std::string(100000, '['), v));
    const std::string objects = [] {
        std::string s;
        for (int i = 0; i <= kMaxJsonDepth; ++i) s += "{\"a\":";
        s += "1";
        return s + std::string(kMaxJsonDepth + 1, '}');
    }();
    EXPECT_FALSE(parseJson(objects, v));
}

TEST(JsonAccess, MemberFindEraseGetters) {
    JsonValue v(true);
    member(v, "x") = 1;  // a Bool becomes an empty object first
    ASSERT_TRUE(v.isObject());
    EXPECT_EQ(v.members().size(), 1u);
    member(v, "y") = "text";
    member(v, "x") = 2;  // existing key keeps its place
    EXPECT_EQ(v.members()[0].key, "x");
    EXPECT_EQ(v.members()[0].value.asNumber(), 2);
    EXPECT_EQ(find(JsonValue(5), "x"), nullptr);
    EXPECT_EQ(find(v, "missing"), nullptr);

    member(v, "empty") = "";
    member(v, "flag") = true;
    member(v, "one") = 1;
    member(v, "str_true") = "true";
    EXPECT_EQ(getString(v, "y", "d"), "text");
    EXPECT_EQ(getString(v, "empty", "d"), "d");
    EXPECT_EQ(getString(v, "x", "d"), "d");
    EXPECT_TRUE(getBool(v, "flag", false));
    EXPECT_FALSE(getBool(v, "one", false));
    EXPECT_FALSE(getBool(v, "str_true", false));
    EXPECT_TRUE(getBool(v, "missing", true));

    erase(v, "y");
    EXPECT_EQ(find(v, "y"), nullptr);
    EXPECT_EQ(v.members()[1].key, "empty");
    erase(v, "missing");
    EXPECT_EQ(v.members().size(), 5u);
}

TEST(JsonValue, CopiesAreDeep) {
    const JsonValue a = parsed(R"({"list":[1,{"k":"v"}]})");
    JsonValue b = a;
    member(member(b, "list").items()[1], "k") = "changed";
    EXPECT_EQ(find(find(a, "list")->items()[1], "k")->asString(), "v");
    EXPECT_NE(a, b);
}

}  // namespace
