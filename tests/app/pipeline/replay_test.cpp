#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/replay.h"

namespace quillom::pipeline::testing {
namespace {

constexpr uint32_t U = keyflag::Unicode, UP = keyflag::KeyUp;

ReplayStep wait(unsigned ms) { return {ms, {}}; }
ReplayStep keys(std::vector<SyntheticKey> k) { return {0, std::move(k)}; }

TEST(ReplayPlan, ErasesTypesAndSendsTheSpaceAsAKey) {
    std::vector<ReplayStep> expected{
        wait(20), keys({{0x08, 0, 0}, {0x08, 0, UP}, {0x08, 0, 0}, {0x08, 0, UP}}),
        wait(30), keys({{0x10, 0, 0}, {0x10, 0, UP}}),
        wait(10), keys({{0, 0x043C, U}, {0, 0x043C, U | UP}}),
        wait(6),  keys({{0, 0x0438, U}, {0, 0x0438, U | UP}}),
        wait(6),  keys({{0x20, 0, 0}, {0x20, 0, UP}}),
    };
    EXPECT_EQ(replayPlan(2, u"ми", u' ', BoundaryKind::Space), expected);
}

TEST(ReplayPlan, BoundaryIsSentAgainByItsKind) {
    struct Case {
        BoundaryKind kind;
        char16_t ch;
        std::vector<SyntheticKey> last;
    } cases[] = {
        {BoundaryKind::Enter, u'\n', {{0x0D, 0, 0}, {0x0D, 0, UP}}},
        {BoundaryKind::Tab, u'\t', {{0x09, 0, 0}, {0x09, 0, UP}}},
        {BoundaryKind::Punctuation, u'!', {{0, u'!', U}, {0, u'!', U | UP}}},
        {BoundaryKind::Space, u' ', {{0x20, 0, 0}, {0x20, 0, UP}}},
    };
    for (const Case& c : cases) EXPECT_EQ(replayPlan(1, u"a", c.ch, c.kind).back().keys, c.last) << int(c.kind);
    EXPECT_EQ(replayPlan(1, u"a", u'x', BoundaryKind(7)).back(), wait(6)) << "an unknown kind sends nothing";
}

TEST(ReplayPlan, NothingToEraseSendsNoBackspaces) {
    std::vector<ReplayStep> plan = replayPlan(0, u"a", u' ', BoundaryKind::Space);
    EXPECT_EQ(plan[0], wait(20));
    EXPECT_EQ(plan[1], wait(30));
}

TEST(ReplayPlan, SurrogatePairsGoOutAsTwoUnits) {
    std::vector<ReplayStep> plan = replayPlan(0, u"\U0001F600", u' ', BoundaryKind::Space);
    EXPECT_EQ(plan[4].keys[0], (SyntheticKey{0, 0xD83D, U}));
    EXPECT_EQ(plan[6].keys[0], (SyntheticKey{0, 0xDE00, U}));
}

TEST(ReplayPlan, TakesAtLeastItsWaits) {
    FakeInput input;
    FakeClock clock;
    runPlan(replayPlan(6, u"привет", u' ', BoundaryKind::Space), input, clock);
    EXPECT_EQ(clock.waited, 20u + 30u + 10u + 6u * 6u);
    EXPECT_EQ(input.calls.size(), 1u + 1u + 6u + 1u);
}

TEST(ResendEvent, KeepsKeyScanCodeAndDirection) {
    EXPECT_EQ(resendEvent({'A', 0x1E, true, false, {}}), (SyntheticKey{'A', 0x1E, 0}));
    EXPECT_EQ(resendEvent({0x27, 0x4D, false, true, {}}), (SyntheticKey{0x27, 0x4D, keyflag::Extended | UP}));
    EXPECT_EQ(resendEvent({vk::Packet, 0x0444, true, false, {}}), (SyntheticKey{0, 0x0444, U}));
}

}  // namespace
}  // namespace quillom::pipeline::testing
