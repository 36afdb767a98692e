#pragma once

#include <string>

#include "config/json.h"
#include "config/rules_config.h"

namespace quillom {

// One member of "languages"; built-in data of the key fills what is missing.
LanguageConfig parseLanguage(const std::string& key, const json::Value& object);

}  // namespace quillom
