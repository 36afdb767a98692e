#include "scoring/read/text_chars.h"

#include "unicode/unicode.h"

namespace quillom::scoring {

bool allLetters(const TextChars& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!unicode::isLetterChar(text[i])) return false;
    return !text.empty();
}

std::string lettersOf(const TextChars& text) {
    std::string letters;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (unicode::isLetterChar(text[i])) letters += text[i];
    return letters;
}

bool hasLowerLetter(const TextChars& text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (unicode::isLetterChar(text[i]) && !unicode::isUpperChar(text[i])) return true;
    return false;
}

TextChars::TextChars(std::string_view text) {
    text_.append(text.data(), text.size());
    for (std::size_t pos = 0; pos < text.size(); pos = unicode::nextGraphemeBreak(text, pos))
        starts_.push_back(static_cast<uint32_t>(pos));
}

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

TextChars TextChars::lowered() const& {
    TextChars out = *this;
    if (out.lowerInPlace()) return out;
    return loweredByCharacter();
}

// Where lowerInPlace stops, the characters it lowered are lowered again by
// character, which leaves them as they are: lower-casing a lower-case letter
// gives the letter.
TextChars TextChars::lowered() && {
    TextChars out = std::move(*this);
    if (out.lowerInPlace()) return out;
    return out.loweredByCharacter();
}

bool TextChars::lowerInPlace() {
    char* bytes = text_.data();
    for (std::size_t i = 0; i < size(); ++i) {
        const std::size_t start = startOf(i);
        const std::size_t length = endOf(i) - start;
        const auto lead = static_cast<unsigned char>(bytes[start]);
        if (length == 1 && lead < 0x80) {
            if (lead >= 'A' && lead <= 'Z') bytes[start] = static_cast<char>(lead - 'A' + 'a');
            continue;
        }
        if (length != 2 || lead < 0xC2 || lead > 0xDF) return false;
        const auto trail = static_cast<unsigned char>(bytes[start + 1]);
        if ((trail & 0xC0) != 0x80) return false;
        const char32_t lower = unicode::toLower((char32_t{lead & 0x1Fu} << 6) | (trail & 0x3Fu));
        if (lower < 0x80 || lower > 0x7FF) return false;
        unicode::encodeScalar(lower, bytes + start);
    }
    return true;
}

TextChars TextChars::loweredByCharacter() const {
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
