#include "clipboard_win.h"

#include <algorithm>
#include <cstring>

#include "platform_win.h"

namespace quillom::pipeline {
namespace {

// Formats larger than this are not kept: the copy would cost more than the
// conversion is worth.
constexpr SIZE_T kMaxFormatBytes = SIZE_T(64) << 20;
// Large formats are copied in pieces of this size with the hooks served between them: a
// 64 MiB copy takes tens of milliseconds, and every key on the desktop would wait meanwhile.
constexpr SIZE_T kPieceBytes = SIZE_T(1) << 20;

// The calls the system sends this thread (the low-level hooks among them); nothing posted.
void serveHooks() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

void copyServingHooks(uint8_t* to, const uint8_t* from, SIZE_T size) {
    for (SIZE_T done = 0; done < size; done += kPieceBytes) {
        if (done > 0) serveHooks();
        std::memcpy(to + done, from + done, std::min(kPieceBytes, size - done));
    }
}

std::vector<ListedFormat> listFormats() {
    std::vector<ListedFormat> formats;
    for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) {
        ListedFormat listed{f, {}};
        wchar_t name[256];
        if (f >= clipformat::RegisteredFirst) {
            int n = GetClipboardFormatNameW(f, name, 256);
            listed.name.assign(reinterpret_cast<const char16_t*>(name), size_t(n > 0 ? n : 0));
        }
        formats.push_back(std::move(listed));
    }
    return formats;
}

std::optional<std::vector<uint8_t>> memoryBytes(HANDLE data) {
    const SIZE_T size = GlobalSize(data);
    if (size == 0 || size > kMaxFormatBytes) return std::nullopt;
    const void* p = GlobalLock(data);
    if (!p) return std::nullopt;
    std::vector<uint8_t> bytes(size);
    copyServingHooks(bytes.data(), static_cast<const uint8_t*>(p), size);
    GlobalUnlock(data);
    return bytes;
}

// A packed DIB (header, colour table, pixels) of the bitmap, 32 bits a pixel.
std::optional<std::vector<uint8_t>> bitmapAsDib(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return std::nullopt;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const size_t pixels = size_t(info.bmWidth) * size_t(info.bmHeight) * 4;
    if (pixels > kMaxFormatBytes) return std::nullopt;
    std::vector<uint8_t> dib(sizeof header + pixels);
    std::memcpy(dib.data(), &header, sizeof header);
    // In bands of scan lines, bottom up as the DIB stores them, with the hooks served between.
    const size_t stride = size_t(info.bmWidth) * 4;
    const UINT band = UINT(std::max<size_t>(1, kPieceBytes / stride));
    HDC screen = GetDC(nullptr);
    bool whole = true;
    for (UINT first = 0; whole && first < UINT(info.bmHeight); first += band) {
        if (first > 0) serveHooks();
        const UINT count = std::min(band, UINT(info.bmHeight) - first);
        whole = GetDIBits(screen, bitmap, first, count, dib.data() + sizeof header + first * stride,
                          reinterpret_cast<BITMAPINFO*>(dib.data()), DIB_RGB_COLORS) == int(count);
    }
    ReleaseDC(nullptr, screen);
    if (!whole) return std::nullopt;
    return dib;
}

std::optional<std::vector<uint8_t>> enhancedMetafileBits(HENHMETAFILE metafile) {
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size == 0 || size > kMaxFormatBytes) return std::nullopt;
    std::vector<uint8_t> bits(size);
    if (GetEnhMetaFileBits(metafile, size, bits.data()) != size) return std::nullopt;
    return bits;
}

// METAFILEPICT without its handle, then the metafile's bits.
std::optional<std::vector<uint8_t>> metafilePictureBits(HANDLE data) {
    auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(data));
    if (!picture) return std::nullopt;
    const LONG header[3] = {picture->mm, picture->xExt, picture->yExt};
    HMETAFILE metafile = picture->hMF;
    GlobalUnlock(data);
    const UINT size = GetMetaFileBitsEx(metafile, 0, nullptr);
    if (size == 0 || size > kMaxFormatBytes) return std::nullopt;
    std::vector<uint8_t> bits(sizeof header + size);
    std::memcpy(bits.data(), header, sizeof header);
    if (GetMetaFileBitsEx(metafile, size, bits.data() + sizeof header) != size) return std::nullopt;
    return bits;
}

