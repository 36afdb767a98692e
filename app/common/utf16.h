// Conversions between the application's UTF-16 text (Windows, the settings
// window) and UTF-8 (the engine, the JSON files), on the engine's UTF-8 code.
// Unpaired surrogates and ill-formed UTF-8 become U+FFFD instead of failing.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillom {

std::string toUtf8(std::u16string_view text);
std::u16string toUtf16(std::string_view text);

// A path as UTF-8 (what the engine is given), also for wide Windows paths.
std::string pathToUtf8(const std::filesystem::path& path);

}  // namespace quillom
