#include "settings_platform_win.h"

#include "system_files.h"

#include <windows.h>

namespace quillom::settings {

std::filesystem::path WindowsSettingsPlatform::localAppData() const {
    wchar_t buffer[MAX_PATH];
    // 0 is unset or empty; MAX_PATH or more did not fit and is not used.
    const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::filesystem::path(std::wstring(buffer, n));
}

std::filesystem::path WindowsSettingsPlatform::executablePath() const {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);  // truncated: long-path systems allow more
    }
}

std::vector<uint16_t> WindowsSettingsPlatform::keyboardLayoutLanguages() const {
    const int count = GetKeyboardLayoutList(0, nullptr);
    std::vector<HKL> layouts(count > 0 ? static_cast<size_t>(count) : 0);
    const int got = layouts.empty() ? 0 : GetKeyboardLayoutList(count, layouts.data());
    std::vector<uint16_t> languages;
    for (int i = 0; i < got; ++i)
        languages.push_back(LOWORD(reinterpret_cast<ULONG_PTR>(layouts[static_cast<size_t>(i)])));
    return languages;
}

ReadStatus WindowsSettingsPlatform::readFile(const std::filesystem::path& path, std::string& out) const {
    return readWholeFile(path, out);
}

bool WindowsSettingsPlatform::writeNewFile(const std::filesystem::path& path, std::string_view bytes) {
    return writeFileFlushed(path, bytes);
}

bool WindowsSettingsPlatform::replaceFile(const std::filesystem::path& source, const std::filesystem::path& target) {
    return replaceFileAtomically(source, target);
}

std::u16string WindowsSettingsPlatform::lowerCase(std::u16string_view text) const {
    std::u16string lowered(text);
    if (!lowered.empty())
        CharLowerBuffW(reinterpret_cast<wchar_t*>(lowered.data()), static_cast<DWORD>(lowered.size()));
    return lowered;
}

bool WindowsSettingsPlatform::isLetterOrDigit(char16_t unit) const {
    return IsCharAlphaNumericW(static_cast<wchar_t>(unit)) != FALSE;
}

}  // namespace quillom::settings
