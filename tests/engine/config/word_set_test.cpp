// The compact word set against a reference std::set, through growth, erasure
// (which moves probe-run members) and the edge cases of its keys.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "config/word_set.h"

namespace quillom {
namespace {

std::set<std::string> members(const WordSet& s) {
    std::set<std::string> out;
    for (std::string_view w : s) EXPECT_TRUE(out.emplace(w).second) << "visited twice: " << w;
    return out;
}

TEST(WordSet, InsertReportsDuplicatesAndLookupIsExact) {
    WordSet s;
    EXPECT_TRUE(s.empty());
    EXPECT_FALSE(s.contains(""));
    struct Case {
        std::string_view word;
        bool inserted;
    };
    const Case cases[] = {
        {"привет", true}, {"мир", true}, {"привет", false}, {"", true},
        {"", false},      {"при", true}, {"a", true},       {std::string_view("a\0b", 3), true},
        {"ґанок", true},
    };
    for (const Case& c : cases) EXPECT_EQ(s.insert(c.word), c.inserted) << c.word;
    EXPECT_EQ(s.size(), 7u);
    for (std::string_view w : {"привет", "мир", "", "при", "a", "ґанок"}) EXPECT_TRUE(s.contains(w)) << w;
    EXPECT_TRUE(s.contains(std::string_view("a\0b", 3)));
    // Prefixes, extensions and case variants of members are not members.
    for (std::string_view w : {"прив", "приветы", "Привет", "ми", "b", "ab", "ганок"}) EXPECT_FALSE(s.contains(w)) << w;
}

TEST(WordSet, GrowsAndErasesLikeAReferenceSet) {
    WordSet s;
    std::set<std::string> reference;
    for (int i = 0; i < 5000; ++i) {
        std::string w = "слово" + std::to_string(i * 7919 % 10007);
        EXPECT_EQ(s.insert(w), reference.insert(w).second);
    }
    EXPECT_EQ(members(s), reference);
    // Every third word goes: erasing from the middle of probe runs must keep
    // the rest reachable.
    int n = 0;
    for (auto it = reference.begin(); it != reference.end();) {
        if (n++ % 3 == 0) {
            EXPECT_TRUE(s.erase(*it)) << *it;
            it = reference.erase(it);
        } else {
            ++it;
        }
    }
    EXPECT_FALSE(s.erase("слово-нет"));
    EXPECT_EQ(s.size(), reference.size());
    for (const std::string& w : reference) EXPECT_TRUE(s.contains(w)) << w;
    EXPECT_EQ(members(s), reference);
    EXPECT_TRUE(s.insert("слово0")) << "an erased word can come back";
}

TEST(WordSet, InsertAllMatchesOneByOneInsertion) {
    std::vector<std::string> storage;
    for (int i = 0; i < 3000; ++i) storage.push_back(std::string("w").append(std::to_string(i % 1700)));  // duplicates
    std::vector<std::string_view> words(storage.begin(), storage.end());
    WordSet bulk{"w5", "другое"};
    bulk.insertAll(words);
    WordSet single{"w5", "другое"};
    for (std::string_view w : words) single.insert(w);
    EXPECT_EQ(bulk.size(), 1701u);
    EXPECT_EQ(bulk, single);
    EXPECT_EQ(members(bulk), members(single));
}

TEST(WordSet, EqualityIgnoresOrderAndReservation) {
    WordSet reserved;
    reserved.reserve(1000, 64);
    for (std::string_view w : {"мир", "и", "дружба"}) reserved.insert(w);
    EXPECT_EQ(reserved, (WordSet{"дружба", "мир", "и"}));
    EXPECT_FALSE(reserved == (WordSet{"дружба", "мир"}));
    EXPECT_FALSE(reserved == (WordSet{"дружба", "мир", "я"}));
    EXPECT_EQ(WordSet{}, WordSet{});
    WordSet copy = reserved;
    copy.erase("и");
    EXPECT_TRUE(reserved.contains("и")) << "a copy owns its words";
}

}  // namespace
}  // namespace quillom
