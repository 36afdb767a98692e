// Launch at login: the "Quillom" value under the user's Run key.
#pragma once

namespace quillom::tray {

bool launchAtLoginEnabled();
// Writes the quoted path of the running program, or deletes the value.
bool setLaunchAtLogin(bool on);

}  // namespace quillom::tray