std::optional<SavedFormat> saveFormat(const SaveStep& step) {
    HANDLE data = GetClipboardData(step.format);
    if (!data) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes;
    uint32_t format = step.format;
    SaveAs kind = step.how;
    switch (step.how) {
    case SaveAs::Bytes: bytes = memoryBytes(data); break;
    case SaveAs::BitmapAsDib:
        bytes = bitmapAsDib(static_cast<HBITMAP>(data));
        format = CF_DIB;
        kind = SaveAs::Bytes;
        break;
    case SaveAs::EnhancedMetafile: bytes = enhancedMetafileBits(static_cast<HENHMETAFILE>(data)); break;
    case SaveAs::MetafilePicture: bytes = metafilePictureBits(data); break;
    case SaveAs::Skip: break;
    }
    if (!bytes) return std::nullopt;
    return SavedFormat{format, kind, std::move(*bytes)};
}

bool putMetafilePicture(const std::vector<uint8_t>& bits) {
    LONG header[3];
    if (bits.size() <= sizeof header) return false;
    std::memcpy(header, bits.data(), sizeof header);
    HMETAFILE metafile = SetMetaFileBitsEx(UINT(bits.size() - sizeof header), bits.data() + sizeof header);
    if (!metafile) return false;
    const METAFILEPICT picture{header[0], header[1], header[2], metafile};
    if (putBytes(CF_METAFILEPICT, &picture, sizeof picture)) return true;
    DeleteMetaFile(metafile);
    return false;
}

bool putFormat(const SavedFormat& saved) {
    switch (saved.kind) {
    case SaveAs::Bytes: return putBytes(saved.format, saved.bytes.data(), saved.bytes.size());
    case SaveAs::EnhancedMetafile: {
        HENHMETAFILE metafile = SetEnhMetaFileBits(UINT(saved.bytes.size()), saved.bytes.data());
        if (!metafile) return false;
        // The clipboard owns the metafile once SetClipboardData succeeds.
        if (SetClipboardData(CF_ENHMETAFILE, metafile)) return true;
        DeleteEnhMetaFile(metafile);
        return false;
    }
    case SaveAs::MetafilePicture: return putMetafilePicture(saved.bytes);
    case SaveAs::BitmapAsDib:
    case SaveAs::Skip: return false;
    }
    return false;
}

}  // namespace

bool putBytes(UINT format, const void* data, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return false;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    copyServingHooks(static_cast<uint8_t*>(target), static_cast<const uint8_t*>(data), size);
    GlobalUnlock(memory);
    // SetClipboardData owns the memory from here on, unless it fails.
    if (SetClipboardData(format, memory)) return true;
    GlobalFree(memory);
    return false;
}

void putMarks(std::span<const ClipboardMark> marks) {
    for (const ClipboardMark& mark : marks) {
        const UINT format = RegisterClipboardFormatW(reinterpret_cast<const wchar_t*>(mark.name));
        if (format == 0 || IsClipboardFormatAvailable(format)) continue;
        const DWORD value = mark.value.value_or(0);
        putBytes(format, &value, mark.value ? sizeof value : 1);
    }
}

std::optional<ClipboardSnapshot> WinClipboard::save() {
    ClipboardSession session(owner_);
    if (!session.open()) return std::nullopt;
    ClipboardSnapshot snapshot;
    for (const SaveStep& step : savePlan(listFormats())) {
        if (step.how == SaveAs::Skip) continue;
        if (std::optional<SavedFormat> saved = saveFormat(step)) snapshot.push_back(std::move(*saved));
    }
    return snapshot;
}

bool WinClipboard::restore(const ClipboardSnapshot& snapshot) {
    ClipboardSession session(owner_);
    if (!session.open()) return false;
    EmptyClipboard();
    if (snapshot.empty()) return true;
    for (const SavedFormat& saved : snapshot) putFormat(saved);
    putMarks(restoredMarks());
    return true;
}

}  // namespace quillom::pipeline
