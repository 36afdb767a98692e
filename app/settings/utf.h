// UTF-8 <-> UTF-16 for the texts that cross between the JSON files (UTF-8) and the program
// (UTF-16). Ill-formed input becomes U+FFFD instead of failing.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillom::settings {

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// A path as UTF-8 (what the engine is given), also for wide Windows paths.
std::string pathToUtf8(const std::filesystem::path& path);

}  // namespace quillom::settings
