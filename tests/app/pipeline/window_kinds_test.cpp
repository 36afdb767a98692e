// The kinds of window whose input or layout is not an ordinary window's:
// which are corrected, where the source layout is read and the switch goes.
#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/correction_drain.h"
#include "pipeline/window_kinds.h"

namespace quillom::pipeline::testing {
namespace {

TEST(WindowKinds, ClassNamesTellTheKind) {
    EXPECT_EQ(windowKindOfClass(u"ApplicationFrameWindow"), WindowKind::FrameHost);
    EXPECT_EQ(windowKindOfClass(u"ConsoleWindowClass"), WindowKind::Console);
    EXPECT_EQ(windowKindOfClass(u"CASCADIA_HOSTING_WINDOW_CLASS"), WindowKind::Terminal);
    EXPECT_EQ(windowKindOfClass(u"Notepad"), WindowKind::Standard);
    EXPECT_EQ(windowKindOfClass(u"ConsoleWindowClas"), WindowKind::Standard);
}

// ghbdtn typed on the English layout of the focused window. A frame host's
// own thread keeps a stale Russian layout: read there, the word would be
// taken as typed on Russian keys and left alone.
TEST(WindowKinds, EachKindIsCorrectedAndSwitchedOrLeftAlone) {
    struct Case {
        WindowKind kind;
        bool corrected;
    } cases[] = {{WindowKind::Standard, true},
                 {WindowKind::FrameHost, true},
                 {WindowKind::Terminal, true},
                 {WindowKind::Console, false}};
    for (const Case& c : cases) {
        PipelineRig rig;
        rig.engine.correct("ghbdtn", "привет", "ru");
        rig.desktop.kinds[100] = c.kind;
        rig.desktop.threadLayouts[100] = 0x0419;  // the foreground window's thread
        rig.type("ghbdtn ");
        drainQueue(rig.hook);
        const int kind = int(c.kind);
        EXPECT_EQ(rig.editor.text, c.corrected ? u"привет " : u"ghbdtn ") << kind;
        if (!c.corrected) {
            EXPECT_TRUE(rig.engine.queries.empty()) << kind;
            EXPECT_TRUE(rig.desktop.layoutRequests.empty()) << kind;
            continue;
        }
        ASSERT_EQ(rig.engine.queries.size(), 1u) << kind;
        EXPECT_EQ(rig.engine.queries[0].inputSource, "en") << kind;
        EXPECT_EQ(rig.desktop.layoutRequests, (std::vector<std::pair<WindowId, LayoutId>>{{101, 0x04190419}})) << kind;
    }
}

}  // namespace
}  // namespace quillom::pipeline::testing
