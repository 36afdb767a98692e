// Conversion of selected text to the other layout, by whole text and layout
// maps only (no scoring, thresholds or overrides).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/rules_config.h"

namespace quillom::layout {

struct ManualConversionResult {
    std::string text;
    std::string targetLanguage;
    bool operator==(const ManualConversionResult&) const = default;
};

struct ScriptLetterCounts {
    int64_t latin = 0;
    int64_t cyrillic = 0;
};

ScriptLetterCounts scriptLetterCounts(std::string_view text);
std::string mapCyrillicToLatin(const RulesConfig& config, std::string_view text);
// The lower-cased runs of letters of text, of any script.
std::vector<std::string> latinWords(std::string_view text);
// The pieces of text between its spaces, tabs and line ends.
std::vector<std::string_view> spaceSeparatedPieces(std::string_view text);
// Of candidate Cyrillic languages, the one whose letters read a selection
// typed on the US layout best; nothing when they do not tell. Given by the
// caller, which holds the scores (the layout maps know no letter statistics).
using TargetByLetters =
    std::function<std::optional<std::string>(std::string_view forLatin, const std::vector<std::string>& candidates)>;

// The Cyrillic language a selection typed on the US layout was meant in, read
// space-separated piece by piece: the one that alone, or far more frequently,
// reads most pieces as words; else the one that reads most of them; else the
// one whose readings are more often the more frequent; else, with
// selection_target_by_letters, the one byLetters gives; else the first candidate.
std::optional<std::string> chooseCyrillicTarget(const RulesConfig& config, std::string_view forLatin,
                                                const std::vector<std::string>& candidates,
                                                const TargetByLetters& byLetters = {});

// Every key of text in the direction's whole-key maps (digit row, / and ?
// included), falling back to the word maps where those give none.
std::string mapSelection(const KeyboardLayoutConfig& layout, std::string_view text, const LayoutDirection& direction);

// The input source is accepted and not used.
ManualConversionResult convertSelectionSmart(const RulesConfig& config, std::string_view text,
                                             const std::optional<std::string>& activeInputSource,
                                             const TargetByLetters& byLetters = {});
ManualConversionResult convertSelection(const RulesConfig& config, std::string_view text, const std::string& to);

}  // namespace quillom::layout
