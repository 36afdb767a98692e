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

#include <string>
#include <string_view>

#include "config/rules_config.h"

namespace quillom::layout {

// text typed on the US layout read on the layout of direction.to, with such
// marks kept; every other key as the selection maps give it.
std::string mapSelectionKeepingMarks(const KeyboardLayoutConfig& layout, std::string_view text,
                                     const LayoutDirection& direction);

}  // namespace quillom::layout
