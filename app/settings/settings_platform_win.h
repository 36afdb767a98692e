// The Windows implementation of SettingsPlatform, created once by the program's start-up.
#pragma once

#include "settings_platform.h"

namespace quillom::settings {

class WindowsSettingsPlatform final : public SettingsPlatform {
public:
    std::filesystem::path localAppData() const override;
    std::filesystem::path executablePath() const override;
    std::vector<uint16_t> keyboardLayoutLanguages() const override;
    ReadStatus readFile(const std::filesystem::path& path, std::string& out) const override;
    bool writeNewFile(const std::filesystem::path& path, std::string_view bytes) override;
    bool replaceFile(const std::filesystem::path& source, const std::filesystem::path& target) override;
    std::u16string lowerCase(std::u16string_view text) const override;
    bool isLetterOrDigit(char16_t unit) const override;
};

}  // namespace quillom::settings
