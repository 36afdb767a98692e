#pragma once

#include <optional>
#include <string>

namespace quillom {

// The whole file, or nothing when it cannot be opened or read. The path is
// UTF-8 on every platform.
std::optional<std::string> readWholeFile(const std::string& utf8Path);

}  // namespace quillom
