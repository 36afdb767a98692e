// Installs the low-level keyboard and mouse hooks on the calling thread, which
// must run a message loop: the system calls the hooks from inside it.
#pragma once

#include "hook_timing.h"
#include "hook_watchdog.h"
#include "keyboard_hook.h"

namespace quillom::pipeline {

// Both hooks or neither. logic, timing and watchdog must outlive removeHooks().
bool installHooks(void* module, KeyboardHook& logic, HookTiming& timing, HookWatchdog& watchdog);
// Removes both and installs them again; false when that failed.
bool reinstallHooks();
void removeHooks();

// Called on the main thread from both hooks for every event they see, ours excepted or not;
// must be as short as the hooks (it may post a message). Null for none.
using InputObserver = void (*)(uint32_t now);
void observeInput(InputObserver observer);

// GetLastInputInfo: the tick of the last input the system received.
uint32_t lastInputTick();

}  // namespace quillom::pipeline
