#include "undo_convert.h"

#include "correction_drain.h"
#include "layout_switch.h"
#include "tray/debug_log.h"
#include "common/utf16.h"

namespace quillom::pipeline {
namespace {

using tray::logLine;

constexpr uint16_t kVkControl = 0x11, kVkC = 0x43, kVkV = 0x56;
constexpr int kClipboardPolls = 40;
constexpr int kRestoreAttempts = 50;

void sendCtrlChord(InputSender& input, uint16_t vk) {
    const SyntheticKey keys[] = {
        {kVkControl, 0, 0}, {vk, 0, 0}, {vk, 0, keyflag::KeyUp}, {kVkControl, 0, keyflag::KeyUp}};
    input.send(keys);
}

// Copies the selection; empty when the clipboard did not change in time.
std::u16string captureSelection(PipelinePorts ports) {
    uint32_t before = ports.clipboard.sequenceNumber();
    sendCtrlChord(ports.input, kVkC);
    for (int i = 0; i < kClipboardPolls; ++i) {
        ports.clock.sleep(10);
        if (ports.clipboard.sequenceNumber() != before) return ports.clipboard.readText().value_or(u"");
    }
    return {};
}

// The application may still hold the clipboard open for the paste; giving up
// at once would lose the user's clipboard text, so try for a while.
void restoreClipboard(PipelinePorts ports, const std::optional<std::u16string>& saved) {
    if (!saved) return;
    for (int attempt = 0; attempt < kRestoreAttempts; ++attempt) {
        if (ports.clipboard.writeText(*saved)) return;
        ports.clock.sleep(10);
    }
}

}  // namespace

std::optional<std::string> undoLastCorrection(PipelineState& state, PipelinePorts ports) {
    UndoRecord& undo = state.undo;
    if (!undo.available) return std::nullopt;
    std::string restored = toUtf8(undo.typedWord);
    // One more Backspace for the boundary the correction typed again.
    replayCorrection(ports, int32_t(undo.replacement.size()) + 1, undo.typedWord, char16_t(undo.boundaryChar),
                     undo.boundaryKind);
    switchLayout(ports.desktop, "", undo.typedWord);
    playIfSet(ports.sound, state.sounds, state.sounds.undo);
    logLine("undo: restored '%s'", restored.c_str());
    undo.available = false;
    return restored;
}

std::optional<ConversionResult> convertSelection(PipelineState& state, PipelinePorts ports,
                                                 const std::string& target) {
    if (!state.engine) return std::nullopt;
    // The tray menu took the foreground; give it back to where the text is.
    if (state.lastForeground != 0 && ports.desktop.belongsToThisProcess(ports.desktop.foregroundWindow())) {
        ports.desktop.bringToForeground(state.lastForeground);
        ports.clock.sleep(40);
    }
    std::optional<std::u16string> saved = ports.clipboard.readText();
    std::u16string selection = captureSelection(ports);
    if (selection.empty()) {
        logLine("convert: no selection captured");
        restoreClipboard(ports, saved);
        return std::nullopt;
    }
    std::string selectionUtf8 = toUtf8(selection);
    Conversion conversion = state.engine->convertSelection(selectionUtf8, target);
    if (conversion.text.empty()) {
        restoreClipboard(ports, saved);
        return std::nullopt;
    }
    std::u16string converted = toUtf16(conversion.text);
    // A busy clipboard skips the write; Ctrl+V still goes out.
    ports.clipboard.writeText(converted);
    sendCtrlChord(ports.input, kVkV);
    ports.clock.sleep(150);
    restoreClipboard(ports, saved);
    switchLayout(ports.desktop, conversion.targetLang, converted);
    logLine("convert: %s -> %s (lang '%s')", selectionUtf8.c_str(), conversion.text.c_str(),
            conversion.targetLang.c_str());
    playIfSet(ports.sound, state.sounds, state.sounds.correction);
    return ConversionResult{selectionUtf8, conversion.text, conversion.targetLang};
}

}  // namespace quillom::pipeline
