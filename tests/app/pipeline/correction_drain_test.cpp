#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/correction_drain.h"

namespace quillom::pipeline::testing {
namespace {

struct DrainRig : PipelineRig {
    DrainRig() {
        engine.correct("ghbdtn", "привет", "ru");
        engine.correct("vbh", "мир", "ru");
        engine.correct("lheu", "друг", "ru");
    }
    void drain() { drainQueue(hook); }
};

TEST(CorrectionDrain, ReplacesTheWordSwitchesLayoutPlaysAndRemembers) {
    DrainRig rig;
    rig.type("ghbdtn ");
    rig.drain();

    EXPECT_EQ(rig.editor.text, u"привет ");
    EXPECT_TRUE(rig.state.queue.empty());
    ASSERT_EQ(rig.desktop.layoutRequests.size(), 1u);
    EXPECT_EQ(rig.desktop.layoutRequests[0], (std::pair<WindowId, LayoutId>{101, 0x04190419}));
    EXPECT_EQ(rig.sound.played, std::vector<std::u16string>{u"SystemAsterisk"});
    EXPECT_TRUE(rig.state.undo.available);
    EXPECT_EQ(rig.state.undo.typedWord, u"ghbdtn");
    EXPECT_EQ(rig.state.undo.replacement, u"привет");
    // Every replayed event carried the marker, so the hook let all of them through.
    for (HookVerdict v : rig.input.injectedVerdicts) EXPECT_EQ(v, HookVerdict::Pass);
    EXPECT_TRUE(rig.state.capture.word().empty());
}

TEST(CorrectionDrain, SoundsOffPlaysNothing) {
    DrainRig rig;
    rig.state.sounds.on = false;
    rig.type("ghbdtn ");
    rig.drain();
    EXPECT_TRUE(rig.sound.played.empty());
}

TEST(CorrectionDrain, TwoQueuedCorrectionsReplayInOrderAndUndoHoldsTheSecond) {
    DrainRig rig;
    rig.type("ghbdtn vbh ");
    rig.drain();
    EXPECT_EQ(rig.editor.text, u"привет мир ");
    EXPECT_EQ(rig.state.undo.typedWord, u"vbh");
}

// A fast typist's keys after a corrected word must not overtake the replacement.
TEST(CorrectionDrain, KeysTypedBeforeTheDrainWaitBehindTheCorrection) {
    DrainRig rig;
    rig.type("ghbdtn ");
    EXPECT_EQ(rig.key('V', true), HookVerdict::Swallow);
    rig.key('V', false);
    rig.type("bh lheu ");
    EXPECT_EQ(rig.editor.text, u"ghbdtn");

    rig.drain();
    EXPECT_EQ(rig.editor.text, u"привет мир друг ");
    EXPECT_EQ(rig.state.undo.typedWord, u"lheu");
    for (HookVerdict v : rig.input.injectedVerdicts) EXPECT_EQ(v, HookVerdict::Pass);
}

TEST(CorrectionDrain, HeldKeysKeepShiftAndOtherKeysAsTyped) {
    DrainRig rig;
    rig.type("ghbdtn ");
    rig.key(0x10, true);
    rig.tap('A');
    rig.key(0x10, false);
    rig.tap(0x08);  // Backspace
    rig.tap('B');
    rig.drain();
    EXPECT_EQ(rig.editor.text, u"привет b");
}

TEST(CorrectionDrain, KeysArrivingWhileTheReplayRunsAreHeldAndSentAfterIt) {
    DrainRig rig;
    rig.type("ghbdtn ");
    bool typed = false;
    rig.input.afterSend = [&](std::span<const SyntheticKey>) {
        if (typed) return;
        typed = true;
        rig.type("vbh lheu ");
    };
    rig.drain();
    EXPECT_EQ(rig.editor.text, u"привет мир друг ");
    EXPECT_EQ(rig.waker.wakes, 1) << "the running drain picks up what is queued meanwhile";
}

TEST(CorrectionDrain, KeyStampedBeforeTheReplayEndedIsHeldOnceMore) {
    DrainRig rig;
    rig.type("ghbdtn ");
    const uint32_t typedAt = rig.clock.now;  // during the replay's waits, in real time
    rig.drain();
    ASSERT_TRUE(rig.state.replayWatermark);

    EXPECT_EQ(rig.hook.onKey({'A', 0, true, false, typedAt, 0}), HookVerdict::Swallow);
    EXPECT_EQ(rig.state.queue.size(), 1u);
    rig.drain();
    EXPECT_EQ(rig.editor.text, u"привет a");

    rig.clock.now += 5;
    EXPECT_EQ(rig.key('B', true), HookVerdict::Pass);
    EXPECT_FALSE(rig.state.replayWatermark) << "a later key ends the holding";
    EXPECT_EQ(rig.editor.text, u"привет ab");
}

// A held word whose layout should follow: the layout is asked for only when
// no held key comes after it, since those are read in the layout in force.
TEST(CorrectionDrain, AHeldWordSwitchesTheLayoutOnlyWhenNothingFollowsIt) {
    const std::pair<WindowId, LayoutId> russian{101, 0x04190419};
    struct Case {
        const char* after;  // held keys typed after the corrected word
        std::vector<std::pair<WindowId, LayoutId>> requests;
    } cases[] = {
        {"ult ", {russian, russian}},
        {"ult a", {russian}},
    };
    for (const Case& c : cases) {
        DrainRig rig;
        rig.engine.verdicts["ult"] = {false, "", 0.0, "ru", "layout_follows_language"};
        rig.type("ghbdtn ");
        rig.type(c.after);
        rig.drain();
        EXPECT_EQ(rig.desktop.layoutRequests, c.requests) << c.after;
    }
}

TEST(CorrectionDrain, HeldKeysAloneGoOutInOneCallWithoutWaits) {
    DrainRig rig;
    rig.state.queue.push_back(HeldKey{'A', 0x1E, true, false, {}});
    rig.state.queue.push_back(HeldKey{'A', 0x1E, false, false, {}});
    rig.state.queue.push_back(HeldKey{0x25, 0x4B, true, true, {}});
    rig.drain();
    ASSERT_EQ(rig.input.calls.size(), 1u);
    EXPECT_EQ(rig.input.calls[0], (std::vector<SyntheticKey>{
                                      {'A', 0x1E, 0}, {'A', 0x1E, keyflag::KeyUp}, {0x25, 0x4B, keyflag::Extended}}));
    EXPECT_EQ(rig.clock.waited, 0u);
    EXPECT_FALSE(rig.state.undo.available);
}

TEST(CorrectionDrain, EmptyQueueSendsNothing) {
    DrainRig rig;
    rig.drain();
    EXPECT_TRUE(rig.input.calls.empty());
    EXPECT_FALSE(rig.state.replayWatermark);
}

}  // namespace
}  // namespace quillom::pipeline::testing
