// Layout maps built into the engine: English/Ukrainian and Russian/Ukrainian
// in both directions, lower and shift. There are none for English/Russian;
// those come from the rules file.
#pragma once

#include <vector>

#include "config/rules_config.h"

namespace quillom::layout {

struct BuiltinDirection {
    LayoutDirection direction;
    const CharMap* lowerMap;
    const CharMap* shiftMap;
};

// Built once per process on first use and shared.
const std::vector<BuiltinDirection>& builtinDirections();

// Upper-cases every key, and every value that is a letter.
CharMap uppercasedLayoutMap(const CharMap& lower);

}  // namespace quillom::layout
