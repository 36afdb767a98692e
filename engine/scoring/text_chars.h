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

    // True when byteOffset falls between two characters (or at either end).
    bool isBoundary(std::size_t byteOffset) const;
    bool startsWith(std::string_view prefix) const;
    bool endsWith(std::string_view suffix) const;
    bool contains(std::string_view character) const;

    void append(std::string_view character);
    // Every character replaced by its lower-case form.
    TextChars lowered() const;

private:
    std::string text_;
    std::vector<uint32_t> starts_;  // byte offset of each character
};

}  // namespace quillom::scoring
