#include "peak_memory.h"

#include <sys/resource.h>

namespace quillom::bench {

double peakResidentMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;  // kilobytes on Linux
}

}  // namespace quillom::bench
