// UTF-8 coding. Ill-formed input is replaced per maximal subpart (one U+FFFD
// for each maximal prefix of a well-formed sequence), as Unicode recommends.
#include "unicode/unicode.h"

namespace quillom::unicode {
namespace {

bool isSurrogate(char32_t cp) { return cp >= 0xD800 && cp <= 0xDFFF; }

}  // namespace

char32_t detail::decodeMultiByte(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0xC2 || lead > 0xF4) {
        ++pos;
        return kReplacement;
    }
    const std::size_t trailing = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    // The second byte's range excludes overlongs, surrogates and values above U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    char32_t cp = lead & (0x3F >> trailing);
    for (std::size_t k = 1; k <= trailing; ++k) {
        if (pos + k >= text.size()) {
            pos += k;
            return kReplacement;
        }
        const auto byte = static_cast<unsigned char>(text[pos + k]);
        if (byte < low || byte > high) {
            pos += k;
            return kReplacement;
        }
        cp = (cp << 6) | (byte & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    pos += trailing + 1;
    return cp;
}

std::u32string decodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) out.push_back(decodeScalar(text, pos));
    return out;
}

std::size_t detail::encodeMultiByte(char32_t cp, char* out) {
    if (isSurrogate(cp) || cp > 0x10FFFF) cp = kReplacement;
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

void appendUtf8(std::string& out, char32_t cp) {
    char bytes[4];
    out.append(bytes, encodeScalar(cp, bytes));
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t start = pos;
        // A well-formed U+FFFD is valid text, not a replacement.
        if (decodeScalar(text, pos) == kReplacement && text.substr(start, pos - start) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

std::string encodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text) appendUtf8(out, cp);
    return out;
}

std::string sanitizeUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) appendUtf8(out, decodeScalar(text, pos));
    return out;
}

}  // namespace quillom::unicode
