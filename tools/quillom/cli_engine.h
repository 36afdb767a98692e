// Engine set-up shared by the commands of the quillom tool.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quillom.hpp"

namespace quillom::cli {

using cabi::Decision;
using cabi::EnginePtr;

struct CommonOptions {
    std::string rulesPath;
    std::optional<std::string> prefsPath;
    std::string languages = "en,uk,ru";
};

// Consumes --rules, --prefs and --languages from args (the rest stay).
// Returns an error message on a bad option.
std::optional<std::string> takeCommonOptions(std::vector<std::string>& args, CommonOptions& out);

// What every command does first: "--help" prints help to standard output and ends it with 0;
// a bad common option is reported as "quillom <command>: <error>" and ends it with 2.
// Otherwise returns nothing, with the common options taken into out.
std::optional<int> startCommand(std::vector<std::string>& args, const char* command, const char* help,
                                CommonOptions& out);
// Prints help to standard error; returns the exit code of a usage error.
int usageError(const char* help);

// Takes "--name VALUE" out of args.
std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name);
bool takeFlag(std::vector<std::string>& args, const std::string& name);

class Engine {
public:
    // Prints a clear message to stderr and returns nothing when the rules
    // file is missing or malformed.
    static std::optional<Engine> open(const CommonOptions& options);

    Decision evaluate(const std::string& word, const std::string& app, const std::string& layout,
                      bool unknownBeginning = false);
    std::string convertSmart(const std::string& text, std::string* target = nullptr);
    std::string convertTo(const std::string& text, const std::string& to);
    qm_engine* handle() const { return handle_.get(); }

private:
    explicit Engine(EnginePtr h) : handle_(std::move(h)) {}
    EnginePtr handle_;
};

std::string defaultRulesPath();

}  // namespace quillom::cli
