#include "tray_icon_win.h"

#include "win/scoped_win.h"

#include <utility>
#include <vector>

namespace quillom::tray {
namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A 32-bit top-down DIB section selected into its own memory DC.
class Canvas {
public:
    Canvas(HDC screen, int size) : size_(size), dc_(CreateCompatibleDC(screen)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = size;
        info.bmiHeader.biHeight = -size;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        if (dc_ && bitmap_) old_ = SelectObject(dc_.get(), bitmap_.get());
    }
    ~Canvas() { deselect(); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return dc_ && bitmap_ && bits_; }
    HDC dc() const { return dc_.get(); }
    std::span<uint32_t> pixels() const { return {bits_, size_t(size_) * size_}; }
    void fill(uint32_t colour) const {
        RECT r{0, 0, size_, size_};
        const win::ScopedBrush brush(CreateSolidBrush(colour));
        FillRect(dc_.get(), &r, brush.get());
    }
    // Deselects the bitmap and hands it over.
    win::ScopedBitmap release() {
        deselect();
        return std::move(bitmap_);
    }

private:
    void deselect() {
        if (old_) SelectObject(dc_.get(), std::exchange(old_, nullptr));
    }

    int size_;
    win::ScopedMemoryDc dc_;
    win::ScopedBitmap bitmap_;  // goes before the DC
    uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

HFONT labelFont(int height, int width) {
    return CreateFontW(-height, width, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Segoe UI");
}

// Draws the label as large as fits, then again with its ink centred.
void drawCentredLabel(Canvas& canvas, int big, const std::u16string& label, uint32_t colour) {
    HDC dc = canvas.dc();
    const int room = big - 8;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    win::ScopedFont font(labelFont(room, 0));
    const win::ScopedSelect selected(dc, font.get());
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide(label), int(label.size()), &extent);
    if (extent.cx > room) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        HFONT narrow = labelFont(room, MulDiv(metrics.tmAveCharWidth, room, extent.cx));
        SelectObject(dc, narrow);
        font.reset(narrow);
    }
    TextOutW(dc, 0, 0, wide(label), int(label.size()));
    GdiFlush();
    if (std::optional<InkBox> box = findInk(canvas.pixels(), big, big, colour)) {
        Offset at = centreInk(*box, big);
        canvas.fill(colour);
        TextOutW(dc, at.x, at.y, wide(label), int(label.size()));
        GdiFlush();
    }
}

}  // namespace

HICON drawLabelIcon(const std::u16string& label, uint32_t colour) {
    const int small = GetSystemMetrics(SM_CXSMICON);
    const int big = small * 4;
    const win::ScopedWindowDc screen(nullptr);
    HICON icon = nullptr;
    {
        Canvas large(screen.get(), big);
        Canvas result(screen.get(), small);
        if (large.ok() && result.ok()) {
            large.fill(colour);
            drawCentredLabel(large, big, label, colour);
            SetStretchBltMode(result.dc(), HALFTONE);
            SetBrushOrgEx(result.dc(), 0, 0, nullptr);
            StretchBlt(result.dc(), 0, 0, small, small, large.dc(), 0, 0, big, big, SRCCOPY);
            GdiFlush();
            for (uint32_t& pixel : result.pixels()) pixel |= 0xFF000000u;
            // CreateIconIndirect copies both bitmaps.
            const win::ScopedBitmap colourBitmap = result.release();
            const win::ScopedBitmap mask(CreateBitmap(small, small, 1, 1, nullptr));
            ICONINFO info{TRUE, 0, 0, mask.get(), colourBitmap.get()};
            icon = CreateIconIndirect(&info);
        }
    }
    return icon;
}

NotifyIcon::~NotifyIcon() {
    if (generated_) DestroyIcon(generated_);
}

bool NotifyIcon::add(HWND owner, HINSTANCE instance) {
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kMsgTrayCallback;
    data_.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    if (!data_.hIcon) data_.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(data_.szTip, L"Quillom", 128);
    lastTip_ = u"Quillom";
    // "TaskbarCreated" also comes without a restart (a change of display
    // settings): then the icon is still there and only needs its data.
    return Shell_NotifyIconW(NIM_ADD, &data_) != 0 || Shell_NotifyIconW(NIM_MODIFY, &data_) != 0;
}

void NotifyIcon::setTip(const std::u16string& tip) {
    if (tip == lastTip_) return;
    lastTip_ = tip;
    data_.uFlags = NIF_TIP;
    lstrcpynW(data_.szTip, wide(tip), 128);
    Shell_NotifyIconW(NIM_MODIFY, &data_);
}

void NotifyIcon::show(const IconLook& look, bool force) {
    std::u16string key = look.key();
    if (!force && key == lastKey_) return;
    lastKey_ = key;
    HICON icon = drawLabelIcon(look.label, look.colour());
    if (!icon) return;
    data_.uFlags = NIF_ICON;
    data_.hIcon = icon;
    Shell_NotifyIconW(NIM_MODIFY, &data_);
    if (generated_) DestroyIcon(generated_);
    generated_ = icon;
}

void NotifyIcon::notify(const std::u16string& title, const std::u16string& text) {
    NOTIFYICONDATAW balloon = data_;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_WARNING;
    lstrcpynW(balloon.szInfoTitle, wide(title), ARRAYSIZE(balloon.szInfoTitle));
    lstrcpynW(balloon.szInfo, wide(text), ARRAYSIZE(balloon.szInfo));
    Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void NotifyIcon::remove() {
    Shell_NotifyIconW(NIM_DELETE, &data_);
    if (generated_) DestroyIcon(generated_);
    generated_ = nullptr;
}

}  // namespace quillom::tray
