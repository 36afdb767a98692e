// Strings meant as typed (addresses, paths, versions, identifiers) that a
// correction must not touch unless its candidate is very strong.
#pragma once

#include "config/rules_config.h"
#include "scoring/read/text_chars.h"

namespace quillom::scoring {

// token: without its trailing boundary, case as typed.
bool isProtectedToken(const RulesConfig& config, const TextChars& token);

}  // namespace quillom::scoring
