#include "config/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillom {

std::optional<std::string> readWholeFile(const std::string& utf8Path) {
    std::u8string u8(utf8Path.begin(), utf8Path.end());
    std::ifstream in(std::filesystem::path(u8), std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace quillom
