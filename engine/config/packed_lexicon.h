// The packed lexicon: every valid word form of each language, with a
// frequency rank per word, in a file beside the rules file. The engine reads
// the file once and looks words up in the bytes as read (no per-word
// allocation, nothing rebuilt at load).
//
// The rules file names it with a top-level member
//     "packed_lexicon": {"file": "quillom_lexicon.bin", "id": "<16 hex digits>"}
// where "file" is a plain file name in the rules file's folder and "id" equals
// the file's id field (below). Written by tools/rulesgen/packed.py.
//
// File layout (all integers little-endian, sections 4-byte aligned):
//   0   8  magic "QMLEX01\n"
//   8   8  id: first 8 bytes of the SHA-1 of everything from offset 24 on,
//          as a little-endian u64 (printed as 16 lower-case hex digits)
//   16  4  u32 number of languages N
//   20  4  u32 checksum of the whole file with these 4 bytes read as zero
//          (PackedLexiconFile::checksum)
//   24  N x 16: language key (ASCII, NUL-padded to 8 bytes), u32 offset of
//          its section from the start of the file, u32 section size in bytes;
//          the sections follow the table in its order up to the file's end
// Language section:
//   0   4  u32 symbol count S (at most 63)
//   4   4  u32 edge count E
//   8   4  u32 word count
//   12  4  u32 0
//   16  S x 4: symbol code i+1 is the character (UTF-8, NUL-padded) at i,
//          in ascending code point order
//   16+4S  E x u32 edges
// The words form a minimal acyclic automaton. A node is the run of edges
// from its first edge up to the one with the "last" bit; the root's run
// starts at edge 0; a node's edges are in strictly ascending label order,
// and every edge's target is the first edge of a node.
//   bits 0-5   label: a symbol code, or 0 for "a word ends here"
//   bit  6     last edge of its node
//   bits 7-31  label > 0: index of the first edge of the target node;
//              label 0: the word's rank band (the payload)
// Rank band: 0 for a valid form with no frequency estimate; otherwise
// 1 + floor(4 * log2(r)) where r >= 1 is the word's position in its
// language's frequency order (1 = most frequent): band 1 is r = 1, band 41
// is r = 1024..1217, and a band covers ranks 2^((b-1)/4) .. 2^(b/4).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillom {

// One language's words: a view into the file's bytes, which it shares.
class PackedLexicon {
public:
    static constexpr std::uint32_t kUnranked = 0;

    PackedLexicon() = default;

    // The word's rank band (kUnranked for a form with no frequency estimate),
    // or nothing when the word is not in the lexicon. word: lower-case UTF-8.
    std::optional<std::uint32_t> rankBand(std::string_view word) const;
    bool contains(std::string_view word) const { return rankBand(word).has_value(); }

    std::uint32_t wordCount() const { return wordCount_; }
    bool empty() const { return wordCount_ == 0; }

    // The most frequent rank a band covers (band >= 1).
    static double lowestRankOf(std::uint32_t band);

private:
    friend class PackedLexiconFile;
    std::uint32_t edgeAt(std::uint32_t index) const;
    std::uint32_t codeOf(char32_t c) const;
    // The code of the character at word[i] (0: no word holds it); moves i past it.
    std::uint32_t nextCode(std::string_view word, std::size_t& i) const;
    // The node the edge labelled `code` of `node` leads to; kNoNode for none.
    std::uint32_t step(std::uint32_t node, std::uint32_t code) const;
    // Fills afterTwo_ and afterThree_: every word is looked up from its
    // fourth character on.
    void indexFirstSteps();

    static constexpr std::uint32_t kNoNode = UINT32_MAX;
    static constexpr std::size_t kCodes = 64;  // symbol codes are 6 bits

    std::shared_ptr<const std::string> bytes_;
    const unsigned char* edges_ = nullptr;
    std::uint32_t edgeCount_ = 0;
    std::uint32_t wordCount_ = 0;
    std::array<std::uint8_t, 0x800> twoByteCodes_{};  // code of each code point below U+0800; 0: none
    std::vector<std::pair<char32_t, std::uint8_t>> otherCodes_;
    // step(0, a) at [a * kCodes], and step(step(0, a), b) at [a * kCodes + b]
    // for b > 0; kNoNode where there is none.
    std::vector<std::uint32_t> afterTwo_;
    // For the node after two characters a, b (b > 0): threeRow_[a * kCodes + b]
    // is 1 + its row in afterThree_ (0: no such node), and the row holds
    // step(node, c) at [c], kNoNode where there is none. The third step is the
    // longest walk along a node's edges: most prefixes of three go on in many ways.
    std::vector<std::uint32_t> threeRow_;
    std::vector<std::uint32_t> afterThree_;
};

class PackedLexiconFile {
public:
    // Eight times the shipped file's size: a larger file is not one of ours.
    static constexpr std::size_t kMaxFileBytes = 32u << 20;

    // Reads the file and checks its checksum, structure and id; nothing (with
    // the reason in errorOut) when it is missing, not a regular file, over
    // kMaxFileBytes, damaged, malformed or not the file the rules name.
    static std::optional<PackedLexiconFile> load(const std::string& utf8Path, std::string_view expectedId,
                                                 std::string* errorOut = nullptr);
    // The same from bytes already in memory.
    static std::optional<PackedLexiconFile> fromBytes(std::string bytes, std::string_view expectedId,
                                                      std::string* errorOut = nullptr);

    // The checksum the file's header holds (bytes 20-23) when it is whole:
    // of all its bytes with those four read as zero.
    static std::uint32_t checksum(std::string_view file);

    // An empty lexicon for a language the file does not hold.
    PackedLexicon language(const std::string& key) const;

private:
    static bool readSection(const std::shared_ptr<const std::string>& file, std::size_t offset, std::size_t size,
                            PackedLexicon& out, std::string* errorOut);
    static bool checkEdges(PackedLexicon& lexicon, std::uint32_t symbols, std::string* errorOut);

    std::map<std::string, PackedLexicon> languages_;
};

}  // namespace quillom
