// The two commands that act on text outside the typing flow: Undo of the
// last automatic correction, and conversion of the selected text through the
// clipboard. Main thread; both run under the drain's hold-back, and their
// waits serve the hooks.
#pragma once

#include <optional>
#include <string>

#include "keyboard_hook.h"

namespace quillom::pipeline {

// Erases the replacement and its boundary, types the word as it was typed
// and the boundary again, in the window it was corrected in. Returns the
// restored word whose correction made the step (UTF-8; of several words put
// back, the one learning is to take), or nothing when there is no valid
// correction to undo or the system did not take the input.
std::optional<std::string> undoLastCorrection(KeyboardHook& hook);

// A Backspace took the last correction back: Undo as the drain runs it, in
// turn with the input held behind it; onTakenBack hears of the restored
// word. The layout requested, for the held keys after it.
std::optional<LayoutId> takeCorrectionBack(PipelineState& state, PipelinePorts ports);

struct ConversionResult {
    std::string selection;  // UTF-8
    std::string converted;  // UTF-8
    std::string targetLang;
};

// target "en", "ru", "uk", or empty for the engine's choice. The user's
// clipboard text is put back afterwards. Nothing when no text was selected
// or the engine converted nothing.
std::optional<ConversionResult> convertSelection(KeyboardHook& hook, const std::string& target);

}  // namespace quillom::pipeline
