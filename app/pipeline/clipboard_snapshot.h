// What Convert Selected Text keeps of the user's clipboard while it borrows
// it: every format that can be saved as data, in the clipboard's order, to
// be put back afterwards. The Win32 reading and writing is in
// clipboard_snapshot_win.cpp; the choices are here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillom::pipeline {

// How a format's data is kept.
enum class SaveAs {
    Skip,              // made by the system from another format, or only its owner can give it
    Bytes,             // memory: the bytes themselves
    BitmapAsDib,       // a bitmap handle, kept as a device-independent bitmap (restored as CF_DIB)
    EnhancedMetafile,  // the metafile's bits
    MetafilePicture,   // the picture's header and the old-style metafile's bits
};

// A format on the clipboard; name only for registered formats.
struct ListedFormat {
    uint32_t format = 0;
    std::u16string name;
};

struct SaveStep {
    uint32_t format = 0;
    SaveAs how = SaveAs::Skip;

    friend bool operator==(const SaveStep&, const SaveStep&) = default;
};

// formats: in the clipboard's enumeration order, where the system lists the
// formats it can make from others after the ones placed.
std::vector<SaveStep> savePlan(std::span<const ListedFormat> formats);

// One saved format; restoring puts it back under format as kind says.
struct SavedFormat {
    uint32_t format = 0;
    SaveAs kind = SaveAs::Bytes;
    std::vector<uint8_t> bytes;

    friend bool operator==(const SavedFormat&, const SavedFormat&) = default;
};
using ClipboardSnapshot = std::vector<SavedFormat>;

// A registered format added beside the data: value 0 as a DWORD, or no value
// (an empty item) where only the format's presence counts.
struct ClipboardMark {
    const char16_t* name;
    std::optional<uint32_t> value;
};

// For the converted text, which is on the clipboard only for the paste: kept
// out of clipboard monitors, the clipboard history and the cloud clipboard.
std::span<const ClipboardMark> transientMarks();
// For the user's content put back: it is already in the history once.
std::span<const ClipboardMark> restoredMarks();

namespace clipformat {
inline constexpr uint32_t Text = 1, Bitmap = 2, MetafilePict = 3, OemText = 7, Dib = 8, Palette = 9, UnicodeText = 13,
                          EnhMetafile = 14, DibV5 = 17, OwnerDisplay = 0x80, DspText = 0x81, RegisteredFirst = 0xC000;
}

}  // namespace quillom::pipeline
