#include "undo_convert.h"

#include "correction_drain.h"
#include "layout_switch.h"
#include "scan_codes.h"
#include "common/debug_log.h"
#include "common/utf16.h"

namespace quillom::pipeline {
namespace {

using quillom::logLine;

constexpr int kClipboardPolls = 40;
constexpr int kClipboardAttempts = 50;
// The copying program may still hold the clipboard open when the sequence
// number changes: it is read again for a while.
constexpr int kCopyReadAttempts = 20;
// A target that has not read the offered text by then is taken to paste
// nothing (no field to paste into, a busy window); the clipboard is given back.
constexpr unsigned kPasteWaitMs = 1000;

bool sendCtrlChord(PipelinePorts ports, uint16_t vk) {
    SyntheticKey keys[] = {{vk::Control, 0, 0}, {vk, 0, 0}, {vk, 0, keyflag::KeyUp}, {vk::Control, 0, keyflag::KeyUp}};
    addScanCodes(keys, ports.desktop);
    return ports.input.send(keys) == std::size(keys);
}

// The tray menu took the foreground; give it back to where the text is.
// Returns the foreground window afterwards.
WindowId giveForegroundBack(PipelinePorts ports, WindowId window) {
    if (window != 0 && ports.desktop.belongsToThisProcess(ports.desktop.foregroundWindow())) {
        ports.desktop.bringToForeground(window);
        ports.clock.waitServingHooks(40);
    }
    return ports.desktop.foregroundWindow();
}

// The application may hold the clipboard open a moment (for the copy, for
// the paste): try for a while, serving the hooks, before giving up.
template <typename Put>
bool retryClipboard(PipelinePorts ports, Put put, int attempts = kClipboardAttempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (put()) return true;
        ports.clock.waitServingHooks(10);
    }
    return false;
}

// Copies the selection; empty when the clipboard did not change in time.
std::u16string captureSelection(PipelinePorts ports) {
    uint32_t before = ports.clipboard.sequenceNumber();
    if (!sendCtrlChord(ports, vk::C)) return {};
    for (int i = 0; i < kClipboardPolls; ++i) {
        ports.clock.waitServingHooks(10);
        if (ports.clipboard.sequenceNumber() == before) continue;
        std::optional<std::u16string> text;
        retryClipboard(
            ports, [&] { return (text = ports.clipboard.readText()).has_value(); }, kCopyReadAttempts);
        return text.value_or(u"");
    }
    return {};
}

// Until the target of Ctrl+V has read the offered text. Giving the clipboard
// back at a fixed time would let a slow target paste the old content.
// How long it took, or nothing when it did not come.
std::optional<unsigned> waitForPaste(PipelinePorts ports) {
    unsigned waited = 0;
    for (; !ports.clipboard.offerTaken(); waited += 10) {
        if (waited >= kPasteWaitMs) return std::nullopt;
        ports.clock.waitServingHooks(10);
    }
    return waited;
}

// Giving up at once would lose what the user had copied.
void restoreClipboard(PipelinePorts ports, const std::optional<ClipboardSnapshot>& saved) {
    if (saved && !retryClipboard(ports, [&] { return ports.clipboard.restore(*saved); }))
        logLine("convert: the clipboard stayed busy; its content was not put back");
}

bool allowedHere(const PipelineState& state, AppAction action) {
    if (allows(state.appModes.of(state.currentAppId), action)) return true;
    logLine("%s: Quillom is off in %s", action == AppAction::Undo ? "undo" : "convert", state.currentAppId.c_str());
    return false;
}

std::optional<LayoutId> undoNow(PipelineState& state, PipelinePorts ports, std::optional<std::string>& restored) {
    UndoRecord& undo = state.undo;
    if (!undo.available || !allowedHere(state, AppAction::Undo)) return std::nullopt;
    if (giveForegroundBack(ports, undo.window) != undo.window) {
        logLine("undo: the corrected window is not in front; nothing undone");
        undo.available = false;
        return std::nullopt;
    }
    undo.available = false;
    // One more Backspace for the boundary the correction typed again.
    if (!replayCorrection(ports, int32_t(undo.replacement.size()) + 1, undo.typedWord, char16_t(undo.boundaryChar),
                          undo.boundaryKind)) {
        logLine("undo: the system inserted fewer events than sent");
        return std::nullopt;
    }
    std::optional<LayoutId> requested = switchLayout(ports.desktop, "", undo.typedWord);
    playIfSet(ports.sound, state.sounds, state.sounds.undo);
    restored = toUtf8(undo.learnedWord);
    logLine("undo: restored '%s'", toUtf8(undo.typedWord).c_str());
    return requested;
}

std::optional<LayoutId> convertNow(PipelineState& state, PipelinePorts ports, const std::string& target,
                                   std::optional<ConversionResult>& result) {
    if (!state.engine || !allowedHere(state, target.empty() ? AppAction::Convert : AppAction::ConvertTo))
        return std::nullopt;
    if (ports.desktop.belongsToThisProcess(giveForegroundBack(ports, state.lastForeground))) {
        logLine("convert: the text's window is not in front");
        return std::nullopt;
    }
    // Without a copy of the user's clipboard, the copy of the selection
    // would lose it: nothing is done.
    std::optional<ClipboardSnapshot> saved;
    if (!retryClipboard(ports, [&] { return (saved = ports.clipboard.save()).has_value(); })) {
        logLine("convert: the clipboard could not be saved; nothing converted");
        return std::nullopt;
    }
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
    // Without the converted text on the clipboard, Ctrl+V would paste
    // whatever is there in place of the selection.
    if (!retryClipboard(ports, [&] { return ports.clipboard.offerText(converted); })) {
        logLine("convert: the clipboard stayed busy; nothing pasted");
        restoreClipboard(ports, saved);
        return std::nullopt;
    }
    const bool pasted = sendCtrlChord(ports, vk::V);
    const std::optional<unsigned> pasteMs = pasted ? waitForPaste(ports) : std::nullopt;
    if (pasted && !pasteMs) logLine("convert: the paste did not read the text in %u ms", kPasteWaitMs);
    restoreClipboard(ports, saved);
    if (!pasted) {
        logLine("convert: the system inserted fewer events than sent");
        return std::nullopt;
    }
    std::optional<LayoutId> requested = switchLayout(ports.desktop, conversion.targetLang, converted);
    logLine("convert: %s -> %s (lang '%s', pasted after %d ms)", selectionUtf8.c_str(), conversion.text.c_str(),
            conversion.targetLang.c_str(), pasteMs ? int(*pasteMs) : -1);
    playIfSet(ports.sound, state.sounds, state.sounds.correction);
    result = ConversionResult{selectionUtf8, conversion.text, conversion.targetLang};
    return requested;
}

}  // namespace

std::optional<std::string> undoLastCorrection(KeyboardHook& hook) {
    std::optional<std::string> restored;
    runHeldBack(hook, [&] { return undoNow(hook.state(), hook.ports(), restored); });
    return restored;
}

std::optional<LayoutId> takeCorrectionBack(PipelineState& state, PipelinePorts ports) {
    std::optional<std::string> restored;
    std::optional<LayoutId> requested = undoNow(state, ports, restored);
    if (restored) logLine("undo: taken back by Backspace");
    if (restored && state.onTakenBack) state.onTakenBack(*restored);
    return requested;
}

std::optional<ConversionResult> convertSelection(KeyboardHook& hook, const std::string& target) {
    std::optional<ConversionResult> result;
    runHeldBack(hook, [&] { return convertNow(hook.state(), hook.ports(), target, result); });
    return result;
}

}  // namespace quillom::pipeline
