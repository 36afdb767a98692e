// A set of words for the large lists of the rules file (hundreds of thousands
// of entries): the words lie back to back in one byte arena and an
// open-addressing table holds their offsets, so building the set allocates a
// handful of blocks instead of two per word, and lookups take a string_view.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quillom {

class WordSet {
    struct Slot {
        std::uint32_t offset;  // kEmptySlot when unused
        std::uint32_t length;
    };
    static constexpr std::uint32_t kEmptySlot = UINT32_MAX;

public:
    // Visits the words in table order (no particular order).
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        std::string_view operator*() const { return set_->wordAt(*slot_); }
        const_iterator& operator++() {
            ++slot_;
            skipEmpty();
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            ++*this;
            return old;
        }
        bool operator==(const const_iterator& o) const { return slot_ == o.slot_; }

    private:
        friend class WordSet;
        const_iterator(const WordSet* set, const Slot* slot) : set_(set), slot_(slot) { skipEmpty(); }
        void skipEmpty() {
            const Slot* end = set_->slots_.data() + set_->slots_.size();
            while (slot_ != end && slot_->offset == kEmptySlot) ++slot_;
        }
        const WordSet* set_ = nullptr;
        const Slot* slot_ = nullptr;
    };

    WordSet() = default;
    WordSet(std::initializer_list<std::string_view> words);

    // Room for this many words of this many bytes in all, so that filling the
    // set from a list of known size does not regrow it.
    void reserve(std::size_t words, std::size_t bytes = 0);

    // False when the word was already present.
    bool insert(std::string_view word) { return insert(word, hashOf(word)); }
    // Inserts every word. The table slots of the words a few places ahead are
    // fetched early so that the cache misses of a long list overlap: they are
    // most of the cost of building a set of a hundred thousand words.
    void insertAll(const std::vector<std::string_view>& words);
    // False when the word was absent. Its bytes stay in the arena.
    bool erase(std::string_view word);
    bool contains(std::string_view word) const;

    // The hash the set files a word under; WordHash offers it to other tables.
    static std::size_t hashWord(std::string_view word) { return hashOf(word); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    const_iterator begin() const { return {this, slots_.data()}; }
    const_iterator end() const { return {this, slots_.data() + slots_.size()}; }

    // The same words, whatever the insertion order.
    friend bool operator==(const WordSet& a, const WordSet& b);

private:
    // Eight bytes at a time, each folded in by a 64 x 64 -> 128-bit multiply:
    // inline, and a few instructions for a word, where a lookup of every
    // prefix and suffix of a typed word spent more on hashing than on probing.
    static std::size_t hashOf(std::string_view word) {
        constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
        const auto fold = [](std::uint64_t h, std::uint64_t piece) {
            const unsigned __int128 product = static_cast<unsigned __int128>(h ^ piece) * kMultiplier;
            return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
        };
        const auto load = [](const char* p, auto bytes) {
            decltype(bytes) value;
            std::memcpy(&value, p, sizeof value);
            return std::uint64_t{value};
        };
        const char* p = word.data();
        std::size_t n = word.size();
        std::uint64_t h = fold(n, 0x243F6A8885A308D3ull);
        for (; n >= 8; p += 8, n -= 8) h = fold(h, load(p, std::uint64_t{}));
        // The last 1 to 7 bytes, read as two overlapping pieces; the length,
        // folded in first, tells the overlaps apart.
        if (n >= 4) {
            h = fold(h, load(p, std::uint32_t{}) | (load(p + n - 4, std::uint32_t{}) << 32));
        } else if (n > 0) {
            const auto byte = [p](std::size_t i) { return std::uint64_t{static_cast<unsigned char>(p[i])}; };
            h = fold(h, byte(0) | (byte(n / 2) << 8) | (byte(n - 1) << 16));
        }
        return static_cast<std::size_t>(h);
    }
    std::string_view wordAt(const Slot& slot) const { return {arena_.data() + slot.offset, slot.length}; }
    std::size_t mask() const { return slots_.size() - 1; }
    bool insert(std::string_view word, std::size_t hash);
    std::size_t probe(std::string_view word, std::size_t hash) const;  // slots_ must not be empty
    void rehash(std::size_t slotCount);

    std::string arena_;
    std::vector<Slot> slots_;  // a power of two in size, at most half full
    std::size_t size_ = 0;
};

// WordSet's hash for unordered containers keyed by strings (looked up by string_view).
struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const noexcept { return WordSet::hashWord(word); }
};

}  // namespace quillom
