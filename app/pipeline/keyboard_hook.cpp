#include "keyboard_hook.h"

#include <algorithm>
#include <utility>

#include "layout_switch.h"
#include "window_kinds.h"
#include "common/debug_log.h"
#include "common/utf16.h"

namespace quillom::pipeline {

using quillom::logLine;

namespace {

constexpr uint32_t kShiftKeys[] = {vk::Shift, vk::LeftShift, vk::RightShift};

constexpr uint32_t kCommandModifiers[] = {vk::Control,     vk::Alt,          vk::LeftWin, vk::RightWin,
                                          vk::LeftControl, vk::RightControl, vk::LeftAlt, vk::RightAlt};

bool commandModifierHeld(const std::bitset<256>& held) {
    for (uint32_t v : kCommandModifiers)
        if (held.test(v)) return true;
    return false;
}

}  // namespace

HookVerdict KeyboardHook::onKey(const KeyEvent& event) noexcept {
    try {
        if (isOwnInjected(event.extraInfo)) return HookVerdict::Pass;
        if (isModifierKey(event.vkCode)) state_.heldModifiers.set(event.vkCode & 0xFF, event.isDown);
        if (mustHoldBack(event.time)) {
            enqueue(HeldKey{event.vkCode, event.scanCode, event.isDown, event.extended, state_.heldModifiers});
            return HookVerdict::Swallow;
        }
        return process(event);
    } catch (...) {
        return HookVerdict::Pass;
    }
}

HookVerdict KeyboardHook::onMouse(const MouseEvent& event) noexcept {
    try {
        if (isOwnInjected(event.extraInfo) || event.kind == MouseMessage::Other) return HookVerdict::Pass;
        if (mustHoldBack(event.time)) {
            enqueue(HeldMouse{event});
            return HookVerdict::Swallow;
        }
        applyMouse(event);
        return HookVerdict::Pass;
    } catch (...) {
        return HookVerdict::Pass;
    }
}

HookVerdict KeyboardHook::readHeldKey(const HeldKey& key) {
    // Modifier keys are followed as they arrive; the held key is read with
    // those it came with, then the ones held now are back.
    readingHeld_ = true;
    const std::bitset<256> now = std::exchange(state_.heldModifiers, key.modifiers);
    HookVerdict verdict = process({key.vkCode, key.scanCode, key.isDown, key.extended, 0, 0});
    state_.heldModifiers = now;
    readingHeld_ = false;
    return verdict;
}

void KeyboardHook::readHeldMouse(const MouseEvent& event) { applyMouse(event); }

void KeyboardHook::resyncModifiers() {
    for (uint32_t v : {vk::Shift, vk::Control, vk::Alt, vk::LeftWin, vk::RightWin})
        state_.capture.trackModifiers(v, false);
    state_.heldModifiers.reset();
    for (uint32_t v : ports_.desktop.modifiersDown()) {
        if (!isModifierKey(v)) continue;
        state_.heldModifiers.set(v & 0xFF);
        state_.capture.trackModifiers(v, true);
    }
}

HookVerdict KeyboardHook::process(const KeyEvent& event) {
    state_.capture.trackModifiers(event.vkCode, event.isDown);
    if (takesCorrectionBack(event)) return HookVerdict::Swallow;
    if (event.isDown) expireUndo(event.vkCode);
    if (event.isDown && state_.correctionActive) return handleKeyDown(event);
    return HookVerdict::Pass;
}

void KeyboardHook::applyMouse(const MouseEvent& event) {
    if (event.kind == MouseMessage::ButtonDown) state_.revert.onClick();
    if (event.kind == MouseMessage::ButtonDown && state_.undo.available &&
        ports_.desktop.rootWindowAt(event.x, event.y) == state_.undo.window)
        state_.undo.available = false;
    if (state_.correctionActive && (event.kind == MouseMessage::ButtonDown || event.kind == MouseMessage::Wheel))
        resetWord(state_);
}

// While a correction waits or is being replayed, input passed on now would
// reach the application before the replacement and corrupt the text.
bool KeyboardHook::mustHoldBack(uint32_t time) {
    if (!state_.queue.empty() || state_.draining) return true;
    if (!state_.replayWatermark) return false;
    if (int32_t(time - *state_.replayWatermark) <= 0) return true;
    state_.replayWatermark.reset();
    return false;
}

// One wake per filling of the queue: the drain runs until it is empty, also
// taking what the hook adds while it runs.
void KeyboardHook::enqueue(QueuedInput item) {
    const bool wasIdle = state_.queue.empty() && !state_.draining;
    if (readingHeld_) {
        state_.queue.push_front(std::move(item));
        return;
    }
    state_.queue.push_back(std::move(item));
    if (wasIdle) ports_.waker.wake();
}

// Any key that may edit the text ends the chance to undo; the Undo hotkey
// itself and keys typed into Quillom's own windows (the tray menu) do not.
void KeyboardHook::expireUndo(uint32_t vkCode) {
    if (!state_.undo.available || isModifierKey(vkCode)) return;
    if (vkCode == state_.undoHotkeyVk && commandModifierHeld(state_.heldModifiers)) return;
    if (ports_.desktop.belongsToThisProcess(ports_.desktop.foregroundWindow())) return;
    state_.undo.available = false;
}

bool KeyboardHook::takesCorrectionBack(const KeyEvent& event) {
    BackspaceRevert::Key key{event.vkCode, event.isDown, state_.heldModifiers.any(), readingHeld_, event.time};
    if (event.vkCode == vk::Backspace && event.isDown && state_.revert.armed()) {
        key.foreground = ports_.desktop.foregroundWindow();
        key.focus = ports_.desktop.focusTarget();
    }
    if (!state_.revert.onKey(key) || !state_.undo.available ||
        !allows(state_.appModes.of(state_.currentAppId), AppAction::Undo))
        return false;
    enqueue(PendingRevert{});
    return true;
}

HookVerdict KeyboardHook::handleKeyDown(const KeyEvent& event) {
    const WindowId focus = noteFocus();
    const FieldStyle style = focus ? ports_.desktop.fieldStyle(focus) : FieldStyle::Unknown;
    // What follows leaving the field is a new word with an unknown beginning.
    if (style == FieldStyle::Password || inHiddenField(event.vkCode)) {
        state_.capture.reset();
        return HookVerdict::Pass;
    }
    char16_t ch = 0;
    if (state_.capture.needsTranslation(event.vkCode))
        ch = ports_.desktop.translateKey(event.vkCode, event.scanCode, state_.capture.shiftHeld(), focus);
    const bool wasReset = isResetState();
    const bool unknownBefore = state_.capture.hasUnknownBeginning();
    const std::u16string before = state_.capture.word();
    CaptureResult result = state_.capture.onKeyDown(event.vkCode, ch);
    // The capture empties the word on its own for editing and navigation keys;
    // such a reset also ends the engine's session language. Backspace on an
    // empty word only marks the beginning as unknown; a key that typed a
    // character no word holds ("=", "©") edits nothing.
    const bool plainBackspace = event.vkCode == vk::Backspace && !state_.heldModifiers.any();
    if (!plainBackspace && ch == 0 && isResetState() && (!wasReset || !before.empty()) && state_.engine)
        state_.engine->resetContext();
    followCaretQuestion(style, before.empty());
    if (result.kind != CaptureResult::Kind::Boundary) {
        if (state_.capture.word().empty())
            state_.wordsBefore.onGap(
                gapOf(event.vkCode, ch, before.empty(), state_.capture.hasUnknownBeginning() && !unknownBefore), ch);
        return HookVerdict::Pass;
    }
    const bool asked = style == FieldStyle::Unknown || result.word.hasUnknownBeginning;
    const CaretAnswer answer = asked ? state_.caret.take() : CaretAnswer{};
    if (!wordMayBeRead(style, answer)) {
        forgetUnreadWord(answer);
        return HookVerdict::Pass;
    }
    settleBeginning(result.word, answer);
    const WordResult outcome = evaluateWord(result.word, event);
    state_.capture.afterEvaluation(!outcome.correctedTo.empty());
    state_.wordsBefore.onWord(result.word, outcome.replayed, outcome.correctedTo);
    // The engine remembers the words it was asked about only.
    if (!outcome.asked) state_.wordsBefore.clear();
    return outcome.replayed ? HookVerdict::Swallow : HookVerdict::Pass;
}

// A word of a field that is or may be a password: nothing of it goes on, and
// no later word takes it along. The log names no letter of it.
void KeyboardHook::forgetUnreadWord(const CaretAnswer& answer) {
    state_.wordsBefore.clear();
    if (state_.engine) state_.engine->resetContext();
    if (answer.privacy == FieldPrivacy::Unchecked)
        logLine("skip: a word in a field not known to show its text (%d reads via %s)", answer.reads,
                answer.via.c_str());
}

// A field that the worker's read found hiding what is typed. Keys that may
// move the focus inside the window (Tab, Enter, arrows, shortcuts) open a
// new question, so that the next word's read checks the field again.
bool KeyboardHook::inHiddenField(uint32_t vkCode) {
    if (state_.caret.privacy() != FieldPrivacy::Hidden) return false;
    const bool editsInPlace = vkCode == vk::Space || vkCode == vk::Backspace || vkCode == vk::Delete;
    if (!editsInPlace && !isModifierKey(vkCode) && !state_.capture.needsTranslation(vkCode)) state_.caret.ask();
    return true;
}

// The question is open while the word's beginning is unknown: asked anew
// while no letter is typed, read once letters are. In a control that tells
// its fields only when asked, every word asks at its first letter and
// follows the field to its end.
void KeyboardHook::followCaretQuestion(FieldStyle style, bool wordWasEmpty) {
    const std::u16string& word = state_.capture.word();
    if (style == FieldStyle::Unknown && !word.empty()) {
        if (wordWasEmpty) {
            state_.caret.ask();
            state_.caret.followField();
        }
        state_.caret.noteWord(word);
        return;
    }
    if (!state_.capture.hasUnknownBeginning()) return;
    if (word.empty()) state_.caret.ask();
    else state_.caret.noteWord(word);
}

void KeyboardHook::settleBeginning(FinishedWord& word, const CaretAnswer& answer) {
    if (!word.hasUnknownBeginning) return;
    const std::string seen = answer.lastText ? toUtf8(*answer.lastText) : std::string();
    if (!answer.answered) {
        logLine("caret: no answer (%d reads, last %u ms via %s, saw '%s')", answer.reads, answer.readMs,
                answer.via.c_str(), seen.c_str());
        return;
    }
    word.hasUnknownBeginning = !answer.known;
    logLine("caret: beginning %s (read %u ms via %s, %d reads, saw '%s')", answer.known ? "known" : "unknown",
            answer.readMs, answer.via.c_str(), answer.reads, seen.c_str());
}

bool KeyboardHook::isResetState() const {
    return state_.capture.word().empty() && state_.capture.hasUnknownBeginning();
}

WindowId KeyboardHook::noteFocus() {
    const WindowId window = ports_.desktop.foregroundWindow();
    const WindowId focus = ports_.desktop.focusTarget();
    if (ports_.desktop.belongsToThisProcess(window)) return focus;
    if (window != state_.lastForeground) {
        noteForeground(window);
    } else if (focus != state_.lastFocus && state_.lastFocus != 0) {
        resetWord(state_);
    }
    state_.lastFocus = focus;
    return focus;
}

void KeyboardHook::noteForeground(WindowId window) {
    if (state_.lastForeground != 0) resetWord(state_);
    state_.undo.available = false;
    state_.lastForeground = window;
    std::string name = ports_.desktop.executableName(window);
    if (name.empty()) return;
    state_.currentAppId = name;
    state_.recentApps.record(name);
}

KeyboardHook::WordResult KeyboardHook::evaluateWord(const FinishedWord& word, const KeyEvent& boundaryKey) {
    if (!state_.engine) return {};
    const WindowId foreground = ports_.desktop.foregroundWindow();
    // What the user types into Quillom's own windows (the dictionary's fields,
    // the feedback text) is meant exactly as typed.
    if (ports_.desktop.belongsToThisProcess(foreground)) return {};
    const WindowKindPolicy kind = policyOf(ports_.desktop.windowKind(foreground));
    if (!kind.corrects) {
        logLine("skip: a word in a %s, whose layout cannot be read", kind.name);
        return {};
    }
    if (state_.pauseInGames && isFullScreen(ports_.desktop.geometry(foreground))) {
        state_.engine->resetContext();
        logLine("skip: full-screen/game context and pause-in-games is on");
        return {};
    }
    if (!allows(state_.appModes.of(state_.currentAppId), AppAction::WordEnd)) {
        logLine("skip: %s  (no automatic correction in %s)", toUtf8(word.word).c_str(), state_.currentAppId.c_str());
        return {};
    }
    std::string source = inputSourceOf(ports_.desktop.layoutLanguage(ports_.desktop.focusTarget()));
    if (source.empty()) return {};

    std::string typed = toUtf8(word.word);
    Decision verdict = state_.engine->evaluate(
        {typed, state_.currentAppId, source, word.hasUnknownBeginning, state_.wordsBefore.typedSince()});
    const bool corrects = verdict.shouldCorrect && !verdict.corrected.empty();
    // The system drops what we would send to a window of a higher integrity
    // level: the boundary key would be lost with no replacement typed.
    const bool elevated = ports_.desktop.runsElevated(foreground);
    if (!corrects) {
        logLine("skip: %s  (conf %.2f, %s)", typed.c_str(), verdict.confidence, verdict.reason.c_str());
        if (!elevated && reviseCorrectionBefore(word, boundaryKey, verdict)) return {true, {}, true};
        followLanguage(verdict);
        return {false, {}, true};
    }
    if (elevated) {
        logLine("skip: %s  (the window runs elevated)", typed.c_str());
        return {false, {}, true};
    }
    queueCorrection(word, boundaryKey, verdict);
    logLine("corrected: %s -> %s  (conf %.2f, %s, lang '%s')", typed.c_str(), verdict.corrected.c_str(),
            verdict.confidence, verdict.reason.c_str(), verdict.targetLang.c_str());
    return {true, toUtf16(verdict.corrected), true};
}

// A kept word that has the layout follow its language settles that
// language: the engine may have the correction just before it, into the
// other language of the script, read again; the layout follows with the
// replay.
bool KeyboardHook::reviseCorrectionBefore(const FinishedWord& word, const KeyEvent& boundaryKey,
                                          const Decision& verdict) {
    const std::string language = verdict.layoutToFollow();
    if (language.empty() || verdict.piecesBefore <= 0) return false;
    const WordsBefore::Replacement revision = state_.wordsBefore.replacing(
        word, static_cast<std::size_t>(verdict.piecesBefore), verdict.before, toUtf8(word.word));
    if (revision.typed == word.word) return false;
    // The kept word corrected nothing: the step is the correction read again.
    const std::u16string_view revised = revision.typed;
    queueReplacement(word, boundaryKey, revision, language, revised.substr(0, revised.find(u' ')));
    logLine("revised: %s -> %s  (lang '%s')", toUtf8(revision.typed).c_str(), toUtf8(revision.replacement).c_str(),
            language.c_str());
    return true;
}

// A kept word of the language of another layout of its script: the layout
// follows, so that the user's next word comes out in that language. Not
// while a correction or a held key press waits in the queue: the correction
// switches the layout itself, and held keys are read in the layout in force.
void KeyboardHook::followLanguage(const Decision& verdict) {
    const std::string language = verdict.layoutToFollow();
    if (language.empty() || std::ranges::any_of(state_.queue, [](const QueuedInput& q) {
            const HeldKey* key = std::get_if<HeldKey>(&q);
            return changesText(q) || (key && key->isDown);
        }))
        return;
    if (auto layout = switchLayout(ports_.desktop, language, {}))
        logLine("layout follows: '%s' (0x%llx)", language.c_str(), static_cast<unsigned long long>(*layout));
}

void KeyboardHook::queueCorrection(const FinishedWord& word, const KeyEvent& boundaryKey, const Decision& verdict) {
    // Short words, a number or a quote just before, on the same layout, go
    // with it, or the correction just before is read again: one replay, one
    // Undo.
    queueReplacement(word, boundaryKey,
                     state_.wordsBefore.replacing(word, static_cast<std::size_t>(std::max(verdict.piecesBefore, 0)),
                                                  verdict.before, verdict.corrected),
                     verdict.targetLang, word.word);
}

void KeyboardHook::queueReplacement(const FinishedWord& word, const KeyEvent& boundaryKey,
                                    const WordsBefore::Replacement& r, const std::string& targetLang,
                                    std::u16string_view learnedWord) {
    std::vector<uint16_t> heldShifts;
    for (uint32_t shift : kShiftKeys)
        if (state_.heldModifiers.test(shift)) heldShifts.push_back(uint16_t(shift));
    enqueue(PendingCorrection{uint32_t(r.onScreen.size()), r.typed, r.replacement, word.boundaryChar, word.boundaryKind,
                              targetLang, std::move(heldShifts),
                              boundaryAfterSwitch(word, boundaryKey, targetLang, r.replacement),
                              std::u16string(learnedWord)});
}

// The user who typed a word on the wrong layout meant its punctuation key in
// the right one too. The replay sends it as a character: the window may not
// have taken the new layout yet when the key arrives.
char16_t KeyboardHook::boundaryAfterSwitch(const FinishedWord& word, const KeyEvent& boundaryKey,
                                           const std::string& targetLang, std::u16string_view text) {
    if (word.boundaryKind != BoundaryKind::Punctuation) return 0;
    std::optional<LayoutId> layout = layoutToRequest(ports_.desktop, targetLang, std::u16string(text));
    if (!layout) return 0;
    return ports_.desktop.translateKeyInLayout(boundaryKey.vkCode, boundaryKey.scanCode, state_.capture.shiftHeld(),
                                               *layout);
}

}  // namespace quillom::pipeline
