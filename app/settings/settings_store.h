// The settings folder and its two files: the working rules file (quillom_rules.json) and the
// user preferences (user_preferences.json), with their templates next to the program.
// Nothing is cached: every change loads a file, changes it and saves the whole tree.
// The packed lexicon the rules file names (quillom_lexicon.bin) lies beside each rules file:
// staging copies the program's copy next to the working rules. Used from the user-interface
// thread and from the background worker (learning, the dictionary tab, queued saves); the state
// both change is locked.
//
// Saves never truncate a file in place: the text goes to "<name>.tmp" in the same folder,
// is flushed, and then replaces the file in one step, so an interrupted save leaves the old
// file whole. A preferences or rules file that exists but cannot be read as a JSON object
// (for example a hand edit with a typo) is first copied aside as "<name>.unreadable" (or
// "<name>.unreadable.2" and so on) so the user's text is never lost.
//
// A read that fails for any reason but the file's absence (no access, a sharing violation, a
// short read) yields defaults, not the user's settings: saving a tree built on it would wipe
// them. So a save is refused while the last read of its file failed (see writeRefused), which
// makes every load-change-save refuse to write when its load failed. A leading UTF-8
// byte-order mark, as some editors write, is read as if absent; saves never write one.
//
// With writeBehind set, a save made on any other thread returns once its text is queued: the
// disk (a flush can take hundreds of milliseconds) is left to the writer thread, which writes
// queued saves in order, each time the newest text of its file. Until then every read of the
// file through the store sees the queued text, so a load-change-save that follows builds on it.
#pragma once

#include "json.h"
#include "settings_platform.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::settings {

enum class LoadStatus {
    Loaded,      // the file holds a JSON object
    Missing,     // there is no such file
    Unparsable,  // read, but not a JSON object (or over the size limit)
    ReadFailed,  // exists, but could not be read now
};

// The writer thread of the store's saves.
struct WriteBehind {
    // Runs job on the writer thread after every job posted before it.
    std::function<void(std::function<void()>)> post;
    // The calling thread is the writer: its saves are written at once, so that what it does
    // next (building an engine from the file) finds them on the disk.
    std::function<bool()> onWriterThread;
    // A queued save that could not be written; the writer thread calls it.
    std::function<void(const std::filesystem::path&)> writeFailed;
};

class SettingsStore {
public:
    explicit SettingsStore(SettingsPlatform& platform) : platform_(platform) {}

    SettingsPlatform& platform() const { return platform_; }

    // A portable copy: the file "Quillom.portable" lies beside the program. Its settings
    // (and its log) live in the folder "QuillomData" beside the program, so that the copy
    // takes them along when it moves, and it writes nothing to the registry.
    bool portable() const;
    // QuillomData beside a portable copy; else LOCALAPPDATA\Quillom, or the program folder
    // when LOCALAPPDATA is unusable.
    std::filesystem::path settingsFolder() const;
    // Folder of the running executable; empty (current directory) when it has none.
    std::filesystem::path programFolder() const;
    std::filesystem::path workingRulesPath() const;
    std::filesystem::path preferencesPath() const;
    std::filesystem::path templateRulesPath() const;
    std::filesystem::path templatePreferencesPath() const;
    std::filesystem::path workingLexiconPath() const;
    std::filesystem::path templateLexiconPath() const;

    // True only when every byte was read.
    bool readFileBytes(const std::filesystem::path& path, std::string& out) const;
    // Atomic replace through a flushed temporary file in the same folder, now.
    bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

    // True only when the file was read, parsed and holds an object; otherwise out becomes
    // an empty object.
    bool readJsonFile(const std::filesystem::path& path, JsonValue& out) const;
    // The same read, telling why it did not load; out is an empty object unless Loaded.
    LoadStatus loadJsonFile(const std::filesystem::path& path, JsonValue& out) const;
    bool loadPreferences(JsonValue& out) const;
    // The stored preferences; an empty object when they could not be read as one.
    JsonValue preferences() const;
    bool loadRules(JsonValue& out) const;
    // True when written, or queued to be written (see writeBehind); false when refused.
    bool savePreferences(const JsonValue& prefs);
    bool saveRules(const JsonValue& rules);

    // From now on saves made off the writer thread are queued to it. Set once, before any
    // other thread uses the store; the writer must run the queued jobs before the store goes.
    void writeBehind(WriteBehind writer) { writer_ = std::move(writer); }

