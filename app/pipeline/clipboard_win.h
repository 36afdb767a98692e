// The clipboard pieces the Win32 clipboard adapter shares between reading
// text, writing text and saving the whole clipboard.
#pragma once

#include <windows.h>

#include <span>

#include "clipboard_snapshot.h"

namespace quillom::pipeline {

// An open clipboard for one scope, opened by the program's window: an
// EmptyClipboard makes it the owner. The owner's thread answers render
// requests while it waits (Clock::waitServingHooks serves sent messages).
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != 0) {}
    ~ClipboardSession() {
        if (open_) CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

// Puts a copy of the bytes on the open clipboard under format.
bool putBytes(UINT format, const void* data, size_t size);

// Adds the marks to the open clipboard, except formats already placed.
void putMarks(std::span<const ClipboardMark> marks);

}  // namespace quillom::pipeline
