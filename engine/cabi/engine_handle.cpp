#include "cabi/engine_handle.h"

#include <filesystem>

#include "config/engine_log.h"
#include "config/file_bytes.h"
#include "config/json.h"
#include "config/packed_lexicon.h"
#include "config/user_preferences.h"
#include "scoring/choose/selection_target.h"

namespace quillom {

namespace {

// The packed lexicon the rules object names, read from the rules file's
// folder. False when it names one that cannot be used, or when the member is
// there but names none (null, an array): an engine without the words it was
// built for would correct valid words.
bool loadNamedLexicon(const json::Value& root, const std::string& rulesPath, std::optional<PackedLexiconFile>& out) {
    const json::Value* named = root.find("packed_lexicon");
    if (!named) return true;
    const auto file = named->isObject() ? json::findString(*named, "file") : std::nullopt;
    const auto id = named->isObject() ? json::findString(*named, "id") : std::nullopt;
    std::string error = "packed_lexicon needs a plain file name and an id";
    if (file && id && !file->empty() && file->find_first_of("/\\:") == std::string::npos && *file != "." &&
        *file != "..") {
        const std::filesystem::path rules(std::u8string(rulesPath.begin(), rulesPath.end()));
        const std::u8string path = (rules.parent_path() / std::u8string(file->begin(), file->end())).u8string();
        out = PackedLexiconFile::load(std::string(path.begin(), path.end()), *id, &error);
        if (out) return true;
    }
    engineLog("packed lexicon not loaded: " + error);
    return false;
}

}  // namespace

std::unique_ptr<EngineHandle> EngineHandle::create(const std::string& rulesPath, const std::string& prefsPath) {
    auto bytes = readConfigText(rulesPath);
    if (!bytes) return nullptr;
    auto root = json::parse(*bytes);
    if (!root || !root->isObject()) return nullptr;
    bytes.reset();
    std::optional<PackedLexiconFile> lexicon;
    if (!loadNamedLexicon(*root, rulesPath, lexicon)) return nullptr;
    const UserPreferences prefs = UserPreferences::load(prefsPath);
    const json::Value* overrides = json::findObject(*root, "manual_overrides");
    const json::Value empty = json::Value::makeObject({});
    auto engine = std::make_shared<const RulesEngine>(
        RulesConfig::load(*root, overrides ? *overrides : empty, prefs, lexicon ? &*lexicon : nullptr));
    return std::make_unique<EngineHandle>(std::move(engine));
}

RulesDecision EngineHandle::evaluate(std::string_view token, std::string_view appId,
                                     const std::optional<std::string>& activeInputSource, bool hasUnknownBeginning,
                                     bool trackSession) {
    if (!trackSession) return engine_->evaluate(token, appId, std::nullopt, std::nullopt);
    // A word evaluated without the text around it comes between the words
    // remembered and the next.
    session_.breakText();
    return session_.evaluate(token, appId, activeInputSource, hasUnknownBeginning);
}

layout::ManualConversionResult EngineHandle::convertSelectionSmart(
    std::string_view text, const std::optional<std::string>& activeInputSource) const {
    const scoring::ScoringContext context{engine_->config(), engine_->index()};
    return layout::convertSelectionSmart(engine_->config(), text, activeInputSource,
                                         [&](std::string_view forLatin, const std::vector<std::string>& candidates) {
                                             return scoring::targetByLetters(context, forLatin, candidates);
                                         });
}

layout::ManualConversionResult EngineHandle::convertSelection(std::string_view text, const std::string& target) const {
    return layout::convertSelection(engine_->config(), text, target);
}

}  // namespace quillom
