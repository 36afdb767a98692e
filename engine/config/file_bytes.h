#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillom {

// The whole file, or nothing when it is not a regular file (a pipe or a
// device would block the reader or never end), cannot be read, or holds more
// than maxBytes. The path is UTF-8 on every platform.
std::optional<std::string> readWholeFile(const std::string& utf8Path, std::uintmax_t maxBytes);

// A rules or preferences file as JSON text: nothing when it cannot be read or is over
// kMaxConfigFileBytes (it is then not one of ours), and a leading UTF-8 byte-order mark,
// which some editors write, dropped.
inline constexpr std::uintmax_t kMaxConfigFileBytes = 64u << 20;
std::optional<std::string> readConfigText(const std::string& utf8Path);

}  // namespace quillom
