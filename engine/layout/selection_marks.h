// Marks typed as themselves in a selection of Cyrillic text typed on the US
// layout: the Ukrainian layout has no [ ] < > \ | $ @ # / of its own, so a
// user types them on the US layout inside text meant in Cyrillic. Where the
// keys around a mark show it is no letter or mark of the target (a bracket
// beside a digit, a dollar on one side of an amount, @ inside an address, a
// slash between two words), the conversion leaves it as typed. Where the rules
// ask, the target layout decides first: a mark it has on a key of its own was
// typed for that key (the Russian layout's full stop on the slash key), and a
// mark it lacks stays alone, before a number, around a word or beside a word
// its key would case as none is (' ', #2, <name>, значениях>).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "config/rules_config.h"

namespace quillom::layout {

// Whether a word of Latin letters typed in the selection, read as `read` on
// the target layout, was meant as typed (a name or term of the other
// script's text: Linux).
using KeepsWord = std::function<bool(std::string_view typed, std::string_view read)>;

// text typed on the US layout read on the layout of direction.to, with such
// marks kept, and the words keepsWord keeps (when given) as typed; every
// other key as the selection maps give it.
std::string mapSelectionKeepingMarks(const KeyboardLayoutConfig& layout, std::string_view text,
                                     const LayoutDirection& direction, const KeepsWord& keepsWord = {});

}  // namespace quillom::layout
