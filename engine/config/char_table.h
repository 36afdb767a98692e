// A table keyed by characters (grapheme clusters held as UTF-8) for the maps
// and sets every typed character is looked up in: a key of one scalar below
// kDenseLimit (ASCII, Latin, Greek, Cyrillic) finds its entry in an array
// indexed by that scalar, without hashing; any other key in a map of its own.
// Finds exactly what a map of the same entries finds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "config/rules_config.h"

namespace quillom {

template <typename T>
class CharTable {
public:
    static constexpr char32_t kDenseLimit = 0x500;

    CharTable() = default;
    // Every entry of a map keyed by characters.
    template <typename Map>
    explicit CharTable(const Map& entries) {
        for (const auto& [key, value] : entries) insert(key, value);
    }

    // Adds the entry, or replaces the value of one with this key.
    void insert(std::string_view key, T value) {
        char32_t scalar = 0;
        if (!denseKey(key, scalar)) {
            rest_.insert_or_assign(std::string(key), std::move(value));
            return;
        }
        if (dense_.empty()) dense_.resize(kDenseLimit);
        dense_[scalar] = std::move(value);
    }

    // Null when no entry has this key.
    const T* find(std::string_view character) const {
        char32_t scalar = 0;
        if (denseKey(character, scalar)) {
            if (dense_.empty() || !dense_[scalar]) return nullptr;
            return &*dense_[scalar];
        }
        if (rest_.empty()) return nullptr;
        auto it = rest_.find(character);
        return it == rest_.end() ? nullptr : &it->second;
    }

private:
    // The scalar of a key that is exactly one well-formed scalar below the
    // limit (one byte below 0x80, or a two-byte sequence): its only spelling.
    static bool denseKey(std::string_view key, char32_t& scalar) {
        if (key.size() == 1) {
            scalar = static_cast<unsigned char>(key[0]);
            return scalar < 0x80;
        }
        if (key.size() != 2) return false;
        const auto lead = static_cast<unsigned char>(key[0]);
        const auto trail = static_cast<unsigned char>(key[1]);
        if (lead < 0xC2 || lead > 0xDF || (trail & 0xC0) != 0x80) return false;
        scalar = (char32_t{lead & 0x1Fu} << 6) | (trail & 0x3Fu);
        return scalar < kDenseLimit;
    }

    std::vector<std::optional<T>> dense_;  // kDenseLimit entries once any is set
    StringMap<T> rest_;
};

}  // namespace quillom
