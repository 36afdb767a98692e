// Marks at a word's edges typed on the wrong layout are the marks of the same
// keys in the layout the word is corrected to: "@ghbdtn^" typed on the US
// layout is «"привет:» (the Cyrillic layouts have the quotation mark on Shift+2
// and the colon on Shift+6), and "ше," typed on the Russian layout is "it?"
// (the Russian comma is Shift+/).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "config/char_table.h"
#include "config/rules_config.h"

namespace quillom::scoring {

struct MarkEdges {
    std::size_t leading = 0;   // bytes before the word
    std::size_t trailing = 0;  // bytes after it
};

// The layout's key marks: marks that no word map reads as a letter and that a
// whole-key map turns into another mark ('@', '^', '$', '&' on the US
// layout). Worked out once per configuration: every word is cut by them.
class KeyMarks {
public:
    KeyMarks() = default;
    explicit KeyMarks(const KeyboardLayoutConfig& layout);
    bool contains(std::string_view character) const { return marks_.find(character) != nullptr; }

private:
    CharTable<bool> marks_;
};

// The runs of key marks at the token's edges; both empty when no letter is
// left between them.
MarkEdges keyMarkEdges(const KeyMarks& marks, std::string_view token);

// The correction of `typed` in `direction` with the marks at the typed word's
// edges, where the correction still carries them as typed, replaced by what
// their keys give in the target layout. Keys that the direction's word maps
// read as letters keep the mark the engine read them as ("ghbdtn." stays
// "привет." when the engine read the full stop as one).
std::string withTargetKeyMarks(const KeyboardLayoutConfig& layout, std::string_view typed, std::string corrected,
                               const LayoutDirection& direction);

}  // namespace quillom::scoring
