// The settings store's saves: written at once, or queued to the writer thread (writeBehind).
// queued_ holds the newest text of each file not yet known to be on the disk; reads see it, and
// whichever write runs next puts that newest text on the disk, so a save that finishes late
// never undoes a later one.
#include "settings_store.h"

namespace quillom::settings {
namespace fs = std::filesystem;

ReadStatus SettingsStore::readStored(const fs::path& path, std::string& out) const {
    {
        std::lock_guard lock(mutex_);
        if (auto it = queued_.find(path); it != queued_.end()) {
            out = it->second.text;
            return ReadStatus::Read;
        }
    }
    return platform_.readFile(path, out);
}

bool SettingsStore::saveFiles(std::vector<FileText> files) {
    for (const FileText& file : files)
        if (writeRefused(file.path)) return false;
    if (!writer_.post || writer_.onWriterThread()) return writeNow(files);
    std::vector<fs::path> paths;
    uint64_t generation = 0;
    {
        std::lock_guard lock(mutex_);
        generation = ++generation_;
        for (FileText& file : files) {
            paths.push_back(file.path);
            queued_[file.path] = {std::move(file.text), generation};
        }
    }
    writer_.post([this, paths = std::move(paths), generation] { writeQueued(paths, generation); });
    return true;
}

// A text queued by another thread and not yet written is older than this one, which was built
// on it (reads see it): this one takes its place, and the queued job finds nothing left to do.
bool SettingsStore::writeNow(const std::vector<FileText>& files) {
    for (const FileText& file : files) {
        uint64_t generation = 0;
        {
            std::lock_guard lock(mutex_);
            generation = ++generation_;
            queued_[file.path] = {file.text, generation};
        }
        const bool written = keepAsideIfUnreadable(file.path) && writeFileBytes(file.path, file.text);
        {
            std::lock_guard lock(mutex_);
            if (auto it = queued_.find(file.path); it != queued_.end() && it->second.generation == generation)
                queued_.erase(it);
        }
        if (!written) return false;
    }
    return true;
}

// Writer thread. After a failure the rest of the batch is dropped (Restore defaults writes the
// preferences only over restored rules), and so is the failed text: reads go back to the disk.
void SettingsStore::writeQueued(const std::vector<fs::path>& paths, uint64_t generation) {
    bool failed = false;
    for (const fs::path& path : paths) {
        std::string text;
        uint64_t newest = 0;
        {
            std::lock_guard lock(mutex_);
            auto it = queued_.find(path);
            if (it == queued_.end()) continue;  // a later write put the newest text there
            if (failed) {
                if (it->second.generation == generation) queued_.erase(it);
                continue;
            }
            text = it->second.text;
            newest = it->second.generation;
        }
        const bool written = keepAsideIfUnreadable(path) && writeFileBytes(path, text);
        {
            std::lock_guard lock(mutex_);
            if (auto it = queued_.find(path); it != queued_.end() && it->second.generation == newest) queued_.erase(it);
        }
        if (!written) {
            failed = true;
            if (writer_.writeFailed) writer_.writeFailed(path);
        }
    }
}

}  // namespace quillom::settings
