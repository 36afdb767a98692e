#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/correction_drain.h"
#include "pipeline/undo_convert.h"

namespace quillom::pipeline::testing {
namespace {

constexpr uint32_t kBackspace = 0x08, kShift = 0xA0, kControl = 0xA2;

// "ghbdtn " corrected to "привет " in a window switched to Russian; what the
// test does next comes a few milliseconds after the replay.
struct RevertRig : PipelineRig {
    std::vector<std::string> learned;

    RevertRig() {
        engine.correct("ghbdtn", "привет", "ru");
        state.onTakenBack = [this](const std::string& word) { learned.push_back(word); };
        type("ghbdtn ");
        drainQueue(hook);
        desktop.layout = 0x0419;
        desktop.layoutRequests.clear();
        sound.played.clear();
        clock.now += 5;
    }
    HookVerdict backspace() {
        clock.now += 5;  // after what was sent last
        HookVerdict verdict = tap(kBackspace);
        drainQueue(hook);
        return verdict;
    }
};

TEST(BackspaceRevert, FirstBackspaceRestoresTheWordAndLayoutTheNextDeletes) {
    RevertRig rig;
    ASSERT_EQ(rig.editor.text, u"привет ");

    EXPECT_EQ(rig.backspace(), HookVerdict::Swallow);
    EXPECT_EQ(rig.editor.text, u"ghbdtn ");
    ASSERT_FALSE(rig.desktop.layoutRequests.empty());
    EXPECT_EQ(rig.desktop.layoutRequests.back().second, LayoutId(0x04090409));
    EXPECT_EQ(rig.sound.played, std::vector<std::u16string>{u"SystemExclamation"}) << "the Undo sound";
    EXPECT_EQ(rig.learned, std::vector<std::string>{"ghbdtn"}) << "learning hears of it as of Undo";
    EXPECT_FALSE(rig.state.undo.available);
    for (HookVerdict v : rig.input.injectedVerdicts) EXPECT_EQ(v, HookVerdict::Pass);

    EXPECT_EQ(rig.backspace(), HookVerdict::Pass);
    EXPECT_EQ(rig.editor.text, u"ghbdtn");
    EXPECT_EQ(rig.learned.size(), 1u);
}

// Anything between the correction and the Backspace means the user moved
// on: the Backspace deletes as always and nothing is learned.
TEST(BackspaceRevert, DeletesNormallyWhenItIsNotTheFirstPlainPressSoon) {
    struct Case {
        const char* name;
        std::function<void(RevertRig&)> between;
        bool takesBack;
    };
    const Case cases[] = {
        {"nothing between", [](RevertRig&) {}, true},
        {"Shift pressed and released alone", [](RevertRig& r) { r.tap(kShift); }, true},
        {"well inside the time limit", [](RevertRig& r) { r.clock.now += BackspaceRevert::kLimitMs / 2; }, true},
        {"past the time limit", [](RevertRig& r) { r.clock.now += BackspaceRevert::kLimitMs; }, false},
        {"another key", [](RevertRig& r) { r.type("a"); }, false},
        {"an arrow key", [](RevertRig& r) { r.tap(0x25); }, false},
        {"a click",
         [](RevertRig& r) {
             r.hook.onMouse({MouseMessage::ButtonDown, 0x201, 5, 5, 0, r.clock.now, 0});
             r.hook.onMouse({MouseMessage::ButtonUp, 0x202, 5, 5, 0, r.clock.now, 0});
         },
         false},
        {"a click in another window",
         [](RevertRig& r) {
             r.desktop.windowUnderMouse = 300;
             r.hook.onMouse({MouseMessage::ButtonDown, 0x201, 5, 5, 0, r.clock.now, 0});
         },
         false},
        {"another window in front", [](RevertRig& r) { r.desktop.foreground = 200; }, false},
        {"another control focused", [](RevertRig& r) { r.desktop.focus = 102; }, false},
        {"Undo already used",
         [](RevertRig& r) {
             ASSERT_TRUE(undoLastCorrection(r.hook));
             r.learned.clear();
         },
         false},
        {"the option is off", [](RevertRig& r) { r.state.revert.enabled = false; }, false},
    };
    for (const Case& c : cases) {
        RevertRig rig;
        c.between(rig);
        const std::u16string before = rig.editor.text;
        const HookVerdict verdict = rig.backspace();
        if (c.takesBack) {
            EXPECT_EQ(verdict, HookVerdict::Swallow) << c.name;
            EXPECT_EQ(rig.editor.text, u"ghbdtn ") << c.name;
            EXPECT_EQ(rig.learned, std::vector<std::string>{"ghbdtn"}) << c.name;
        } else {
            EXPECT_EQ(verdict, HookVerdict::Pass) << c.name;
            EXPECT_EQ(rig.editor.text, before.substr(0, before.size() - 1)) << c.name;
            EXPECT_TRUE(rig.learned.empty()) << c.name;
        }
    }
}

// Backspace with a modifier is another command (Ctrl+Backspace deletes a
// word, Shift+Backspace is Backspace in most editors but not "plain").
TEST(BackspaceRevert, WithAModifierHeldItIsTheApplicationsOwnKey) {
    for (uint32_t modifier : {kShift, kControl, uint32_t(0xA4)}) {
        RevertRig rig;
        rig.key(modifier, true);
        EXPECT_EQ(rig.key(kBackspace, true), HookVerdict::Pass) << modifier;
        rig.key(kBackspace, false);
        rig.key(modifier, false);
        drainQueue(rig.hook);
        EXPECT_TRUE(rig.learned.empty()) << modifier;
        EXPECT_EQ(rig.editor.text, u"привет") << modifier;
    }
}

// A Backspace pressed while the replacement was still being typed was not
// an answer to it: it is held, sent after the replay and deletes.
TEST(BackspaceRevert, BackspacePressedDuringTheReplayDeletes) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.type("ghbdtn");
    EXPECT_EQ(rig.tap(0x20), HookVerdict::Swallow);
    EXPECT_EQ(rig.tap(kBackspace), HookVerdict::Swallow) << "held behind the correction";
    drainQueue(rig.hook);
    EXPECT_EQ(rig.editor.text, u"привет");
}

// The auto-repeat of a Backspace held down since before the correction is
// not a fresh press.
TEST(BackspaceRevert, AutoRepeatOfABackspaceHeldFromBeforeDeletes) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.key(kBackspace, true);
    rig.type("ghbdtn ");
    drainQueue(rig.hook);
    rig.clock.now += 5;
    ASSERT_EQ(rig.editor.text, u"привет ");
    EXPECT_EQ(rig.key(kBackspace, true), HookVerdict::Pass);
    drainQueue(rig.hook);
    EXPECT_EQ(rig.editor.text, u"привет");
}

// Keys typed right after the Backspace wait for the word to come back and
// follow it in the restored layout.
TEST(BackspaceRevert, KeysTypedMeanwhileComeAfterTheRestoredWord) {
    RevertRig rig;
    EXPECT_EQ(rig.tap(kBackspace), HookVerdict::Swallow);
    rig.type("ok");
    drainQueue(rig.hook);
    EXPECT_EQ(rig.editor.text, u"ghbdtn ok");
}

}  // namespace
}  // namespace quillom::pipeline::testing
