// A finished word as the typing side reports it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "scoring/rules_decision.h"

namespace quillom {

class RulesEngine;

namespace scoring {

enum class BoundaryKind : uint32_t { Space = 0, Enter = 1, Tab = 2, Punctuation = 3 };

struct EmittedToken {
    std::string token;
    BoundaryKind boundary = BoundaryKind::Space;
    bool hasUnknownBeginning = false;  // the start of the word was not observed
};

// Context-free evaluation; a word whose start was not seen is left alone when
// the user protects endings after deleting.
RulesDecision evaluate(const RulesEngine& engine, const EmittedToken& token, std::string_view appId);

}  // namespace scoring
}  // namespace quillom
