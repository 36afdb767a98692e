// The decisions of the low-level keyboard and mouse hooks. The Win32 hook
// procedures turn their structures into KeyEvent / MouseEvent, call these
// and return what they answer.
#pragma once

#include "key_event.h"
#include "pipeline_state.h"

namespace quillom::pipeline {

// Main thread (the hook procedures run there).
class KeyboardHook {
public:
    KeyboardHook(PipelineState& state, PipelinePorts ports) : state_(state), ports_(ports) {}

    // Never throw: an exception must not unwind into the system's hook chain.
    HookVerdict onKey(const KeyEvent& event) noexcept;
    HookVerdict onMouse(const MouseEvent& event) noexcept;

    // A held key as it goes out again: read into the word as if seen live,
    // in the layout in force now. Swallow: it ended a word whose correction
    // now stands at the front of the queue, and the key must not be sent.
    HookVerdict readHeldKey(const HeldKey& key);
    // A held click as it goes out again: it moves the caret.
    void readHeldMouse(const MouseEvent& event);

    // The system's own key state replaces the modifier flags: key-ups that
    // happened on the secure desktop or in an elevated window never reached us.
    void resyncModifiers();

    PipelineState& state() { return state_; }
    PipelinePorts ports() { return ports_; }

private:
    HookVerdict process(const KeyEvent& event);
    void applyMouse(const MouseEvent& event);
    HookVerdict handleKeyDown(const KeyEvent& event);
    bool mustHoldBack(uint32_t time);
    void enqueue(QueuedInput item);
    bool isResetState() const;
    // The focused control now; a new foreground window or control forgets the word.
    WindowId noteFocus();
    void noteForeground(WindowId window);
    void followCaretQuestion(FieldStyle style, bool wordWasEmpty);
    bool inHiddenField(uint32_t vkCode);
    void forgetUnreadWord(const CaretAnswer& answer);
    void settleBeginning(FinishedWord& word, const CaretAnswer& answer);
    void expireUndo(uint32_t vkCode);
    // A Backspace that takes the last correction back is queued for the drain.
    bool takesCorrectionBack(const KeyEvent& event);
    // What became of a finished word: replayed, a correction was queued and
    // the boundary key must be swallowed; correctedTo, the word's own
    // replacement (empty when it stays as typed).
    struct WordResult {
        bool replayed = false;
        std::u16string correctedTo;
        bool asked = false;  // the engine was asked about the word
    };
    WordResult evaluateWord(const FinishedWord& word, const KeyEvent& boundaryKey);
    void followLanguage(const Decision& verdict);
    bool reviseCorrectionBefore(const FinishedWord& word, const KeyEvent& boundaryKey, const Decision& verdict);
    void queueCorrection(const FinishedWord& word, const KeyEvent& boundaryKey, const Decision& verdict);
    void queueReplacement(const FinishedWord& word, const KeyEvent& boundaryKey,
                          const WordsBefore::Replacement& replacement, const std::string& targetLang,
                          std::u16string_view learnedWord);
    char16_t boundaryAfterSwitch(const FinishedWord& word, const KeyEvent& boundaryKey, const std::string& targetLang,
                                 std::u16string_view text);

    PipelineState& state_;
    PipelinePorts ports_;
    bool readingHeld_ = false;  // a correction found now goes before the keys still held
};

}  // namespace quillom::pipeline
