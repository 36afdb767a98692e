// A string held together with its character (grapheme cluster) boundaries, so
// that a word is segmented once and every scoring step indexes characters.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::scoring {

// Elements kept inside the object up to N, on the heap past that: a word
// costs no allocation. Copies stay valid (no pointers into itself are kept).
template <typename T, std::size_t N>
class InlineBuffer {
public:
    InlineBuffer() = default;
    // Copies and moves carry only the elements in use: the inline array past
    // them is never read, and a word fills a fraction of it.
    InlineBuffer(const InlineBuffer& other) : heap_(other.heap_), size_(other.size_), spilled_(other.spilled_) {
        if (!spilled_) std::copy(other.inline_.begin(), other.inline_.begin() + size_, inline_.begin());
    }
    InlineBuffer(InlineBuffer&& other) noexcept
        : heap_(std::move(other.heap_)), size_(other.size_), spilled_(other.spilled_) {
        if (!spilled_) std::move(other.inline_.begin(), other.inline_.begin() + size_, inline_.begin());
    }
    InlineBuffer& operator=(const InlineBuffer& other) {
        if (this != &other) *this = InlineBuffer(other);
        return *this;
    }
    InlineBuffer& operator=(InlineBuffer&& other) noexcept {
        heap_ = std::move(other.heap_);
        size_ = other.size_;
        spilled_ = other.spilled_;
        if (!spilled_) std::move(other.inline_.begin(), other.inline_.begin() + size_, inline_.begin());
        return *this;
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T* data() const { return spilled_ ? heap_.data() : inline_.data(); }
    T* data() { return spilled_ ? heap_.data() : inline_.data(); }
    const T* begin() const { return data(); }
    const T* end() const { return data() + size_; }
    T* begin() { return data(); }
    T* end() { return data() + size_; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    const T& front() const { return data()[0]; }
    void reserve(std::size_t n) {
        if (n > N) spill(n);
    }
    void append(const T* items, std::size_t n) {
        if (!spilled_ && size_ + n <= N) {
            for (std::size_t i = 0; i < n; ++i) inline_[size_ + i] = items[i];
            size_ += n;
            return;
        }
        appendToHeap(items, n);
    }
    void push_back(T item) {
        if (!spilled_ && size_ < N) {
            inline_[size_++] = std::move(item);
            return;
        }
        pushToHeap(std::move(item));
    }

private:
    // The rare paths, kept out of line so that the common ones inline.
    [[gnu::noinline]] void appendToHeap(const T* items, std::size_t n) {
        grow(size_ + n);
        heap_.insert(heap_.end(), items, items + n);
        size_ += n;
    }
    [[gnu::noinline]] void pushToHeap(T item) {
        grow(size_ + 1);
        heap_.push_back(std::move(item));
        ++size_;
    }
    // At least double the capacity when it runs out: an exact reserve per
    // push would copy the whole buffer each time (quadratic in the length).
    void grow(std::size_t needed) {
        const std::size_t capacity = spilled_ ? heap_.capacity() : N;
        spill(needed > capacity ? std::max(needed, 2 * capacity) : needed);
    }
    void spill(std::size_t capacity) {
        if (!spilled_) heap_.assign(inline_.data(), inline_.data() + size_);
        heap_.reserve(capacity);
        spilled_ = true;
    }
    std::array<T, N> inline_;  // elements past size_ unset
    std::vector<T> heap_;      // all elements once they outgrow inline_
    std::size_t size_ = 0;
    bool spilled_ = false;  // the elements live in heap_
};

// UTF-8 text of a word's length, built without allocating.
class ShortText {
public:
    std::string_view view() const { return {bytes_.data(), bytes_.size()}; }
    void append(const char* s, std::size_t n) { bytes_.append(s, n); }
    void append(std::string_view s) { bytes_.append(s.data(), s.size()); }

private:
    InlineBuffer<char, 96> bytes_;
};

class TextChars {
public:
    TextChars() = default;
    // Segments valid UTF-8 text into characters.
    explicit TextChars(std::string_view text);

    std::string_view text() const { return {text_.data(), text_.size()}; }
    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.size() == 0; }
    std::string_view operator[](std::size_t i) const { return text().substr(startOf(i), endOf(i) - startOf(i)); }
    std::string_view back() const { return (*this)[size() - 1]; }

    // The first / last count characters (the whole text when count exceeds the size).
    std::string_view prefix(std::size_t count) const;
    std::string_view suffix(std::size_t count) const;
    // count characters from character first (first + count <= size()).
    std::string_view slice(std::size_t first, std::size_t count) const;

    void append(std::string_view character) {
        starts_.push_back(static_cast<uint32_t>(text_.size()));
        text_.append(character.data(), character.size());
    }
    // Every character replaced by its lower-case form; a temporary is lowered
    // where it stands instead of copied.
    TextChars lowered() const&;
    TextChars lowered() &&;

private:
    // Lower-cases the characters whose lower case has the same UTF-8 length
    // (ASCII, and the two-byte scalars of the Latin, Greek and Cyrillic
    // blocks) where they stand; false, with the text partly lowered, when
    // some other character stops it.
    bool lowerInPlace();
    TextChars loweredByCharacter() const;

    uint32_t startOf(std::size_t i) const { return starts_.data()[i]; }
    std::size_t endOf(std::size_t i) const { return i + 1 < size() ? startOf(i + 1) : text_.size(); }

    InlineBuffer<char, 96> text_;
    InlineBuffer<uint32_t, 48> starts_;  // byte offset of each character
};

// Every character a letter, and at least one.
bool allLetters(const TextChars& text);
// The letters of text, in order, as they stand.
std::string lettersOf(const TextChars& text);
// Some letter is not a capital.
bool hasLowerLetter(const TextChars& text);
// The typewriter apostrophe or the typographic one (’).
inline bool isApostrophe(std::string_view c) { return c == "'" || c == "\u2019"; }

}  // namespace quillom::scoring
