#include "config/packed_lexicon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "config/file_bytes.h"

namespace quillom {

namespace {

constexpr std::string_view kMagic = "QMLEX01\n";
constexpr std::size_t kHeaderSize = 24, kLanguageEntrySize = 16, kSectionHeaderSize = 16, kChecksumAt = 20;
constexpr std::uint32_t kLabelMask = 0x3F, kLastBit = 0x40, kValueShift = 7, kMaxSymbols = 63;

std::uint32_t u32At(const unsigned char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;  // the file is little-endian, as is every target
}

std::uint64_t u64At(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::string hexOf(std::uint64_t v) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = kDigits[v & 0xF];
    return out;
}

// One UTF-8 character (valid or not) at text[i]: its code point, or
// U+FFFD for a malformed sequence, which no lexicon holds.
char32_t nextChar(std::string_view text, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(text[i++]);
    if (b0 < 0x80) return b0;
    int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) > text.size()) return 0xFFFD;
    char32_t c = b0 & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (b & 0x3F);
        ++i;
    }
    return c;
}

}  // namespace

// The same function as checksum() in tools/rulesgen/packed.py: eight bytes
// per step, so that verifying the whole file costs about a millisecond.
std::uint32_t PackedLexiconFile::checksum(std::string_view file) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ file.size();
    const auto* p = reinterpret_cast<const unsigned char*>(file.data());
    for (std::size_t at = 0; at < file.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, p + at, std::min<std::size_t>(8, file.size() - at));
        if (at == kChecksumAt - 4) word &= 0xFFFFFFFFull;
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    h ^= h >> 29;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 32;
    return static_cast<std::uint32_t>(h);
}

namespace {

bool fail(std::string* errorOut, std::string_view why) {
    if (errorOut) *errorOut = std::string(why);
    return false;
}

}  // namespace

std::uint32_t PackedLexicon::edgeAt(std::uint32_t index) const { return u32At(edges_ + 4 * std::size_t{index}); }

std::uint32_t PackedLexicon::codeOf(char32_t c) const {
    if (c < twoByteCodes_.size()) return twoByteCodes_[c];
    for (const auto& [symbol, code] : otherCodes_)
        if (symbol == c) return code;
    return 0;
}

// ASCII and two-byte characters, nearly every character of a word, decoded
// here; the rest through nextChar, which decides the same for these.
std::uint32_t PackedLexicon::nextCode(std::string_view word, std::size_t& i) const {
    const auto b0 = static_cast<unsigned char>(word[i]);
    if (b0 < 0x80) {
        ++i;
        return twoByteCodes_[b0];
    }
    if (b0 >= 0xC2 && b0 < 0xE0 && i + 1 < word.size()) {
        const auto b1 = static_cast<unsigned char>(word[i + 1]);
        if ((b1 & 0xC0) == 0x80) {
            i += 2;
            return twoByteCodes_[((b0 & 0x1Fu) << 6) | (b1 & 0x3Fu)];
        }
    }
    return codeOf(nextChar(word, i));
}

std::uint32_t PackedLexicon::step(std::uint32_t node, std::uint32_t code) const {
    for (std::uint32_t e = node;; ++e) {
        const std::uint32_t edge = edgeAt(e);
        const std::uint32_t label = edge & kLabelMask;
        if (label == code) return edge >> kValueShift;
        if (label > code || (edge & kLastBit)) return kNoNode;
    }
}

void PackedLexicon::indexFirstSteps() {
    afterTwo_.assign(kCodes * kCodes, kNoNode);
    for (std::uint32_t a = 1; a < kCodes; ++a) {
        const std::uint32_t first = step(0, a);
        afterTwo_[a * kCodes] = first;
        if (first == kNoNode) continue;
        for (std::uint32_t b = 1; b < kCodes; ++b) afterTwo_[a * kCodes + b] = step(first, b);
    }
    threeRow_.assign(kCodes * kCodes, 0);
    for (std::uint32_t slot = 0; slot < afterTwo_.size(); ++slot) {
        const std::uint32_t node = afterTwo_[slot];
        if (slot % kCodes == 0 || node == kNoNode) continue;
        const std::size_t row = afterThree_.size();
        afterThree_.resize(row + kCodes, kNoNode);
        for (std::uint32_t e = node;; ++e) {
            const std::uint32_t edge = edgeAt(e);
            if ((edge & kLabelMask) != 0) afterThree_[row + (edge & kLabelMask)] = edge >> kValueShift;
            if (edge & kLastBit) break;
        }
        threeRow_[slot] = static_cast<std::uint32_t>(row / kCodes + 1);
    }
}