    // Whether an engine can be created from a rules file and the packed lexicon it names beside
    // it: the program asks the engine. Without a check no lexicon is staged, since an
    // unverified installed copy might be the damaged one.
    using EngineCheck = std::function<bool(const std::filesystem::path& rules)>;
    void checkEnginesWith(EngineCheck check) { engineCheck_ = std::move(check); }
    // The check on the installation's rules (and so on its lexicon); false without a check.
    bool installedRulesMakeAnEngine() const;

    // One change to a stored file: loads it, lets change edit the tree and saves the result.
    // change returns false to decline, and then nothing is saved. True only when it saved, so
    // never after a failed read (see writeRefused).
    using Change = std::function<bool(JsonValue& tree)>;
    // A preferences file that is missing or not an object is changed from an empty object.
    bool updatePreferences(const Change& change);
    // Only a rules file that loads as an object is changed: a missing or unreadable one is
    // never replaced by a tree that holds nothing but this change.
    bool updateRules(const Change& change);

    // Whether saves of path are refused now: its last read failed and no read has succeeded
    // since. The one rule behind every refused save.
    bool writeRefused(const std::filesystem::path& path) const;

    // Start-up, before the engine exists: creates the folder, copies the templates the user
    // lacks (writing the default preferences when there is no template), puts the template in
    // place of a working rules file that is not a JSON object (see setAsideWorkingRules),
    // refreshes the working rules from a newer template with the user's own entries merged
    // in, and puts the program's packed lexicon beside them when the copy there is missing or
    // differs from it (another version, or damaged) and the installation's rules make an
    // engine with it, so that a damaged installed copy never replaces a working one. Returns
    // whether the working rules file exists afterwards.
    bool stageConfigurationFiles();

    // Keeps the working rules file aside as "<name>.unreadable" (or a numbered variant) and
    // copies the template rules in its place. Returns the aside copy's path; empty, with
    // nothing changed, when there is no readable template or the copy could not be made.
    std::filesystem::path setAsideWorkingRules();
    // When the engine cannot be created from the working files: the installation's own file
    // that is missing or damaged, so that reinstalling is the remedy and the user's files are
    // left alone; empty when an engine can be created from the installation's rules (and the
    // lexicon beside them), so that the working rules file itself is at fault. The rules
    // template is named when it does not read as a JSON object, else the lexicon.
    std::filesystem::path installedFileAtFault(bool installedRulesCreateAnEngine) const;
    // Where the last setAsideWorkingRules kept the damaged file; empty when it did not run.
    const std::filesystem::path& damagedRulesKeptAs() const { return damagedRulesKeptAs_; }

    // "en", then "ru" and "uk" in the order of the installed keyboard layouts.
    std::vector<std::string> installedLanguages() const;
    // Reconciles active_languages with the installed layouts; saves and returns true only
    // when the list changed. Does nothing when the preferences could not be read.
    bool normaliseActiveLanguages();
    // The active languages of the stored preferences.
    std::vector<std::string> activeLanguages() const;
    std::string updateFrequency() const;

    // Working rules := template rules (dropping the user's dictionary), then the default
    // preferences, which are not written when the rules could not be. False when the template
    // is unreadable or a save was refused or failed.
    bool restoreDefaults();

private:
    struct FileText {
        std::filesystem::path path;
        std::string text;
    };
    struct QueuedText {
        std::string text;
        uint64_t generation;
    };
    bool saveJsonFile(const std::filesystem::path& path, const JsonValue& tree);
    // Writes the files in order, stopping at the first that fails; queued (true) off the writer.
    bool saveFiles(std::vector<FileText> files);
    bool writeNow(const std::vector<FileText>& files);
    void writeQueued(const std::vector<std::filesystem::path>& paths, uint64_t generation);
    // The queued text of path when there is one, else the file's bytes.
    ReadStatus readStored(const std::filesystem::path& path, std::string& out) const;
    LoadStatus parseStored(const std::filesystem::path& path, ReadStatus read, const std::string& bytes,
                           JsonValue& out) const;
    bool keepAsideIfUnreadable(const std::filesystem::path& path);
    std::filesystem::path copyAside(const std::filesystem::path& path);
    void upgradeWorkingRules();
    void stagePackedLexicon();

    SettingsPlatform& platform_;
    WriteBehind writer_;
    EngineCheck engineCheck_;
    // The calling thread and the writer both read and save.
    mutable std::mutex mutex_;
    mutable std::set<std::filesystem::path> failedReads_;  // guarded by mutex_
    std::map<std::filesystem::path, QueuedText> queued_;   // guarded by mutex_
    uint64_t generation_ = 0;                              // guarded by mutex_
    std::filesystem::path damagedRulesKeptAs_;
};

}  // namespace quillom::settings
