// A tiny en/ru/uk configuration for the scoring tests: a few common words,
// bigram weights and the standard layout maps, built directly in C++.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "config/rules_config.h"
#include "regex/regex.h"
#include "scoring/score/language_index.h"
#include "scoring/judge/pair_diagnosis.h"
#include "scoring/judge/rules_decision.h"
#include "scoring/read/text_chars.h"

namespace quillom {

// The tests name reasons as the C interface reports them, which also checks
// each reason's name.
inline bool operator==(Reason reason, std::string_view name) { return reasonName(reason) == name; }
inline void PrintTo(Reason reason, std::ostream* os) { *os << reasonName(reason); }

}  // namespace quillom

namespace quillom::scoring::testing {

RulesConfig makeConfig();

regex::Regex compiled(std::string_view pattern, bool caseInsensitive = false);

LanguageConfig& lang(RulesConfig& config, const std::string& key);

// Owns a configuration and its index, as the engine does.
struct Scoring {
    explicit Scoring(RulesConfig c) : config(std::move(c)), index(config) {}
    RulesConfig config;
    LanguageIndex index;
    ScoringContext context() const { return {config, index}; }
};

struct DirectionCase {
    std::string token;
    std::string from;
    std::string to;
    std::string trailing = {};
    bool isProtected = false;
    std::optional<std::string> sessionLanguage = {};
    std::size_t priorityIndex = 1;
};

RulesDecision decide(const RulesConfig& config, const DirectionCase& c);

}  // namespace quillom::scoring::testing