std::optional<std::uint32_t> PackedLexicon::rankBand(std::string_view word) const {
    if (edgeCount_ == 0) return std::nullopt;
    std::uint32_t node = 0;
    std::size_t i = 0;
    // The first three characters (or fewer) through the tables.
    if (!word.empty() && !afterTwo_.empty()) {
        const std::uint32_t a = nextCode(word, i);
        if (a == 0) return std::nullopt;
        std::uint32_t b = 0;
        if (i < word.size() && (b = nextCode(word, i)) == 0) return std::nullopt;
        node = afterTwo_[a * kCodes + b];
        if (node == kNoNode) return std::nullopt;
        if (i < word.size()) {
            const std::uint32_t c = nextCode(word, i);
            if (c == 0) return std::nullopt;
            node = afterThree_[(threeRow_[a * kCodes + b] - 1) * std::size_t{kCodes} + c];
            if (node == kNoNode) return std::nullopt;
        }
    }
    while (i < word.size()) {
        const std::uint32_t code = nextCode(word, i);
        if (code == 0) return std::nullopt;
        node = step(node, code);
        if (node == kNoNode) return std::nullopt;
    }
    const std::uint32_t first = edgeAt(node);
    if ((first & kLabelMask) != 0) return std::nullopt;
    return first >> kValueShift;
}

double PackedLexicon::lowestRankOf(std::uint32_t band) {
    return band == 0 ? 0.0 : std::ceil(std::exp2((static_cast<double>(band) - 1.0) / 4.0) - 1e-9);
}

std::optional<PackedLexiconFile> PackedLexiconFile::load(const std::string& utf8Path, std::string_view expectedId,
                                                         std::string* errorOut) {
    auto bytes = readWholeFile(utf8Path, kMaxFileBytes);
    if (!bytes) {
        fail(errorOut, "cannot read " + utf8Path + " (missing, not a regular file, or over the size cap)");
        return std::nullopt;
    }
    return fromBytes(std::move(*bytes), expectedId, errorOut);
}

// Checks one language section and points the lexicon into it.
bool PackedLexiconFile::readSection(const std::shared_ptr<const std::string>& file, std::size_t offset,
                                    std::size_t size, PackedLexicon& out, std::string* errorOut) {
    out.bytes_ = file;
    std::uint32_t& edgeCount = out.edgeCount_;
    const unsigned char*& edges = out.edges_;
    const auto* base = reinterpret_cast<const unsigned char*>(file->data());
    if (offset % 4 || size < kSectionHeaderSize || offset > file->size() || size > file->size() - offset)
        return fail(errorOut, "language section out of the file");
    const unsigned char* s = base + offset;
    const std::uint32_t symbols = u32At(s);
    edgeCount = u32At(s + 4);
    out.wordCount_ = u32At(s + 8);
    if (symbols > kMaxSymbols || kSectionHeaderSize + 4 * (std::size_t{symbols} + edgeCount) != size)
        return fail(errorOut, "language section of the wrong size");
    if (u32At(s + 12) != 0) return fail(errorOut, "reserved section field set");
    char32_t previous = 0;
    for (std::uint32_t i = 0; i < symbols; ++i) {
        const auto* sym = reinterpret_cast<const char*>(s + kSectionHeaderSize + 4 * i);
        const std::string_view text(sym, strnlen(sym, 4));
        std::size_t pos = 0;
        if (text.empty()) return fail(errorOut, "empty symbol");
        const char32_t c = nextChar(text, pos);
        if (pos != text.size() || c == 0xFFFD) return fail(errorOut, "symbol is not one character");
        // Ascending, so no character has two codes.
        if (c <= previous) return fail(errorOut, "symbols out of order");
        previous = c;
        const auto code = static_cast<std::uint8_t>(i + 1);
        if (c < out.twoByteCodes_.size()) out.twoByteCodes_[c] = code;
        else out.otherCodes_.emplace_back(c, code);
    }
    edges = s + kSectionHeaderSize + 4 * std::size_t{symbols};
    if (!checkEdges(out, symbols, errorOut)) return false;
    if (edgeCount) out.indexFirstSteps();
    return true;
}

