#include "config/file_bytes.h"

#include <filesystem>
#include <fstream>

namespace quillom {

std::optional<std::string> readWholeFile(const std::string& utf8Path, std::uintmax_t maxBytes) {
    const std::filesystem::path path(std::u8string(utf8Path.begin(), utf8Path.end()));
    std::error_code error;
    // Asked before opening: opening a FIFO waits for a writer.
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > maxBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // The size is a hint (the file may change meanwhile): read to the end,
    // and refuse a file grown past the cap rather than cut it.
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    char chunk[16384];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > maxBytes) return std::nullopt;
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

std::optional<std::string> readConfigText(const std::string& utf8Path) {
    std::optional<std::string> text = readWholeFile(utf8Path, kMaxConfigFileBytes + 3);
    if (text && text->starts_with("\xEF\xBB\xBF")) text->erase(0, 3);
    if (text && text->size() > kMaxConfigFileBytes) return std::nullopt;
    return text;
}

}  // namespace quillom
