#include "cli_engine.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/json.h"

namespace quillom::cli {

namespace {

// A preferences file holding only the active languages, removed when the tool exits.
class TemporaryPreferences {
public:
    explicit TemporaryPreferences(const std::string& languages) {
        path_ = std::filesystem::temp_directory_path() /
                ("quillom-cli-prefs-" + std::to_string(std::hash<std::string>{}(languages)) + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".json");
        std::ofstream out(path_, std::ios::binary);
        out << "{\"active_languages\": [";
        std::stringstream list(languages);
        std::string item;
        bool first = true;
        while (std::getline(list, item, ',')) {
            out << (first ? "" : ", ") << json::quote(item);
            first = false;
        }
        out << "]}\n";
    }
    ~TemporaryPreferences() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

}  // namespace

std::optional<std::string> takeOption(std::vector<std::string>& args, const std::string& name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end() || it + 1 == args.end()) return std::nullopt;
    std::string value = *(it + 1);
    args.erase(it, it + 2);
    return value;
}

bool takeFlag(std::vector<std::string>& args, const std::string& name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

std::optional<std::string> takeCommonOptions(std::vector<std::string>& args, CommonOptions& out) {
    for (const char* name : {"--rules", "--prefs", "--languages"}) {
        auto it = std::find(args.begin(), args.end(), name);
        if (it != args.end() && it + 1 == args.end()) return std::string(name) + " needs a value";
    }
    out.rulesPath = takeOption(args, "--rules").value_or(defaultRulesPath());
    out.prefsPath = takeOption(args, "--prefs");
    if (auto l = takeOption(args, "--languages")) out.languages = *l;
    return std::nullopt;
}

std::optional<int> startCommand(std::vector<std::string>& args, const char* command, const char* help,
                                CommonOptions& out) {
    if (takeFlag(args, "--help")) {
        std::fputs(help, stdout);
        return 0;
    }
    if (auto error = takeCommonOptions(args, out)) {
        std::fprintf(stderr, "quillom %s: %s\n", command, error->c_str());
        return 2;
    }
    return std::nullopt;
}

int usageError(const char* help) {
    std::fputs(help, stderr);
    return 2;
}

std::string defaultRulesPath() {
    std::error_code ec;
    auto beside = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path() / "quillom_rules.json";
    if (!ec && std::filesystem::exists(beside)) return beside.string();
    return QUILLOM_RULES_FILE;
}

std::optional<Engine> Engine::open(const CommonOptions& options) {
    std::ifstream probe(options.rulesPath, std::ios::binary);
    if (!probe) {
        std::fprintf(stderr, "quillom: cannot read the rules file '%s'\n", options.rulesPath.c_str());
        return std::nullopt;
    }
    std::optional<TemporaryPreferences> temporary;
    std::string prefs;
    if (options.prefsPath) {
        prefs = *options.prefsPath;
    } else {
        temporary.emplace(options.languages);
        prefs = temporary->path();
    }
    EnginePtr handle = cabi::createEngine(options.rulesPath, prefs);
    if (!handle) {
        std::fprintf(stderr, "quillom: the rules file '%s' is not valid JSON with an object at the top\n",
                     options.rulesPath.c_str());
        return std::nullopt;
    }
    return Engine(std::move(handle));
}

Decision Engine::evaluate(const std::string& word, const std::string& app, const std::string& layout,
                          bool unknownBeginning) {
    return cabi::evaluateContext(handle_.get(), word, app, layout, unknownBeginning);
}

std::string Engine::convertSmart(const std::string& text, std::string* target) {
    cabi::Conversion result = cabi::convertSelection(handle_.get(), text);
    if (target) *target = result.targetLang;
    return result.text;
}

std::string Engine::convertTo(const std::string& text, const std::string& to) {
    return cabi::convertSelectionTo(handle_.get(), text, to).text;
}

}  // namespace quillom::cli
