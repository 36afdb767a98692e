// The keys of the English possessive ('s) typed on a Cyrillic layout give
// letters no word of that layout ends in (эы on the Russian layout, єі on the
// Ukrainian one): Jim's typed on the Russian layout is Ошьэы, which reads as
// no word, though Ошь alone is Jim.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"

namespace quillom::scoring {

struct PossessiveEnding {
    std::size_t size = 0;  // bytes of the keys ending the token; 0: none
    std::string english;   // what they are on the US layout: 's or 'S
    std::string layout;    // the language whose layout gives them
};

// The endings the possessive's keys give on the layouts of the active
// Cyrillic languages. Worked out once per configuration.
class PossessiveKeys {
public:
    PossessiveKeys() = default;
    explicit PossessiveKeys(const RulesConfig& config);
    // The ending of `token` when it ends in such keys (or is them alone).
    PossessiveEnding endingOf(std::string_view token) const;

private:
    struct Keys {
        std::string typed, english, layout;
    };
    std::vector<Keys> endings_;
};

}  // namespace quillom::scoring
