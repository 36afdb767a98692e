// The state the keyboard hook, the queue drain, Undo and conversion share,
// and the services they use. One instance, owned by the main thread, on
// which all of them run (the low-level hooks are called on the thread that
// installed them, inside its message loop).
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app_modes.h"
#include "backspace_revert.h"
#include "caret_context.h"
#include "correction_queue.h"
#include "engine_port.h"
#include "foreground.h"
#include "password_gate.h"
#include "platform.h"
#include "word_capture.h"
#include "words_before.h"

namespace quillom::pipeline {

struct SoundSettings {
    bool on = true;
    std::u16string correction = u"SystemAsterisk";
    std::u16string undo = u"SystemExclamation";
};

// The last automatic correction, for Undo; never persisted. It expires when
// the text around it may have changed: a key other than a modifier, a click
// in its window, another foreground window.
struct UndoRecord {
    bool available = false;
    WindowId window = 0;  // the foreground window the correction was typed into
    std::u16string typedWord;
    std::u16string replacement;
    uint32_t boundaryChar = 0;
    BoundaryKind boundaryKind = BoundaryKind::Space;
    std::u16string learnedWord;  // see PendingCorrection
};

struct PipelinePorts {
    InputSender& input;
    Desktop& desktop;
    Clipboard& clipboard;
    Clock& clock;
    SoundPlayer& sound;
    LoopWaker& waker;
};

struct PipelineState {
    WordEngine* engine = nullptr;  // owned by the start-up code; may be replaced by a reload
    bool correctionActive = true;
    bool pauseInGames = true;
    SoundSettings sounds;

    WordCapture capture;
    // What was typed before the word, between single spaces: short words,
    // numbers and quotes there may be corrected with the next word.
    WordsBefore wordsBefore;
    CorrectionQueue queue;
    UndoRecord undo;
    BackspaceRevert revert;
    // Called with the restored word when a Backspace took a correction back,
    // so that learning takes it as it takes an Undo.
    std::function<void(const std::string&)> onTakenBack;

    WindowId lastForeground = 0;
    WindowId lastFocus = 0;  // the focused control at the last key-down
    // Asked whenever the word's beginning becomes unknown; a worker thread
    // of the program answers it.
    CaretQuestion caret;
    std::string currentAppId;  // UTF-8 executable name, passed to the engine as appID
    AppModes appModes;
    RecentApps recentApps;

    // Modifier keys the user holds, by virtual key, from the events the hook
    // sees: the system's key state is only updated after the hook answered.
    std::bitset<256> heldModifiers;

    // Set while the drain, Undo or Convert sends; keys and clicks the hook
    // sees then arrived mid-replay and are held.
    bool draining = false;
    // The Undo hotkey's key: pressed with Control, Alt or Windows it does not
    // expire the record it is about to use.
    uint32_t undoHotkeyVk = 0;
    // Tick count right after the last injected event; a user key stamped no
    // later than this entered the input stream ahead of the replayed keys.
    std::optional<uint32_t> replayWatermark;
};

// Forget the word and the engine's session language; what follows may be
// the tail of a longer word, unless the focused control tells otherwise.
void resetWord(PipelineState& state);

// Deactivation also forgets the word.
void setCorrectionActive(PipelineState& state, bool active);

void playIfSet(SoundPlayer& sound, const SoundSettings& settings, const std::u16string& alias);

}  // namespace quillom::pipeline
