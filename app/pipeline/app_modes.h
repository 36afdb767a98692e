// What each application mode lets the pipeline do, and the modes of the
// applications the user set, looked up by executable name.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "common/app_mode.h"

namespace quillom::pipeline {

enum class AppAction {
    WordEnd,    // a finished word goes to the engine for correction
    Convert,    // the Convert hotkey or menu entry, the engine's choice of language
    ConvertTo,  // the hotkeys and menu entries of one language
    Undo,       // the Undo hotkey or menu entry, and Backspace after a correction
};

bool allows(AppMode mode, AppAction action);

// Main thread: replaced whole when the settings are applied.
class AppModes {
public:
    // Keys are executable names; letter case does not matter.
    void set(std::string_view appKey, AppMode mode);
    void clear() { modes_.clear(); }
    AppMode of(std::string_view appKey) const;

private:
    std::map<std::string, AppMode> modes_;  // by lower-case name, Automatic left out
};

}  // namespace quillom::pipeline
