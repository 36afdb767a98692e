// How Quillom behaves in one application. Stored per application in the
// user preferences' excluded_apps: no entry is Automatic; an entry means no
// automatic correction, as it always has; its disable_manual_switching flag
// set means Off. The engine reads the same entries and refuses to correct.
#pragma once

namespace quillom {

enum class AppMode {
    Automatic,    // corrections as typed, and every hotkey
    HotkeysOnly,  // no automatic correction; Convert, Undo and the conversion hotkeys work
    Off,          // Quillom does nothing in it
};

inline constexpr AppMode kAppModes[] = {AppMode::Automatic, AppMode::HotkeysOnly, AppMode::Off};

}  // namespace quillom
