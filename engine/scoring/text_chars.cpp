#include "scoring/text_chars.h"

#include "unicode/unicode.h"

namespace quillom::scoring {

TextChars::TextChars(std::string text) : text_(std::move(text)) {
    for (std::string_view c : unicode::graphemes(text_))
        starts_.push_back(static_cast<uint32_t>(c.data() - text_.data()));
}

std::string_view TextChars::operator[](std::size_t i) const {
    std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
    return std::string_view(text_).substr(starts_[i], end - starts_[i]);
}

std::string_view TextChars::prefix(std::size_t count) const {
    if (count >= size()) return text_;
    return std::string_view(text_).substr(0, starts_[count]);
}

std::string_view TextChars::suffix(std::size_t count) const {
    if (count == 0) return {};
    if (count >= size()) return text_;
    return std::string_view(text_).substr(starts_[size() - count]);
}

std::string_view TextChars::slice(std::size_t first, std::size_t count) const {
    std::size_t end = first + count < starts_.size() ? starts_[first + count] : text_.size();
    return std::string_view(text_).substr(starts_[first], end - starts_[first]);
}

void TextChars::append(std::string_view character) {
    starts_.push_back(static_cast<uint32_t>(text_.size()));
    text_.append(character);
}

TextChars TextChars::lowered() const {
    TextChars out;
    out.text_.reserve(text_.size());
    out.starts_.reserve(starts_.size());
    for (std::size_t i = 0; i < size(); ++i) out.append(unicode::lowerChar((*this)[i]));
    return out;
}

}  // namespace quillom::scoring
