// Standard edit controls of other processes: which kind a window is, and
// what precedes its caret. Each read is a message sent with a time limit,
// since the control's thread may hang; none is for the hook thread.
#pragma once

#include <windows.h>

#include <optional>

#include "caret_context.h"

namespace quillom::pipeline {

enum class EditKind { None, Edit, RichEdit };

// By the window's class; superclassed edits count as edits. Sends no message.
EditKind editKindOf(HWND window);

// Whether an edit's style hides what is typed (ES_PASSWORD), for a window
// already known to be an edit. Sends no message.
bool hidesTyping(HWND edit);

// An edit or rich edit that hides what is typed (ES_PASSWORD). Sends no message.
bool isPasswordEdit(HWND window);

// The text of the caret's line before the caret (the selection's start).
// Nothing for a password field, when a call runs out of the time left
// (limitMs in all), or when the caret lies beyond what the messages can
// address.
std::optional<PrecedingText> readEditCaret(HWND window, unsigned limitMs);

}  // namespace quillom::pipeline
