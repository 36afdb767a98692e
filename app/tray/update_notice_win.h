// The appcast's text over HTTP(S), for the update checks of a portable copy.
#pragma once

#include <optional>
#include <string>

namespace quillom::tray {

// Worker thread: blocks until the answer, at most about 25 s. Nothing when the
// address is unusable, the server does not answer 200 or the text passes 1 MB.
std::optional<std::string> fetchAppcast(const std::string& url);

}  // namespace quillom::tray
