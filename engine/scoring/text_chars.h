// A string held together with its character (grapheme cluster) boundaries, so
// that a word is segmented once and every scoring step indexes characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::scoring {

class TextChars {
public:
    TextChars() = default;
    // Segments valid UTF-8 text into characters.
    explicit TextChars(std::string text);

    std::string_view text() const { return text_; }
    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view operator[](std::size_t i) const;
    std::string_view back() const { return (*this)[size() - 1]; }

    // The first / last count characters (the whole text when count exceeds the size).
    std::string_view prefix(std::size_t count) const;
    std::string_view suffix(std::size_t count) const;
    // count characters from character first (first + count <= size()).
    std::string_view slice(std::size_t first, std::size_t count) const;

    void append(std::string_view character);
    // Every character replaced by its lower-case form.
    TextChars lowered() const;

private:
    std::string text_;
    std::vector<uint32_t> starts_;  // byte offset of each character
};

}  // namespace quillom::scoring
