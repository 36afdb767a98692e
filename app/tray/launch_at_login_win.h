// Launch at login: the "Quillom" value under the user's Run key, as far as Windows' startup
// settings let it start the program (see launch_at_login.h).
#pragma once

namespace quillom::tray {

// The Run value exists and the user did not turn Quillom off in Windows' startup settings.
bool launchAtLoginEnabled();
// Writes the quoted path of the running program, or deletes the value. Turning it on fails,
// writing nothing, while the user has it turned off in Windows' startup settings: only they
// can turn it on there.
bool setLaunchAtLogin(bool on);

}  // namespace quillom::tray
