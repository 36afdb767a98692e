#include "scoring/text_chars.h"

#include "unicode/unicode.h"

namespace quillom::scoring {

TextChars::TextChars(std::string_view text) {
    text_.append(text.data(), text.size());
    for (std::size_t pos = 0; pos < text.size(); pos = unicode::nextGraphemeBreak(text, pos))
        starts_.push_back(static_cast<uint32_t>(pos));
}

std::string_view TextChars::operator[](std::size_t i) const { return text().substr(startOf(i), endOf(i) - startOf(i)); }

std::string_view TextChars::prefix(std::size_t count) const {
    if (count >= size()) return text();
    return text().substr(0, startOf(count));
}

std::string_view TextChars::suffix(std::size_t count) const {
    if (count == 0) return {};
    if (count >= size()) return text();
    return text().substr(startOf(size() - count));
}

std::string_view TextChars::slice(std::size_t first, std::size_t count) const {
    const std::size_t end = first + count < size() ? startOf(first + count) : text_.size();
    return text().substr(startOf(first), end - startOf(first));
}

void TextChars::append(std::string_view character) {
    starts_.push_back(static_cast<uint32_t>(text_.size()));
    text_.append(character.data(), character.size());
}

TextChars TextChars::lowered() const {
    TextChars out;
    out.text_.reserve(text_.size());
    out.starts_.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        const std::string_view c = (*this)[i];
        if (c.size() == 1 && static_cast<unsigned char>(c[0]) < 0x80) {
            const char lower = c[0] >= 'A' && c[0] <= 'Z' ? static_cast<char>(c[0] - 'A' + 'a') : c[0];
            out.append(std::string_view(&lower, 1));
            continue;
        }
        // A character of one scalar lower-cases to one scalar: no string needed.
        std::size_t end = 0;
        const char32_t first = unicode::decodeScalar(c, end);
        if (end != c.size()) {
            out.append(unicode::lowerChar(c));
            continue;
        }
        char bytes[4];
        out.append(std::string_view(bytes, unicode::encodeScalar(unicode::toLower(first), bytes)));
    }
    return out;
}

}  // namespace quillom::scoring
