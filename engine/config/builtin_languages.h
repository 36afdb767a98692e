// Built-in language data, used for a language key whose section in the rules
// file lacks the member.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace quillom::builtin {

std::string_view scriptAlphabet(std::string_view key);
std::vector<std::string_view> vowels(std::string_view key);
std::vector<std::string_view> impossiblePatterns(std::string_view key);
std::vector<std::string_view> rarePatterns(std::string_view key);
std::vector<std::string_view> microDictionary(std::string_view key);
const std::vector<std::pair<std::string_view, double>>& bigramLogWeights(std::string_view key);

}  // namespace quillom::builtin
