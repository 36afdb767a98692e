#include "config/engine_log.h"

#include <cstdio>
#include <cstdlib>

namespace quillom {

void engineLog(std::string_view line) {
    static const bool enabled = std::getenv("QUILLOM_ENGINE_LOG") != nullptr;
    if (!enabled) return;
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace quillom
