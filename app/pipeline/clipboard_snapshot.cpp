#include "clipboard_snapshot.h"

#include <algorithm>

namespace quillom::pipeline {
namespace {

using namespace clipformat;

// Formats of one kind the system converts into each other: the first listed
// is the one placed, the others are made from it.
constexpr uint32_t kTextGroup[] = {UnicodeText, Text, OemText};
constexpr uint32_t kDibGroup[] = {Dib, DibV5};
constexpr uint32_t kMetafileGroup[] = {EnhMetafile, MetafilePict};

template <size_t N>
bool inGroup(const uint32_t (&group)[N], uint32_t format) {
    return std::find(std::begin(group), std::end(group), format) != std::end(group);
}

// The object-linking clipboard's own formats point at a data object of the
// program that copied; put back without it they would point at nothing.
bool isObjectLink(const std::u16string& name) { return name == u"DataObject" || name == u"Ole Private Data"; }

SaveAs memoryFormat(const ListedFormat& f) {
    if (f.format >= RegisteredFirst) return isObjectLink(f.name) ? SaveAs::Skip : SaveAs::Bytes;
    // Standard formats held in memory (text, DIBs, sound, file lists, locale)
    // and the display text of owner formats.
    if ((f.format >= 1 && f.format <= 17) || f.format == DspText) return SaveAs::Bytes;
    // Owner display, private handles (0x200-0x2FF), GDI objects (0x300-0x3FF)
    // and the display forms of pictures: only the owner can give these.
    return SaveAs::Skip;
}

}  // namespace

std::vector<SaveStep> savePlan(std::span<const ListedFormat> formats) {
    std::vector<SaveStep> plan;
    bool text = false, dib = false, metafile = false;
    const bool anyDib =
        std::any_of(formats.begin(), formats.end(), [](const ListedFormat& f) { return inGroup(kDibGroup, f.format); });
    for (const ListedFormat& f : formats) {
        SaveAs how = memoryFormat(f);
        if (inGroup(kTextGroup, f.format)) {
            how = text ? SaveAs::Skip : SaveAs::Bytes;
            text = true;
        } else if (inGroup(kDibGroup, f.format)) {
            how = dib ? SaveAs::Skip : SaveAs::Bytes;
            dib = true;
        } else if (inGroup(kMetafileGroup, f.format)) {
            how = metafile                  ? SaveAs::Skip
                  : f.format == EnhMetafile ? SaveAs::EnhancedMetafile
                                            : SaveAs::MetafilePicture;
            metafile = true;
        } else if (f.format == Bitmap) {
            how = anyDib ? SaveAs::Skip : SaveAs::BitmapAsDib;
        } else if (f.format == Palette) {
            how = SaveAs::Skip;  // made again from the DIB
        }
        plan.push_back({f.format, how});
    }
    return plan;
}

std::span<const ClipboardMark> transientMarks() {
    static const ClipboardMark marks[] = {{u"ExcludeClipboardContentFromMonitorProcessing", std::nullopt},
                                          {u"CanIncludeInClipboardHistory", 0u},
                                          {u"CanUploadToCloudClipboard", 0u}};
    return marks;
}

std::span<const ClipboardMark> restoredMarks() { return transientMarks().subspan(1); }

}  // namespace quillom::pipeline
