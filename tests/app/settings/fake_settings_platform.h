// A SettingsPlatform over real files in a temporary folder, with switches that make the next
// write or replace fail the way an interrupted save would, and a disk as slow as asked.
#pragma once

#include "settings/settings_platform.h"
#include "settings/system_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quillom::settings::testing {

class FakeSettingsPlatform : public SettingsPlatform {
public:
    std::filesystem::path appData;
    std::filesystem::path exe;
    std::vector<uint16_t> layouts{0x0409};
    // Reads of a path listed here fail (as a sharing violation would) while its count lasts.
    mutable std::map<std::filesystem::path, int> failingReads;
    bool failNextWrite = false;  // writes half the bytes, then reports failure
    bool failNextReplace = false;
    std::atomic<int> writes{0};  // successful file writes
    // How long each write's flush takes; the thread of each flush is recorded.
    std::chrono::milliseconds flushDelay{0};

    int flushesOn(std::thread::id thread) const {
        std::lock_guard lock(flushMutex_);
        return int(std::count(flushThreads_.begin(), flushThreads_.end(), thread));
    }

    std::filesystem::path localAppData() const override { return appData; }
    std::filesystem::path executablePath() const override { return exe; }
    std::vector<uint16_t> keyboardLayoutLanguages() const override { return layouts; }

    ReadStatus readFile(const std::filesystem::path& path, std::string& out) const override {
        if (auto it = failingReads.find(path); it != failingReads.end() && it->second > 0) {
            --it->second;
            out.clear();
            return ReadStatus::Failed;
        }
        return readWholeFile(path, out);
    }

    bool writeNewFile(const std::filesystem::path& path, std::string_view bytes) override {
        {
            std::lock_guard lock(flushMutex_);
            flushThreads_.push_back(std::this_thread::get_id());
        }
        std::this_thread::sleep_for(flushDelay);
        if (failNextWrite) {
            failNextWrite = false;
            writeFileFlushed(path, bytes.substr(0, bytes.size() / 2));
            return false;
        }
        const bool ok = writeFileFlushed(path, bytes);
        writes += ok;
        return ok;
    }

    bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target) override {
        if (failNextReplace) {
            failNextReplace = false;
            return false;
        }
        return replaceFileAtomically(source, target);
    }

    // Enough of the system's case mapping for Latin and Cyrillic test words.
    std::u16string lowerCase(std::u16string_view text) const override {
        std::u16string out(text);
        for (char16_t& c : out) {
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 0x20);
            else if (c >= 0x410 && c <= 0x42F) c = static_cast<char16_t>(c + 0x20);
            else if (c >= 0x400 && c <= 0x40F) c = static_cast<char16_t>(c + 0x50);
            else if (c == 0x490) c = 0x491;
        }
        return out;
    }

    bool isLetterOrDigit(char16_t c) const override {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
               (c >= 0x400 && c <= 0x4FF);
    }

private:
    mutable std::mutex flushMutex_;
    std::vector<std::thread::id> flushThreads_;
};

// A fresh folder (with a non-ASCII name, as user profiles often have) removed afterwards.
class TempFolder {
public:
    TempFolder() {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() / std::filesystem::path(u8"quillom-тест");
        path_ += "-";
        path_ += std::to_string(::getpid());
        path_ += "-";
        path_ += std::to_string(counter++);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeText(const std::filesystem::path& path, std::string_view text) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

inline std::string fixture(std::string_view name) {
    return readText(std::filesystem::path(QUILLOM_TEST_DATA_DIR) / name);
}

}  // namespace quillom::settings::testing
