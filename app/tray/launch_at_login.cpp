#include "launch_at_login.h"

namespace quillom::tray {

bool disabledInStartupSettings(std::span<const uint8_t> data) { return !data.empty() && (data[0] & 1u) != 0; }

}  // namespace quillom::tray
