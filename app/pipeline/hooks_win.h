// Installs the low-level keyboard and mouse hooks on the calling thread, which
// must run a message loop: the system calls the hooks from inside it.
#pragma once

#include "hook_timing.h"
#include "keyboard_hook.h"

namespace quillom::pipeline {

// Both hooks or neither. logic and timing must outlive removeHooks().
bool installHooks(void* module, KeyboardHook& logic, HookTiming& timing);
void removeHooks();

}  // namespace quillom::pipeline
