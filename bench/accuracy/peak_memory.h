#pragma once

namespace quillom::bench {

// Peak resident memory of this process so far, in megabytes.
double peakResidentMb();

}  // namespace quillom::bench
