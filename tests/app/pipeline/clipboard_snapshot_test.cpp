#include <gtest/gtest.h>

#include "pipeline/clipboard_snapshot.h"

namespace quillom::pipeline {
namespace {

using namespace clipformat;

TEST(ClipboardSavePlan, KeepsWhatCanBeSavedOnceInTheClipboardsOrder) {
    struct Case {
        const char* what;
        std::vector<ListedFormat> listed;
        std::vector<SaveStep> expected;
    };
    const Case cases[] = {
        {"text placed as Unicode, the others made from it",
         {{UnicodeText, {}}, {16, {}}, {Text, {}}, {OemText, {}}},
         {{UnicodeText, SaveAs::Bytes}, {16, SaveAs::Bytes}, {Text, SaveAs::Skip}, {OemText, SaveAs::Skip}}},
        {"text placed as ANSI", {{Text, {}}, {UnicodeText, {}}}, {{Text, SaveAs::Bytes}, {UnicodeText, SaveAs::Skip}}},
        {"a DIB with the bitmap and palette the system makes",
         {{Dib, {}}, {Bitmap, {}}, {Palette, {}}, {DibV5, {}}},
         {{Dib, SaveAs::Bytes}, {Bitmap, SaveAs::Skip}, {Palette, SaveAs::Skip}, {DibV5, SaveAs::Skip}}},
        {"only a bitmap handle", {{Bitmap, {}}}, {{Bitmap, SaveAs::BitmapAsDib}}},
        {"a bitmap placed before its DIB", {{Bitmap, {}}, {Dib, {}}}, {{Bitmap, SaveAs::Skip}, {Dib, SaveAs::Bytes}}},
        {"an enhanced metafile and the picture made from it",
         {{EnhMetafile, {}}, {MetafilePict, {}}},
         {{EnhMetafile, SaveAs::EnhancedMetafile}, {MetafilePict, SaveAs::Skip}}},
        {"an old metafile picture", {{MetafilePict, {}}}, {{MetafilePict, SaveAs::MetafilePicture}}},
        {"registered formats, but not the object-linking ones",
         {{0xC0DE, u"HTML Format"},
          {0xC001, u"DataObject"},
          {0xC002, u"Ole Private Data"},
          {0xC003, u"Rich Text Format"}},
         {{0xC0DE, SaveAs::Bytes}, {0xC001, SaveAs::Skip}, {0xC002, SaveAs::Skip}, {0xC003, SaveAs::Bytes}}},
        {"files, sound, display text",
         {{15, {}}, {12, {}}, {DspText, {}}},
         {{15, SaveAs::Bytes}, {12, SaveAs::Bytes}, {DspText, SaveAs::Bytes}}},
        {"handles only their owner can give",
         {{OwnerDisplay, {}}, {0x0200, {}}, {0x02FF, {}}, {0x0300, {}}, {0x0082, {}}, {0x008E, {}}},
         {{OwnerDisplay, SaveAs::Skip},
          {0x0200, SaveAs::Skip},
          {0x02FF, SaveAs::Skip},
          {0x0300, SaveAs::Skip},
          {0x0082, SaveAs::Skip},
          {0x008E, SaveAs::Skip}}},
        {"an empty clipboard", {}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(savePlan(c.listed), c.expected) << c.what;
}

TEST(ClipboardMarks, TheConversionStaysOutOfHistoryAndTheRestoredContentIsNotAddedTwice) {
    std::span<const ClipboardMark> transient = transientMarks();
    ASSERT_EQ(transient.size(), 3u);
    EXPECT_EQ(std::u16string(transient[0].name), u"ExcludeClipboardContentFromMonitorProcessing");
    EXPECT_FALSE(transient[0].value);
    EXPECT_EQ(std::u16string(transient[1].name), u"CanIncludeInClipboardHistory");
    EXPECT_EQ(transient[1].value, 0u);
    EXPECT_EQ(std::u16string(transient[2].name), u"CanUploadToCloudClipboard");
    EXPECT_EQ(transient[2].value, 0u);

    std::span<const ClipboardMark> restored = restoredMarks();
    ASSERT_EQ(restored.size(), 2u);
    EXPECT_EQ(std::u16string(restored[0].name), u"CanIncludeInClipboardHistory");
    EXPECT_EQ(std::u16string(restored[1].name), u"CanUploadToCloudClipboard");
}

}  // namespace
}  // namespace quillom::pipeline
