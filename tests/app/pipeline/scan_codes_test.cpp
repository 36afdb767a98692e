// Scan codes on injected keys, and what a program that reads only scan codes
// makes of a correction, Undo and Convert.
#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/correction_drain.h"
#include "pipeline/scan_codes.h"
#include "pipeline/undo_convert.h"

namespace quillom::pipeline::testing {
namespace {

constexpr uint32_t U = keyflag::Unicode, UP = keyflag::KeyUp, EXT = keyflag::Extended;

TEST(ScanCodes, MappedCodeGoesIntoTheEventWithTheExtendedFlag) {
    struct Case {
        SyntheticKey key;
        uint32_t scanEx;
        SyntheticKey expected;
    } cases[] = {
        {{0x08, 0, 0}, 0x0E, {0x08, 0x0E, 0}},     {{0x08, 0, UP}, 0x0E, {0x08, 0x0E, UP}},
        {{0xA3, 0, 0}, 0xE01D, {0xA3, 0x1D, EXT}}, {{0x13, 0, 0}, 0xE11D, {0x13, 0x1D, EXT}},
        {{0xFF, 0, 0}, 0, {0xFF, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(withScanCode(c.key, c.scanEx), c.expected) << c.key.vk;
}

TEST(ScanCodes, FilledFromTheLayoutExceptPacketsAndKeysThatHaveOne) {
    FakeDesktop desktop;
    std::vector<SyntheticKey> keys{{0x20, 0, 0}, {0, u'п', U}, {0xA1, 0x36, UP}, {0x25, 0, 0}};
    addScanCodes(keys, desktop);
    EXPECT_EQ(keys, (std::vector<SyntheticKey>{{0x20, 0x39, 0}, {0, u'п', U}, {0xA1, 0x36, UP}, {0x25, 0x4B, EXT}}));
}

// Every action on a consumer that reads the key from the scan code, and on
// one that records the keys: the text ends as the user meant it, and the
// boundary arrives as the key it was.
TEST(ScanCodes, ConsumersOfScanCodesGetTheWordOnceAndTheKey) {
    struct Case {
        const char* action;
        bool scanCodesOnly;
    } cases[] = {{"correction", true}, {"correction", false}, {"undo", true}, {"convert", true}};
    for (const Case& c : cases) {
        PipelineRig rig;
        rig.editor.scanCodesOnly = c.scanCodesOnly;
        rig.engine.correct("ghbdtn", "привет", "ru");
        rig.engine.conversions[{"ghbdtn", ""}] = {"привет", "ru"};
        const std::string action = c.action;
        std::u16string expected = u"ok привет ";
        if (action == "convert") {
            rig.clipboard.text = u"ghbdtn";  // what Ctrl+C of the selection copies
            rig.input.afterSend = [&](std::span<const SyntheticKey> keys) {
                for (const SyntheticKey& k : keys) {
                    const bool down = !(k.flags & UP);
                    if (down && usKeyOfScan(k.scan, k.flags & EXT) == 'C') ++rig.clipboard.sequence;
                    if (down && usKeyOfScan(k.scan, k.flags & EXT) == 'V')
                        rig.editor.text = rig.clipboard.pasteRead().value_or(u"");
                }
            };
            ASSERT_TRUE(convertSelection(rig.hook, ""));
            expected = u"привет";
        } else {
            rig.type("ok ghbdtn ");
            drainQueue(rig.hook);
            if (action == "undo") {
                ASSERT_TRUE(undoLastCorrection(rig.hook));
                expected = u"ok ghbdtn ";
            }
        }
        EXPECT_EQ(rig.editor.text, expected) << c.action << " scan codes only " << c.scanCodesOnly;
        for (const SyntheticKey& k : rig.input.allKeys())
            EXPECT_TRUE((k.flags & U) || k.scan != 0) << c.action << ": key " << k.vk << " went without a scan code";
        if (action == "correction") {
            EXPECT_EQ(rig.editor.keyDowns.back(), 0x20) << "the Space reaches the application as a key";
        }
    }
}

}  // namespace
}  // namespace quillom::pipeline::testing
