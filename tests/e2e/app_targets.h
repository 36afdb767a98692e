// Target windows that behave like the applications users type into, for the
// end-to-end script (see app_targets.cpp).
// Both end on Escape.
#pragma once

namespace e2e {

// A field that acts only on scan codes, as remote-desktop clients and
// virtual-machine consoles do; writes its text to <prefix>-text.txt and the
// virtual key of every key-down it gets (hex, one a line) to <prefix>-keys.txt.
int scanCodeWindow(const char* prefix);

// One window with two custom-drawn fields, switched by Tab; the second shows
// stars. Like any control under Wine, which has no UI Automation client, it
// answers no question about its fields. Writes <prefix>-name.txt and
// <prefix>-secret.txt on every change.
int customFieldsWindow(const char* prefix);

}  // namespace e2e
