#include "settings_store.h"

#include "preferences.h"
#include "system_files.h"

#include <algorithm>
#include <system_error>

namespace quillom::settings {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRulesFileName = "quillom_rules.json";
constexpr std::string_view kPreferencesFileName = "user_preferences.json";
constexpr std::string_view kLexiconFileName = "quillom_lexicon.bin";
constexpr std::string_view kPortableMarkerName = "Quillom.portable";
constexpr std::string_view kPortableFolderName = "QuillomData";
constexpr int kMaxAsideCopies = 99;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

fs::path withSuffix(const fs::path& path, std::string_view suffix) {
    fs::path result = path;
    result += fs::path(suffix);
    return result;
}

fs::path asideName(const fs::path& path, int n) {
    return withSuffix(path, n == 1 ? ".unreadable" : ".unreadable." + std::to_string(n));
}

}  // namespace

fs::path SettingsStore::programFolder() const { return platform_.executablePath().parent_path(); }

bool SettingsStore::portable() const {
    std::error_code error;
    return fs::is_regular_file(programFolder() / kPortableMarkerName, error);
}

fs::path SettingsStore::settingsFolder() const {
    if (portable()) return programFolder() / kPortableFolderName;
    const fs::path base = platform_.localAppData();
    return base.empty() ? programFolder() : base / "Quillom";
}

fs::path SettingsStore::workingRulesPath() const { return settingsFolder() / kRulesFileName; }
fs::path SettingsStore::preferencesPath() const { return settingsFolder() / kPreferencesFileName; }
fs::path SettingsStore::templateRulesPath() const { return programFolder() / kRulesFileName; }
fs::path SettingsStore::templatePreferencesPath() const { return programFolder() / kPreferencesFileName; }
fs::path SettingsStore::workingLexiconPath() const { return settingsFolder() / kLexiconFileName; }
fs::path SettingsStore::templateLexiconPath() const { return programFolder() / kLexiconFileName; }

bool SettingsStore::readFileBytes(const fs::path& path, std::string& out) const {
    return readStored(path, out) == ReadStatus::Read;
}

bool SettingsStore::writeFileBytes(const fs::path& path, std::string_view bytes) {
    const fs::path temporary = withSuffix(path, ".tmp");
    if (platform_.writeNewFile(temporary, bytes) && platform_.replaceFile(temporary, path)) return true;
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
}

bool SettingsStore::readJsonFile(const fs::path& path, JsonValue& out) const {
    return loadJsonFile(path, out) == LoadStatus::Loaded;
}

LoadStatus SettingsStore::loadJsonFile(const fs::path& path, JsonValue& out) const {
    std::string bytes;
    const ReadStatus read = readStored(path, bytes);
    return parseStored(path, read, bytes, out);
}

LoadStatus SettingsStore::parseStored(const fs::path& path, ReadStatus read, const std::string& bytes,
                                      JsonValue& out) const {
    out = JsonValue::makeObject();
    {
        std::lock_guard lock(mutex_);
        if (read == ReadStatus::Failed) {
            failedReads_.insert(path);
            return LoadStatus::ReadFailed;
        }
        failedReads_.erase(path);
    }
    if (read == ReadStatus::Missing) return LoadStatus::Missing;
    std::string_view text = bytes;
    if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
    JsonValue parsed;
    if (read != ReadStatus::Read || !parseJson(text, parsed) || !parsed.isObject()) return LoadStatus::Unparsable;
    out = std::move(parsed);
    return LoadStatus::Loaded;
}

bool SettingsStore::writeRefused(const fs::path& path) const {
    std::lock_guard lock(mutex_);
    return failedReads_.count(path) != 0;
}

bool SettingsStore::loadPreferences(JsonValue& out) const { return readJsonFile(preferencesPath(), out); }

JsonValue SettingsStore::preferences() const {
    JsonValue prefs;
    loadPreferences(prefs);
    return prefs;
}

bool SettingsStore::loadRules(JsonValue& out) const { return readJsonFile(workingRulesPath(), out); }

bool SettingsStore::savePreferences(const JsonValue& prefs) { return saveJsonFile(preferencesPath(), prefs); }

bool SettingsStore::saveRules(const JsonValue& rules) { return saveJsonFile(workingRulesPath(), rules); }

bool SettingsStore::updatePreferences(const Change& change) {
    JsonValue prefs;
    loadPreferences(prefs);
    return change(prefs) && savePreferences(prefs);
}

bool SettingsStore::updateRules(const Change& change) {
    JsonValue rules;
    return loadRules(rules) && change(rules) && saveRules(rules);
}

bool SettingsStore::saveJsonFile(const fs::path& path, const JsonValue& tree) {
    return saveFiles({{path, toJsonText(tree)}});
}

// A save replaces the whole file; when the file on disk did not read as an object the user's
// text would otherwise be gone for good. False when it could not be kept, or could not be
// read to tell. Reads the disk, never a queued text.
bool SettingsStore::keepAsideIfUnreadable(const fs::path& path) {
    JsonValue ignored;
    std::string bytes;
    const ReadStatus read = platform_.readFile(path, bytes);
    switch (parseStored(path, read, bytes, ignored)) {
    case LoadStatus::Loaded:
    case LoadStatus::Missing: return true;
    case LoadStatus::ReadFailed: return false;
    case LoadStatus::Unparsable: break;
    }
    std::error_code ec;
    if (fs::file_size(path, ec) == 0 && !ec) return true;
    return !copyAside(path).empty();
}

fs::path SettingsStore::copyAside(const fs::path& path) {
    std::error_code ec;
    for (int n = 1; n <= kMaxAsideCopies; ++n) {
        const fs::path aside = asideName(path, n);
        if (fs::exists(aside, ec) || ec) continue;
        if (fs::copy_file(path, aside, fs::copy_options::none, ec) && !ec) return aside;
        return {};
    }
    return {};
}

std::vector<std::string> SettingsStore::installedLanguages() const {
    std::vector<std::string> languages{"en"};
    for (const uint16_t langId : platform_.keyboardLayoutLanguages()) {
        const unsigned primary = langId & 0x3FFu;
        const char* code = primary == 0x19 ? "ru" : primary == 0x22 ? "uk" : nullptr;
        if (code && std::find(languages.begin(), languages.end(), code) == languages.end())
            languages.emplace_back(code);
    }
    return languages;
}

std::vector<std::string> SettingsStore::activeLanguages() const { return settings::activeLanguages(preferences()); }

std::string SettingsStore::updateFrequency() const { return settings::updateFrequency(preferences()); }

}  // namespace quillom::settings
