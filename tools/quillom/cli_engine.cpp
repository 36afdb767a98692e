#include "cli_engine.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

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
            out << (first ? "" : ", ") << jsonQuote(item);
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
    EnginePtr handle(qm_engine_create(options.rulesPath.c_str(), prefs.c_str()));
    if (!handle) {
        std::fprintf(stderr, "quillom: the rules file '%s' is not valid JSON with an object at the top\n",
                     options.rulesPath.c_str());
        return std::nullopt;
    }
    return Engine(std::move(handle));
}

Decision Engine::evaluate(const std::string& word, const std::string& app, const std::string& layout,
                          bool unknownBeginning) {
    Decision d;
    int32_t should = 0;
    char target[16] = {};
    char reason[64] = {};
    OwnedString result(qm_engine_evaluate_context(handle_.get(), word.c_str(), app.c_str(), layout.c_str(),
                                                  unknownBeginning ? 1 : 0, &should, &d.confidence, target,
                                                  sizeof target, reason, sizeof reason));
    d.shouldCorrect = should == 1;
    d.corrected = result.str();
    d.reason = reason;
    d.target = target;
    return d;
}

std::string Engine::convertSmart(const std::string& text, std::string* target) {
    char lang[16] = {};
    OwnedString result(qm_engine_convert_selection(handle_.get(), text.c_str(), nullptr, lang, sizeof lang));
    if (target) *target = lang;
    return result.str();
}

std::string Engine::convertTo(const std::string& text, const std::string& to) {
    char lang[16] = {};
    OwnedString result(qm_engine_convert_selection_to(handle_.get(), text.c_str(), to.c_str(), lang, sizeof lang));
    return result.str();
}

std::string jsonQuote(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

}  // namespace quillom::cli
