// Types text physical key by physical key, through the word capture, into the
// engine, as the program does; reports every word the engine was asked about.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "key_tables.h"
#include "pipeline/word_capture.h"
#include "pipeline/words_before.h"
#include "quillom.h"

namespace quillom::bench {

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
    std::string output;       // the word after the engine (UTF-8): the correction or the typed word
    bool corrected = false;
    std::string reason;
    std::string target;
    bool unknownBeginning = false;
    bool mistyped = false;  // typed on the wrong layout and different from the intent
    pipeline::BoundaryKind boundaryKind = pipeline::BoundaryKind::Space;
    char16_t boundaryTyped = 0;     // the key that ended the word, as it came out
    char16_t boundaryIntended = 0;  // ... and as the user meant it
};

struct TypingCounters {
    long long mistypedLostByCapture = 0;  // wrong-layout words the capture dropped before a boundary
    long long strayMismatches = 0;        // characters outside words that came out other than meant
};

class Typist {
public:
    using Sink = std::function<void(const WordOutcome&)>;

    Typist(qm_engine* engine, const KeyTables& keys, TypingPlan plan, Sink sink)
        : engine_(engine), keys_(keys), plan_(std::move(plan)), sink_(std::move(sink)) {}

    // One document: a fresh capture and a fresh session; paragraphs end with Enter.
    void typeDocument(const std::vector<std::u16string>& paragraphs, const std::string& appId);
    const TypingCounters& counters() const { return counters_; }

private:
    void typeChar(char16_t intended);
    void press(KeyStroke key, char16_t produced, char16_t intended);
    void finish(const pipeline::FinishedWord& word, KeyStroke boundaryKey, char16_t boundaryIntended);
    // The program corrects short words, numbers and quotes just before a
    // corrected word with it; a word is reported once that can no longer happen.
    void correctWordsBefore(const WordOutcome& corrected);
    // The program reads a correction just before the word again when the
    // word (corrected or kept) settles another language of its script.
    bool reviseCorrectionBefore(const pipeline::FinishedWord& word, const std::string& target);
    static std::size_t pieceUnits(const WordOutcome& o);
    void report(std::size_t count);
    void reportSettled();
    std::string layoutFor(Script script) const;

    qm_engine* engine_;
    const KeyTables& keys_;
    TypingPlan plan_;
    Sink sink_;
    pipeline::WordCapture capture_;
    std::string appId_;
    std::string believed_, active_;  // layout the user thinks is on, layout really on
    Script lastScript_ = Script::None;
    pipeline::WordsBefore wordsBefore_;
    std::vector<WordOutcome> held_;  // words the pieces before the next word still hold
    std::u16string intendedWord_;
    bool intendedMistyped_ = false;
    TypingCounters counters_;
};

Script scriptOf(char16_t ch);

}  // namespace quillom::bench
