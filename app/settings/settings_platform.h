// What the settings store needs from the operating system, behind one small interface:
// the Windows implementation is WindowsSettingsPlatform (settings_platform_win.h); tests use
// a fake over real files in a temporary folder.
#pragma once

#include "system_files.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillom::settings {

class SettingsPlatform {
public:
    virtual ~SettingsPlatform() = default;

    // The per-user application data folder (LOCALAPPDATA); empty when it is unset, empty or
    // too long to use, and the settings then live next to the program.
    virtual std::filesystem::path localAppData() const = 0;

    // Full path of the running executable.
    virtual std::filesystem::path executablePath() const = 0;

    // Language identifier (low word of the layout handle) of each installed keyboard layout,
    // in the order the system lists them.
    virtual std::vector<uint16_t> keyboardLayoutLanguages() const = 0;

    // Reads the whole file (see readWholeFile in system_files.h for the outcomes).
    virtual ReadStatus readFile(const std::filesystem::path& path, std::string& out) const = 0;

    // Creates or truncates path, writes every byte and flushes it to the disk.
    virtual bool writeNewFile(const std::filesystem::path& path, std::string_view bytes) = 0;

    // Puts source in place of target in one step; target may exist. On failure target is
    // left as it was.
    virtual bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target) = 0;

    // The system's lower-casing of UTF-16 text and its letter-or-digit test (learning uses
    // them on the words it records).
    virtual std::u16string lowerCase(std::u16string_view text) const = 0;
    virtual bool isLetterOrDigit(char16_t unit) const = 0;
};

}  // namespace quillom::settings
