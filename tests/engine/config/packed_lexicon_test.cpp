// The packed lexicon reader, on a file the generator's writer made from
// data/small_lexicon.tsv (tools/rulesgen/pack_fixture.py; the generator's
// tests check that the file still equals what the writer makes of the table).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/file_bytes.h"
#include "config/packed_lexicon.h"

namespace quillom {
namespace {

const std::string kDir = QUILLOM_TEST_DATA_DIR;
constexpr std::string_view kId = "50a5c6be7ff0b352";

struct Entry {
    std::string lang, word;
    std::uint32_t band;
};

std::vector<Entry> table() {
    std::vector<Entry> out;
    std::ifstream in(kDir + "/small_lexicon.tsv");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Entry e;
        std::getline(fields, e.lang, '\t');
        std::getline(fields, e.word, '\t');
        fields >> e.band;
        out.push_back(e);
    }
    return out;
}

std::string fileBytes() { return readWholeFile(kDir + "/small_lexicon.bin").value_or(""); }

TEST(PackedLexicon, FindsEveryWordWithItsBand) {
    const auto file = PackedLexiconFile::load(kDir + "/small_lexicon.bin", kId);
    ASSERT_TRUE(file);
    const std::vector<Entry> entries = table();
    ASSERT_EQ(entries.size(), 21u);
    for (const Entry& e : entries) EXPECT_EQ(file->language(e.lang).rankBand(e.word), e.band) << e.word;
    EXPECT_EQ(file->language("ru").wordCount(), 9u);
}

TEST(PackedLexicon, AbsentWordsAreNotFound) {
    const auto file = PackedLexiconFile::load(kDir + "/small_lexicon.bin", kId);
    ASSERT_TRUE(file);
    const PackedLexicon ru = file->language("ru"), en = file->language("en"), uk = file->language("uk");
    // Prefixes and extensions of listed words, other languages' words, letters
    // outside the alphabet, upper case, malformed UTF-8, the empty word.
    for (std::string_view w :
         {"ми",           "мирн",  "мирные", "вдругг", "прочт", "the", "їжак", "мирx",   "Мир",    "",          "\xd0",
          "\xd0\xbc\xd0", "м\xff", "м",      "ъ",      "xм",    "мx",  "миx",  "ми\xff", "ми\xd1", "м\xc0\xb8р"})
        EXPECT_FALSE(ru.contains(w)) << w;
    for (std::string_view w : {"th", "thee", "thx", "word", "don", "мир", "b"}) EXPECT_FALSE(en.contains(w)) << w;
    EXPECT_FALSE(uk.contains("пять"));
    EXPECT_TRUE(uk.contains("мир"));
    EXPECT_FALSE(file->language("de").contains("the"));
    EXPECT_TRUE(file->language("de").empty());
}

TEST(PackedLexicon, RankBandsMapBackToRanks) {
    EXPECT_EQ(PackedLexicon::lowestRankOf(1), 1.0);
    EXPECT_EQ(PackedLexicon::lowestRankOf(5), 2.0);
    EXPECT_EQ(PackedLexicon::lowestRankOf(41), 1024.0);
    EXPECT_EQ(PackedLexicon::lowestRankOf(PackedLexicon::kUnranked), 0.0);
}

TEST(PackedLexicon, RejectsAnotherOrADamagedFile) {
    const std::string good = fileBytes();
    ASSERT_GT(good.size(), 200u);
    std::string error;
    EXPECT_FALSE(PackedLexiconFile::fromBytes(good, "0000000000000000", &error));
    EXPECT_EQ(error, "the packed lexicon is not the one the rules file names");
    EXPECT_FALSE(PackedLexiconFile::load(kDir + "/absent.bin", kId));
    struct Damage {
        const char* what;
        std::string bytes;
    };
    auto with = [&](std::size_t at, char value) {
        std::string b = good;
        b[at] = value;
        return b;
    };
    // The first language section follows the header and the table of three languages.
    const std::size_t section = 24 + 3 * 16, rootEdge = section + 16 + 4 * static_cast<unsigned char>(good[section]);
    const std::vector<Damage> damages = {
        {"empty", ""},
        {"magic", with(0, 'X')},
        {"truncated header", good.substr(0, 20)},
        {"truncated table", good.substr(0, 40)},
        {"truncated section", good.substr(0, good.size() - 4)},
        {"huge language count", with(19, '\x7f')},
        {"section offset past the end", with(35, '\x7f')},
        {"last edge without its last bit", with(good.size() - 4, static_cast<char>(good[good.size() - 4] & ~0x40))},
        {"edge target past the end", with(rootEdge + 3, '\x7f')},
        {"label past the symbols", with(rootEdge, '\x3f')},
    };
    for (const Damage& d : damages) EXPECT_FALSE(PackedLexiconFile::fromBytes(d.bytes, kId)) << d.what;
}

}  // namespace
}  // namespace quillom
