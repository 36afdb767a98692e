// The three interface string tables as (id, text) entries; interface_strings.cpp builds the
// lookup tables from them. Internal to the interface strings (tests read them too).
#pragma once

#include "text_id.h"

#include <span>
#include <string_view>

namespace quillom::tray {

struct StringEntry {
    TextId id;
    std::u16string_view text;
};

std::span<const StringEntry> englishEntries();
std::span<const StringEntry> ukrainianEntries();
std::span<const StringEntry> russianEntries();

}  // namespace quillom::tray
