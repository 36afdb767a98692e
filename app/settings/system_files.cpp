#include "system_files.h"

#include <new>

namespace quillom::settings {

ReadStatus readExactly(uint64_t size, std::string& out, const ReadSome& readSome) {
    try {
        out.resize(size + 1);
    } catch (const std::bad_alloc&) {
        return ReadStatus::Failed;
    }
    std::size_t got = 0;
    while (got < out.size()) {
        const int64_t n = readSome(out.data() + got, out.size() - got);
        if (n < 0) return ReadStatus::Failed;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got != size) return ReadStatus::Failed;
    out.resize(got);
    return ReadStatus::Read;
}

}  // namespace quillom::settings
