// Owners of Win32 handles: each gives its handle back to the system once, when it goes, with
// the function that kind of handle needs. Move-only; get() lends the handle, release() hands
// it over and owns nothing any more. Windows only.
#pragma once

#include <windows.h>
#include <winhttp.h>

#include <utility>

namespace quillom::win {

// Traits: the Handle type, whether a value is a handle at all, and how it is closed.
template <typename Traits>
class Scoped {
public:
    using Handle = typename Traits::Handle;

    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(handle) {}
    ~Scoped() { reset(); }
    Scoped(Scoped&& other) noexcept : handle_(other.release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::valid(handle_); }

    // Closes the handle held (if any) and takes handle.
    void reset(Handle handle = Handle()) {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::valid(old)) Traits::close(old);
    }
    Handle release() { return std::exchange(handle_, Handle()); }

private:
    Handle handle_ = Handle();
};

// Most handles report failure as null.
template <typename H>
struct NullIsNoHandle {
    using Handle = H;
    static bool valid(Handle h) { return h != nullptr; }
};

// Kernel objects: processes, tokens, files, mutexes, events. CreateFile reports failure as
// INVALID_HANDLE_VALUE, the others as null; neither is closed.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static bool valid(Handle h) { return h && h != INVALID_HANDLE_VALUE; }
    static void close(Handle h) { CloseHandle(h); }
};
using ScopedHandle = Scoped<KernelHandleTraits>;

struct HookTraits : NullIsNoHandle<HHOOK> {
    static void close(HHOOK h) { UnhookWindowsHookEx(h); }
};
using ScopedHook = Scoped<HookTraits>;

struct WinEventHookTraits : NullIsNoHandle<HWINEVENTHOOK> {
    static void close(HWINEVENTHOOK h) { UnhookWinEvent(h); }
};
using ScopedWinEventHook = Scoped<WinEventHookTraits>;

// Sessions, connections and requests alike. Declare them in that order, so that the request
// is closed first and the session last.
struct InternetHandleTraits : NullIsNoHandle<HINTERNET> {
    static void close(HINTERNET h) { WinHttpCloseHandle(h); }
};
using ScopedInternet = Scoped<InternetHandleTraits>;

// Pens, brushes, fonts, bitmaps and regions. One must not be selected into a DC when it goes:
// declare its ScopedSelect after it.
template <typename Object>
struct GdiObjectTraits : NullIsNoHandle<Object> {
    static void close(Object h) { DeleteObject(h); }
};
template <typename Object>
using ScopedGdiObject = Scoped<GdiObjectTraits<Object>>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

// A DC of CreateCompatibleDC.
struct MemoryDcTraits : NullIsNoHandle<HDC> {
    static void close(HDC h) { DeleteDC(h); }
};
using ScopedMemoryDc = Scoped<MemoryDcTraits>;

// The DC of a window (or, for null, of the screen), from GetDC and back with ReleaseDC.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC and selects back what was there before when it goes.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quillom::win
