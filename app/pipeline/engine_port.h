// The pipeline's view of the decision engine: the few qm_ calls it makes,
// behind an interface so that tests can stand in for the engine.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace quillom::pipeline {

struct WordQuery {
    std::string word;         // UTF-8
    std::string appId;        // executable name of the foreground application
    std::string inputSource;  // "en", "ru" or "uk"
    bool hasUnknownBeginning = false;
};

struct WordVerdict {
    bool shouldCorrect = false;
    std::optional<std::string> corrected;  // nothing when the engine returned null
    double confidence = 0.0;
    std::string targetLang;
    std::string reason;
};

struct Conversion {
    std::string text;  // UTF-8, empty when the engine converted nothing
    std::string targetLang;
};

// Built on any thread, then owned and called by the main thread only.
class WordEngine {
public:
    virtual ~WordEngine() = default;
    virtual WordVerdict evaluate(const WordQuery& query) = 0;
    virtual void resetContext() = 0;
    // target empty: the engine chooses the direction.
    virtual Conversion convertSelection(const std::string& text, const std::string& target) = 0;
};

// The engine of QuillomCABI; null when the rules file cannot be loaded.
std::unique_ptr<WordEngine> createCabiEngine(const std::string& rulesPath, const std::string& prefsPath);

}  // namespace quillom::pipeline