// Every run of edges (a node) in strictly ascending label order, so at most one edge per
// symbol and one word end: a lookup step reads at most 64 edges. Every target starts a run,
// and the word count is at least the number of word ends (words share their ends). One
// pass over the edges and one over the targets: counting every path would cost more than
// the rest of the engine's creation together.
bool PackedLexiconFile::checkEdges(PackedLexicon& lexicon, std::uint32_t symbols, std::string* errorOut) {
    const std::uint32_t edgeCount = lexicon.edgeCount_;
    if (edgeCount == 0) return lexicon.wordCount_ == 0 || fail(errorOut, "word count disagrees with the edges");
    std::vector<bool> runStart(edgeCount, false);
    bool starts = true;
    std::uint32_t previousLabel = 0, wordEnds = 0;
    for (std::uint32_t e = 0; e < edgeCount; ++e) {
        const std::uint32_t edge = lexicon.edgeAt(e);
        const std::uint32_t label = edge & kLabelMask;
        if (label > symbols || (label != 0 && (edge >> kValueShift) >= edgeCount))
            return fail(errorOut, "edge out of range");
        if (!starts && label <= previousLabel) return fail(errorOut, "labels out of order");
        runStart[e] = starts;
        previousLabel = label;
        wordEnds += label == 0;
        starts = (edge & kLastBit) != 0;
    }
    if (!starts) return fail(errorOut, "unterminated node");
    for (std::uint32_t e = 0; e < edgeCount; ++e) {
        const std::uint32_t edge = lexicon.edgeAt(e);
        if ((edge & kLabelMask) != 0 && !runStart[edge >> kValueShift])
            return fail(errorOut, "edge into a node's middle");
    }
    if (wordEnds == 0 || wordEnds > lexicon.wordCount_) return fail(errorOut, "word count disagrees with the edges");
    return true;
}

std::optional<PackedLexiconFile> PackedLexiconFile::fromBytes(std::string bytes, std::string_view expectedId,
                                                              std::string* errorOut) {
    auto file = std::make_shared<const std::string>(std::move(bytes));
    const auto* base = reinterpret_cast<const unsigned char*>(file->data());
    if (file->size() > kMaxFileBytes) {
        fail(errorOut, "the packed lexicon is over the size cap");
        return std::nullopt;
    }
    if (file->size() < kHeaderSize || std::string_view(file->data(), kMagic.size()) != kMagic) {
        fail(errorOut, "not a packed lexicon");
        return std::nullopt;
    }
    if (u32At(base + kChecksumAt) != checksum(*file)) {
        fail(errorOut, "the packed lexicon is damaged (checksum)");
        return std::nullopt;
    }
    if (hexOf(u64At(base + 8)) != expectedId) {
        fail(errorOut, "the packed lexicon is not the one the rules file names");
        return std::nullopt;
    }
    const std::uint32_t count = u32At(base + 16);
    if (count > (file->size() - kHeaderSize) / kLanguageEntrySize) {
        fail(errorOut, "language table out of the file");
        return std::nullopt;
    }
    PackedLexiconFile out;
    // The sections follow the table one after another up to the file's end.
    std::size_t next = kHeaderSize + kLanguageEntrySize * count;
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* entry = base + kHeaderSize + kLanguageEntrySize * i;
        const auto* key = reinterpret_cast<const char*>(entry);
        PackedLexicon lexicon;
        if (u32At(entry + 8) != next) {
            fail(errorOut, "language sections out of place");
            return std::nullopt;
        }
        if (!readSection(file, u32At(entry + 8), u32At(entry + 12), lexicon, errorOut)) return std::nullopt;
        next += u32At(entry + 12);
        if (!out.languages_.emplace(std::string(key, strnlen(key, 8)), std::move(lexicon)).second) {
            fail(errorOut, "a language twice");
            return std::nullopt;
        }
    }
    if (next != file->size()) {
        fail(errorOut, "bytes after the last language section");
        return std::nullopt;
    }
    return out;
}

PackedLexicon PackedLexiconFile::language(const std::string& key) const {
    auto it = languages_.find(key);
    return it == languages_.end() ? PackedLexicon{} : it->second;
}

}  // namespace quillom
