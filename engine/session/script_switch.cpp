#include "session/script_switch.h"

#include "scoring/read/text_chars.h"
#include "scoring/evaluate/word_evaluation.h"

namespace quillom::session {

using namespace scoring;

namespace {

// Letters a correction needs to stand against a layout changed by hand.
constexpr std::size_t kMinLettersAgainstSwitch = 4;

// The correction, marks after it aside, is a listed word of its target of
// at least kMinLettersAgainstSwitch letters: the keys were not meant on the
// layout chosen (пщщв typed after a toggle pressed once too often), which
// letter statistics, a short word read by chance (db, ви) or a form the
// lexicon holds with no frequency estimate (srcs read as іксі) do not show.
bool listedLongWord(const RulesConfig& config, const RulesDecision& decision) {
    const LanguageConfig* target = config.language(*decision.targetLanguage);
    if (!target || !decision.correctedToken) return false;
    const TextChars word = TextChars(stripTrailingBoundary(config, *decision.correctedToken).core).lowered();
    if (word.size() < kMinLettersAgainstSwitch || !allLetters(word) || !target->isCommonWord(word.text())) return false;
    const std::optional<std::uint32_t> band = target->packedWords.rankBand(word.text());
    return !(band && *band == PackedLexicon::kUnranked && !target->commonWords.contains(word.text()));
}

}  // namespace

RulesDecision keptAfterScriptSwitch(const RulesConfig& config, const std::optional<std::string>& keptOn,
                                    const std::optional<std::string>& typedOn, RulesDecision decision) {
    if (!config.decision.keepWordAfterScriptSwitch || !decision.shouldCorrect || !keptOn || !typedOn ||
        !decision.targetLanguage || !config.differentScripts(*keptOn, *typedOn) ||
        !config.differentScripts(*typedOn, *decision.targetLanguage) || listedLongWord(config, decision))
        return decision;
    return refusalWithScoresOf(Reason::ScriptSwitchedByUser, decision);
}

RulesDecision keptInScriptSwitchRun(const RulesConfig& config, SwitchRun run, RulesDecision decision) {
    if (!config.decision.keepJoinedPieceAfterScriptSwitch || !run.continues || !run.joined || !decision.shouldCorrect ||
        !decision.targetLanguage || !decision.sourceLanguage ||
        !config.differentScripts(*decision.sourceLanguage, *decision.targetLanguage))
        return decision;
    return refusalWithScoresOf(Reason::ScriptSwitchedByUser, decision);
}

}  // namespace quillom::session
