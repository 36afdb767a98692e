#include "scoring/text_chars.h"

#include <algorithm>

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

bool TextChars::isBoundary(std::size_t byteOffset) const {
    if (byteOffset == 0 || byteOffset == text_.size()) return true;
    return std::binary_search(starts_.begin(), starts_.end(), static_cast<uint32_t>(byteOffset));
}

bool TextChars::startsWith(std::string_view prefix) const {
    return !prefix.empty() && std::string_view(text_).starts_with(prefix) && isBoundary(prefix.size());
}

bool TextChars::endsWith(std::string_view suffix) const {
    return !suffix.empty() && std::string_view(text_).ends_with(suffix) &&
           isBoundary(text_.size() - suffix.size());
}

bool TextChars::contains(std::string_view character) const {
    for (std::size_t i = 0; i < size(); ++i)
        if ((*this)[i] == character) return true;
    return false;
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
