#include "config/word_set.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace quillom {

namespace {

constexpr std::size_t kMinSlots = 16;

std::size_t slotsFor(std::size_t words) {
    std::size_t n = kMinSlots;
    while (n < words * 2) n *= 2;
    return n;
}

}  // namespace

WordSet::WordSet(std::initializer_list<std::string_view> words) {
    reserve(words.size());
    for (std::string_view w : words) insert(w);
}

void WordSet::reserve(std::size_t words, std::size_t bytes) {
    arena_.reserve(bytes);
    if (slotsFor(words) > slots_.size()) rehash(slotsFor(words));
}

// The slot holding the word, or the empty slot where the probe for it ended.
std::size_t WordSet::probe(std::string_view word, std::size_t hash) const {
    std::size_t i = hash & mask();
    while (slots_[i].offset != kEmptySlot && !(slots_[i].length == word.size() && wordAt(slots_[i]) == word))
        i = (i + 1) & mask();
    return i;
}

bool WordSet::contains(std::string_view word) const {
    return !slots_.empty() && slots_[probe(word, hashOf(word))].offset != kEmptySlot;
}

void WordSet::rehash(std::size_t slotCount) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(slotCount, Slot{kEmptySlot, 0});
    for (const Slot& slot : old)
        if (slot.offset != kEmptySlot) slots_[probe(wordAt(slot), hashOf(wordAt(slot)))] = slot;
}

bool WordSet::insert(std::string_view word, std::size_t hash) {
    // Growing first keeps the probed slot valid.
    if ((size_ + 1) * 2 > slots_.size()) rehash(slotsFor(size_ + 1));
    const std::size_t i = probe(word, hash);
    if (slots_[i].offset != kEmptySlot) return false;
    // Offsets and lengths are 32-bit; no word list comes near 4 GB.
    if (arena_.size() + word.size() >= kEmptySlot) throw std::length_error("word set arena full");
    slots_[i] = Slot{static_cast<std::uint32_t>(arena_.size()), static_cast<std::uint32_t>(word.size())};
    arena_.append(word);
    ++size_;
    return true;
}

void WordSet::insertAll(const std::vector<std::string_view>& words) {
    std::size_t bytes = 0;
    for (std::string_view w : words) bytes += w.size();
    reserve(size_ + words.size(), arena_.size() + bytes);
    constexpr std::size_t kAhead = 8;
    std::array<std::size_t, kAhead> hashes{};
    const auto fetch = [&](std::size_t i) {
        hashes[i % kAhead] = hashOf(words[i]);
        __builtin_prefetch(&slots_[hashes[i % kAhead] & mask()]);
    };
    for (std::size_t i = 0; i < std::min(kAhead, words.size()); ++i) fetch(i);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::size_t hash = hashes[i % kAhead];
        if (i + kAhead < words.size()) fetch(i + kAhead);
        insert(words[i], hash);
    }
}

// Backward-shift deletion: later members of the probe run move up so that
// every lookup still reaches its word before an empty slot.
bool WordSet::erase(std::string_view word) {
    if (!contains(word)) return false;
    std::size_t hole = probe(word, hashOf(word));
    for (std::size_t j = (hole + 1) & mask(); slots_[j].offset != kEmptySlot; j = (j + 1) & mask()) {
        const std::size_t home = hashOf(wordAt(slots_[j])) & mask();
        // The member at j may fill the hole when its home is not cyclically in (hole, j].
        const bool homeAfterHole = hole < j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (homeAfterHole) continue;
        slots_[hole] = slots_[j];
        hole = j;
    }
    slots_[hole] = Slot{kEmptySlot, 0};
    --size_;
    return true;
}

bool operator==(const WordSet& a, const WordSet& b) {
    if (a.size() != b.size()) return false;
    for (std::string_view w : a)
        if (!b.contains(w)) return false;
    return true;
}

}  // namespace quillom
