// The engine's own log channel. Lines go to standard error when the
// environment variable QUILLOM_ENGINE_LOG is set, and nowhere otherwise.
#pragma once

#include <string_view>

namespace quillom {

void engineLog(std::string_view line);

}  // namespace quillom
