// The packed lexicon reader, on a file the generator's writer made from
// data/small_lexicon.tsv (tools/rulesgen/pack_fixture.py; the generator's
// tests check that the file still equals what the writer makes of the table).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
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

std::string fileBytes() { return readWholeFile(kDir + "/small_lexicon.bin", 1 << 20).value_or(""); }

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

TEST(PackedLexicon, RejectsAnotherFile) {
    std::string error;
    EXPECT_FALSE(PackedLexiconFile::fromBytes(fileBytes(), "0000000000000000", &error));
    EXPECT_EQ(error, "the packed lexicon is not the one the rules file names");
    EXPECT_FALSE(PackedLexiconFile::load(kDir + "/absent.bin", kId));
}

std::uint32_t u32In(const std::string& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void putU32(std::string& b, std::size_t at, std::uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

// The bytes with the checksum they would have when written so on purpose:
// each damage below is then caught by the structure, not the checksum.
std::string sealed(std::string b) {
    if (b.size() >= 24) putU32(b, 20, PackedLexiconFile::checksum(b));
    return b;
}

TEST(PackedLexicon, RejectsADamagedOrHostileFileForWhatIsWrong) {
    const std::string good = fileBytes();
    ASSERT_GT(good.size(), 200u);
    ASSERT_TRUE(PackedLexiconFile::fromBytes(good, kId));
    // The English section follows the header and the table of three
    // languages; its root is the run a, d, t, w (edges 0-3), edge 13 is the
    // end of "the" in the middle of a run.
    const std::size_t section = 24 + 3 * 16, edges = section + 16 + 4 * u32In(good, section);
    const std::uint32_t edgeCount = u32In(good, section + 4);
    auto edited = [&](auto&& edit) {
        std::string b = good;
        edit(b);
        return sealed(b);
    };
    auto target = [&](std::uint32_t edge, std::uint32_t to) {
        return edited(
            [&](std::string& b) { putU32(b, edges + 4 * edge, (u32In(b, edges + 4 * edge) & 0x7F) | to << 7); });
    };
    struct Damage {
        const char* what;
        std::string bytes;
        std::string_view error;
    };
    const std::vector<Damage> damages = {
        {"empty", "", "not a packed lexicon"},
        {"magic", sealed("X" + good.substr(1)), "not a packed lexicon"},
        {"a band changed, checksum not",
         [&] {
             std::string b = good;
             b[edges + 4 * 4 + 1] ^= 1;
             return b;
         }(),
         "the packed lexicon is damaged (checksum)"},
        {"truncated header", good.substr(0, 20), "not a packed lexicon"},
        {"truncated table", sealed(good.substr(0, 40)), "language table out of the file"},
        {"truncated section", sealed(good.substr(0, good.size() - 4)), "language section out of the file"},
        {"zeros after the sections", sealed(good + std::string(1 << 16, '\0')),
         "bytes after the last language section"},
        {"over the size cap", good + std::string(PackedLexiconFile::kMaxFileBytes, '\0'),
         "the packed lexicon is over the size cap"},
        {"huge language count", edited([](std::string& b) { b[19] = 0x7f; }), "language table out of the file"},
        {"section offset past the end", edited([](std::string& b) { b[35] = 0x7f; }), "language sections out of place"},
        {"a language twice", edited([](std::string& b) { b.replace(40, 2, "en"); }), "a language twice"},
        {"symbols out of order", edited([&](std::string& b) { std::swap(b[section + 16], b[section + 20]); }),
         "symbols out of order"},
        {"labels out of order (a then reads as absent)", edited([&](std::string& b) {
             std::swap_ranges(b.begin() + edges, b.begin() + edges + 4, b.begin() + edges + 4);
         }),
         "labels out of order"},
        {"one long run of edges", edited([&](std::string& b) {
             for (std::uint32_t e = 0; e + 1 < edgeCount; ++e) b[edges + 4 * e] &= ~0x40;
         }),
         "labels out of order"},
        {"edge into a node's middle", target(0, 14), "edge into a node's middle"},
        {"edge target past the end", target(0, 0x1FFFFFF), "edge out of range"},
        {"label past the symbols", edited([&](std::string& b) { b[edges] = 0x3f; }), "edge out of range"},
        {"fewer words than word ends", edited([&](std::string& b) { putU32(b, section + 8, 2); }),
         "word count disagrees with the edges"},
        {"last edge without its last bit",
         edited([&](std::string& b) { b[section + 16 + 4 * u32In(b, section) + 4 * (edgeCount - 1)] &= ~0x40; }),
         "unterminated node"},
    };
    for (const Damage& d : damages) {
        std::string error;
        EXPECT_FALSE(PackedLexiconFile::fromBytes(d.bytes, kId, &error)) << d.what;
        EXPECT_EQ(error, d.error) << d.what;
    }
}

}  // namespace
}  // namespace quillom
