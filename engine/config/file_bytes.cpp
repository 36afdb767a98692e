#include "config/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillom {

std::optional<std::string> readWholeFile(const std::string& utf8Path) {
    std::u8string u8(utf8Path.begin(), utf8Path.end());
    const std::filesystem::path path(u8);
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // One read of the size the file has now; the size is only a hint (the
    // file may change meanwhile, or not be a regular file), so whatever
    // follows is still read to the end.
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::string bytes(error ? 0 : size, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in) bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::optional<std::string> readConfigText(const std::string& utf8Path) {
    std::error_code error;
    const std::filesystem::path path(std::u8string(utf8Path.begin(), utf8Path.end()));
    if (std::filesystem::file_size(path, error) > kMaxConfigFileBytes && !error) return std::nullopt;
    std::optional<std::string> text = readWholeFile(utf8Path);
    if (text && text->starts_with("\xEF\xBB\xBF")) text->erase(0, 3);
    if (text && text->size() > kMaxConfigFileBytes) return std::nullopt;
    return text;
}

}  // namespace quillom
