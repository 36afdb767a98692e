// Types text physical key by physical key through the program's typing
// pipeline on a simulated window (app/simulation), as the user of a plan
// would; reports every word the engine was asked about and what the window
// shows of it at the end of the document.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quillom.h"
#include "simulation/simulated_typing.h"

namespace quillom::bench {

using simulation::KeyStroke;
using simulation::KeyTables;

enum class Script { None, Latin, Cyrillic };

// How the simulated user types: letters of `textLanguage`'s script on that
// language's layout, Latin letters on "en"; when `wrongLayout` is set, the
// letters of `wrongScript` come out of that layout instead (the user believes
// the right one is active). Corrections do not switch the layout, so a whole
// text typed on the wrong layout measures every word of it.
struct TypingPlan {
    std::string textLanguage;
    std::string wrongLayout;
    Script wrongScript = Script::None;
    // As the program does: a correction switches the layout to its target, and
    // the user's own change of script switches it to the right one. Without
    // this, a text typed on the wrong layout stays on it to the end.
    bool followCorrections = false;
};

struct WordOutcome {
    std::u16string intended;  // what the user meant with these keys
    std::u16string typed;     // what the keys gave
    std::string output;       // the word as the window shows it at the end (UTF-8)
    bool corrected = false;
    std::string reason;
    std::string target;
    bool unknownBeginning = false;
    bool mistyped = false;  // typed on the wrong layout and different from the intent
    pipeline::BoundaryKind boundaryKind = pipeline::BoundaryKind::Space;
    char16_t boundaryTyped = 0;     // the key that ended the word, as the window shows it
    char16_t boundaryIntended = 0;  // ... and as the user meant it
};

struct TypingCounters {
    long long mistypedLostByCapture = 0;  // wrong-layout words the capture dropped before a boundary
    long long strayMismatches = 0;        // characters outside words that came out other than meant
};

class Typist {
public:
    using Sink = std::function<void(const WordOutcome&)>;

    Typist(qm_engine* engine, const KeyTables& keys, TypingPlan plan, Sink sink);

    // One document: a new window and a fresh session; paragraphs end with Enter.
    void typeDocument(const std::vector<std::u16string>& paragraphs, const std::string& appId);
    const TypingCounters& counters() const { return counters_; }

private:
    // What a key press was to the word capture.
    enum class Role { Gap, Letter, Boundary };
    struct Press {
        Role role = Role::Gap;
        std::size_t word = 0;  // the index of the word it belongs to
    };

    void typeChar(char16_t intended);
    void press(KeyStroke key, char16_t intended);
    void note(const std::optional<simulation::Evaluation>& ended, std::size_t before, char16_t produced,
              char16_t intended);
    // Each word takes what the window shows of its letters and its boundary.
    void reportDocument();
    std::string layoutFor(Script script) const;

    std::unique_ptr<pipeline::WordEngine> engine_;
    const KeyTables& keys_;
    TypingPlan plan_;
    Sink sink_;
    simulation::SimulatedTyping typing_;
    std::string believed_, active_;  // layout the user thinks is on, layout the user puts on
    Script lastScript_ = Script::None;
    uint32_t firstPress_ = 0;                  // the document's first key press
    std::vector<Press> presses_;               // of the document, from firstPress_ on
    std::vector<std::size_t> wordPresses_;     // the presses of the word being typed
    std::vector<WordOutcome> words_;           // of the document
    std::vector<std::string> ownCorrections_;  // what each word's own correction typed
    std::u16string intendedWord_;
    bool intendedMistyped_ = false;
    TypingCounters counters_;
};

Script scriptOf(char16_t ch);

}  // namespace quillom::bench
