#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quillom {

// The whole file, or nothing when it cannot be opened or read. The path is
// UTF-8 on every platform.
std::optional<std::string> readWholeFile(const std::string& utf8Path);

// A rules or preferences file as JSON text: nothing when it cannot be read or is over
// kMaxConfigFileBytes (it is then not one of ours), and a leading UTF-8 byte-order mark,
// which some editors write, dropped.
inline constexpr std::uintmax_t kMaxConfigFileBytes = 64u << 20;
std::optional<std::string> readConfigText(const std::string& utf8Path);

}  // namespace quillom
