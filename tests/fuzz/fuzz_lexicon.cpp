// libFuzzer target: arbitrary bytes as a packed lexicon, read directly, and
// every lookup of a loaded one compared with a plain walk along its edges.
// The checksum is written into the bytes first (for inputs whose first byte
// is even): otherwise nearly every input would stop at it, and the checks
// behind it would see nothing a hostile writer could send.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "config/packed_lexicon.h"
#include "fuzz_check.h"

namespace {

using quillom::PackedLexicon;
using quillom::PackedLexiconFile;

std::uint32_t u32At(std::string_view b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

std::string idOf(std::string_view b) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::uint64_t v;
    std::memcpy(&v, b.data() + 8, 8);
    std::string out(16, '0');
    for (int i = 15; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = kDigits[v & 0xF];
    return out;
}

// The band of word in the section at offset, by a walk that reads each edge
// one at a time (the reader's tables and fast paths stand aside). word is
// taken as 4-byte symbol texts matched byte for byte.
std::optional<std::uint32_t> plainWalk(std::string_view file, std::size_t offset, std::string_view word) {
    const std::uint32_t symbols = u32At(file, offset), edges = u32At(file, offset + 4);
    if (edges == 0) return std::nullopt;
    const std::size_t edgeAt = offset + 16 + 4 * std::size_t{symbols};
    std::uint32_t node = 0;
    for (std::size_t i = 0; i < word.size();) {
        std::uint32_t code = 0;
        for (std::uint32_t s = 0; s < symbols && !code; ++s) {
            const std::string_view sym(file.data() + offset + 16 + 4 * s,
                                       strnlen(file.data() + offset + 16 + 4 * s, 4));
            if (word.substr(i, sym.size()) == sym) code = s + 1, i += sym.size();
        }
        if (!code) return std::nullopt;
        for (std::uint32_t e = node;; ++e) {
            const std::uint32_t edge = u32At(file, edgeAt + 4 * std::size_t{e});
            if ((edge & 0x3F) == code) {
                node = edge >> 7;
                break;
            }
            if ((edge & 0x3F) > code || (edge & 0x40)) return std::nullopt;
        }
    }
    const std::uint32_t first = u32At(file, edgeAt + 4 * std::size_t{node});
    if (first & 0x3F) return std::nullopt;
    return first >> 7;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 25) return 0;
    std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (!(data[0] & 1)) {
        const std::uint32_t sum = PackedLexiconFile::checksum(bytes);
        std::memcpy(bytes.data() + 20, &sum, 4);
    }
    const auto file = PackedLexiconFile::fromBytes(bytes, idOf(bytes));
    if (!file) return 0;
    // Words: the symbol texts of each section in every order of two and
    // three, and a few strings the file does not spell.
    const std::uint32_t count = u32At(bytes, 16);
    for (std::uint32_t l = 0; l < count; ++l) {
        const std::size_t entry = 24 + 16 * std::size_t{l};
        const std::string key(bytes.data() + entry, strnlen(bytes.data() + entry, 8));
        const std::size_t offset = u32At(bytes, entry + 8);
        const PackedLexicon lexicon = file->language(key);
        const std::uint32_t symbols = u32At(bytes, offset);
        for (std::uint32_t a = 0; a <= symbols; ++a)
            for (std::uint32_t b = 0; b <= symbols; ++b) {
                auto sym = [&](std::uint32_t s) {
                    const char* p = bytes.data() + offset + 16 + 4 * (s - 1);
                    return s ? std::string(p, strnlen(p, 4)) : std::string("\xff");
                };
                for (const std::string& word :
                     {sym(a), sym(a) + sym(b), sym(a) + sym(b) + sym(a), sym(b) + sym(a) + sym(b) + sym(b)})
                    FUZZ_CHECK(lexicon.rankBand(word) == plainWalk(bytes, offset, word));
            }
    }
    return 0;
}
