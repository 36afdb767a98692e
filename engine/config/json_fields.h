// Lenient readers of rules-file members: a missing or ill-typed member gives nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/json.h"
#include "config/rules_config.h"

namespace quillom::fields {

// The member under key, else under alternativeKey, when it has the kind.
const json::Value* memberOfKind(const json::Value& object, std::string_view key, std::string_view alternativeKey,
                                json::Value::Kind kind);

double numberOr(const json::Value& object, std::string_view key, double fallback, std::string_view alternativeKey = {});
int64_t integerOr(const json::Value& object, std::string_view key, int64_t fallback);
bool boolOr(const json::Value& object, std::string_view key, bool fallback);

// A JSON number as a signed 64-bit integer, fraction dropped (clamped).
int64_t toInteger(double d);

// The string elements of an array (other elements are skipped).
std::vector<std::string> strings(const json::Value& array);
// The first character of every non-empty string element.
CharSet characterSet(const json::Value& array);

}  // namespace quillom::fields
