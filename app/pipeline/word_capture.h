// Rebuilds the word being typed from key events and finds its boundary.
// Free of Windows types: keys are virtual-key codes, characters UTF-16 units.
// The keyboard hook is a thin adapter around this; the command-line tool and
// the accuracy benchmark drive the hook itself (app/simulation).
#pragma once

#include <cstdint>
#include <string>

#include "common/virtual_keys.h"

namespace quillom::pipeline {

enum class BoundaryKind : uint32_t { Space = 0, Enter = 1, Tab = 2, Punctuation = 3 };

struct FinishedWord {
    std::u16string word;
    char16_t boundaryChar = 0;
    BoundaryKind boundaryKind = BoundaryKind::Space;
    bool hasUnknownBeginning = false;
};

struct CaptureResult {
    enum class Kind { PassOn, Boundary } kind = Kind::PassOn;
    FinishedWord word;  // set for Boundary
};

// Owned by the thread that runs the keyboard hook.
class WordCapture {
public:
    // Every key event that is not our own injected input updates the modifier flags.
    void trackModifiers(uint32_t vkCode, bool isDown);
    bool shiftHeld() const { return shift_; }

    // Needs a character (TranslateKey) for this key-down: the key is none of
    // the keys with a fixed action and no Control, Alt or Windows key is held.
    bool needsTranslation(uint32_t vkCode) const;

    // A key-down while correction is active. ch is the single UTF-16 unit the
    // key gives in the focused window's layout, or 0 when it gives none.
    // A boundary with a non-empty word yields it (and empties the buffer); a
    // boundary with an empty word consumes the unknown-beginning flag and passes on.
    CaptureResult onKeyDown(uint32_t vkCode, char16_t ch);

    // Forget the word; what follows may be the tail of a longer word.
    void reset();

    // After the word the last boundary yielded was evaluated. A word ended by
    // a hyphen or a digit row mark (endsWordAfterIt) and left as typed was
    // meant with that mark: what follows is the rest of it (system-db), a
    // tail, not a word of its own.
    void afterEvaluation(bool corrected);

    const std::u16string& word() const { return word_; }
    bool hasUnknownBeginning() const { return unknownBeginning_; }

private:
    CaptureResult boundary(char16_t boundaryChar, BoundaryKind kind);
    bool anyModifierButShift() const { return control_ || alt_ || win_; }

    std::u16string word_;
    bool unknownBeginning_ = false;
    bool endedByJoiningMark_ = false;  // the last boundary was an endsWordAfterIt mark
    bool shift_ = false, control_ = false, alt_ = false, win_ = false;
};

// Characters that join the word or end it, for keys that give one.
bool joinsWord(char16_t ch);
bool isPunctuationBoundary(char16_t ch);
// Characters that end a word being typed like punctuation, and reset the
// capture where no word is being typed ("-la", "$HOME" are no words' tails).
bool endsWordAfterIt(char16_t ch);

}  // namespace quillom::pipeline
