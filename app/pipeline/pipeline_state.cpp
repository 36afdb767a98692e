#include "pipeline_state.h"

namespace quillom::pipeline {

void resetWord(PipelineState& state) {
    state.capture.reset();
    state.caret.ask();
    state.wordsBefore.clear();
    if (state.engine) state.engine->resetContext();
}

void setCorrectionActive(PipelineState& state, bool active) {
    state.correctionActive = active;
    if (!active) resetWord(state);
}

void playIfSet(SoundPlayer& sound, const SoundSettings& settings, const std::u16string& alias) {
    if (settings.on && !alias.empty()) sound.play(alias);
}

}  // namespace quillom::pipeline
