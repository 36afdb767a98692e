#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/char_table.h"
#include "unicode/unicode.h"

namespace quillom {
namespace {

// Keys of every kind a rules file can hold: ASCII, Cyrillic, a scalar past
// the dense range, a letter with a combining mark, several characters, and
// bytes that are no well-formed scalar (a lone lead byte, an overlong form).
const CharMap kEntries = {
    {"q", "й"},        {"[", "х"},       {"\x7F", "del"},   {"й", "q"},      {"ё", "`"},
    {"\xD3\xBF", "ӿ"}, {"ā", "a"},       {"\u0500", "Ԁ"},   {"\u20AC", "e"}, {"е\u0301", "é"},
    {"ab", "two"},     {"\xD0", "lead"}, {"\xC1\x81", "A"}, {"", "empty"},
};

std::set<std::string> probes() {
    std::set<std::string> out;
    for (char32_t cp = 0; cp < 0x600; ++cp) {
        std::string key;
        unicode::appendUtf8(key, cp);
        out.insert(key);
    }
    for (const auto& [key, value] : kEntries) out.insert(key);
    for (const char* other : {"\xD0\xB9\xD0", "qq", "\xC0\x80", "\xE2\x82", "\xF0\x9F\x98\x80", "\xD3"})
        out.insert(other);
    return out;
}

// The table finds exactly what the map finds, for every key of the map, every
// scalar up to past the dense range, and strings that are no single scalar.
TEST(CharTable, FindsWhatTheMapFinds) {
    const CharTable<std::string> table(kEntries);
    std::size_t found = 0;
    for (const std::string& probe : probes()) {
        const auto it = kEntries.find(probe);
        const std::string* value = table.find(probe);
        ASSERT_EQ(value != nullptr, it != kEntries.end()) << "key of " << probe.size() << " bytes: " << probe;
        if (value) {
            EXPECT_EQ(*value, it->second) << probe;
            ++found;
        }
    }
    EXPECT_EQ(found, kEntries.size());
}

TEST(CharTable, InsertReplacesAndEmptyTablesFindNothing) {
    CharTable<int> table;
    for (const std::string& probe : probes()) EXPECT_EQ(table.find(probe), nullptr) << probe;
    for (const char* key : {"a", "ж", "е\u0301"}) {
        table.insert(key, 1);
        table.insert(key, 2);
        ASSERT_NE(table.find(key), nullptr) << key;
        EXPECT_EQ(*table.find(key), 2) << key;
    }
    EXPECT_EQ(table.find("b"), nullptr);
    EXPECT_EQ(table.find("е"), nullptr);  // the base letter alone is another key
}

}  // namespace
}  // namespace quillom
