// Engine set-up shared by the commands of the quillom tool.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quillom.h"

namespace quillom::cli {

struct EngineDeleter {
    void operator()(qm_engine* e) const { qm_engine_destroy(e); }
};
using EnginePtr = std::unique_ptr<qm_engine, EngineDeleter>;

struct OwnedString {
    char* p = nullptr;
    explicit OwnedString(char* s) : p(s) {}
    OwnedString(const OwnedString&) = delete;
    OwnedString& operator=(const OwnedString&) = delete;
    ~OwnedString() { qm_free_string(p); }
    std::string str() const { return p ? std::string(p) : std::string(); }
};

struct CommonOptions {
    std::string rulesPath;
    std::optional<std::string> prefsPath;
    std::string languages = "en,uk,ru";
};

// Consumes --rules, --prefs and --languages from args (the rest stay).
// Returns an error message on a bad option.
std::optional<std::string> takeCommonOptions(std::vector<std::string>& args, CommonOptions& out);

// Takes "--name VALUE" out of args.
std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name);
bool takeFlag(std::vector<std::string>& args, const std::string& name);

struct Decision {
    bool shouldCorrect = false;
    std::string corrected;
    double confidence = 0.0;
    std::string reason;
    std::string target;
};

class Engine {
public:
    // Prints a clear message to stderr and returns nothing when the rules
    // file is missing or malformed.
    static std::optional<Engine> open(const CommonOptions& options);

    Decision evaluate(const std::string& word, const std::string& app, const std::string& layout,
                      bool unknownBeginning = false);
    void reset() { qm_engine_reset_context(handle_.get()); }
    std::string convertSmart(const std::string& text, std::string* target = nullptr);
    std::string convertTo(const std::string& text, const std::string& to);

private:
    explicit Engine(EnginePtr h) : handle_(std::move(h)) {}
    EnginePtr handle_;
};

std::string defaultRulesPath();
std::string jsonQuote(const std::string& s);

}  // namespace quillom::cli
