// The pipeline's view of the decision engine: the few qm_ calls it makes,
// behind an interface so that tests can stand in for the engine.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <quillom.hpp>

namespace quillom::pipeline {

struct WordQuery {
    std::string word;         // UTF-8
    std::string appId;        // executable name of the foreground application
    std::string inputSource;  // "en", "ru" or "uk"
    bool hasUnknownBeginning = false;
    // What was typed since the last word ended, its ending key first;
    // nothing when unknown (see qm_engine_evaluate_in_text).
    std::optional<std::string> typedSince{};
};

using cabi::Conversion;
using cabi::Decision;

// Built on any thread, then owned and called by the main thread only.
class WordEngine {
public:
    virtual ~WordEngine() = default;
    // A word of running text: the decision, with the pieces before it that go
    // along (Decision::piecesBefore, Decision::before).
    virtual Decision evaluate(const WordQuery& query) = 0;
    virtual void resetContext() = 0;
    // target empty: the engine chooses the direction.
    virtual Conversion convertSelection(const std::string& text, const std::string& target) = 0;
};

// The engine of QuillomCABI; null when the rules file cannot be loaded.
std::unique_ptr<WordEngine> createCabiWordEngine(const std::string& rulesPath, const std::string& prefsPath);
// The same over a handle its caller keeps and destroys.
std::unique_ptr<WordEngine> borrowCabiWordEngine(qm_engine* handle);

}  // namespace quillom::pipeline
