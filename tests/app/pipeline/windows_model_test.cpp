// The pipeline on the model of Windows' input system: the thread that owns
// the hooks must serve every hook call within 20 ms, whatever it is doing.
#include <gtest/gtest.h>

#include "pipeline/undo_convert.h"
#include "windows_input_model.h"

namespace quillom::pipeline::testing {
namespace {

constexpr unsigned kServedWithinMs = 20;

struct ModelRig : WindowsInputModel {
    ModelRig() {
        engine.correct("ghbdtn", "привет", "ru");
        engine.correct("vbh", "мир", "ru");
        engine.correct("lheu", "друг", "ru");
        engine.correct("rfr", "как", "ru");
        engine.correct("ltkf", "дела", "ru");
    }
    void expectHooksServed() {
        EXPECT_FALSE(hookRemoved) << "the system took the hook away";
        EXPECT_LE(maxHookWait, kServedWithinMs);
    }
};

// The model itself: a thread that stops serving loses its hook.
TEST(WindowsInputModel, AThreadThatDoesNotServeLosesTheHook) {
    ModelRig rig;
    rig.typeAt(1002, "ghbdtn ");
    rig.runLoopUntil(1100);
    rig.work(kHookTimeoutMs + 50);
    rig.runLoopUntil(rig.now + 400);
    EXPECT_TRUE(rig.hookRemoved);
    EXPECT_GT(rig.maxHookWait, kHookTimeoutMs);
    EXPECT_EQ(rig.editor.text, u"ghbdtn ") << "the Space got past the removed hook";
}

struct Operation {
    const char* name;
    // Sets the scene, posts the command; returns when the user starts typing "ab".
    std::function<uint32_t(ModelRig&)> start;
    std::u16string text;  // the editor's text at the end
};

uint32_t correctAWord(ModelRig& rig) {
    rig.typeAt(1002, "ghbdtn ");
    rig.runLoopUntil(1300);
    EXPECT_EQ(rig.editor.text, u"привет ");
    return rig.now;
}

// Each operation while the user types "ab" 4 ms apart during it: the hook is
// served, the keys land after the operation's own input, in order.
TEST(WindowsInputModel, EveryOperationServesTheHookAndKeepsTheUsersKeysInOrder) {
    const Operation operations[] = {
        {"replay",
         [](ModelRig& rig) {
             rig.typeAt(1002, "ghbdtn ");
             return uint32_t(1002 + 6 * 30 + 3);  // just after the Space
         },
         u"привет фи"},  // typed after the switch to Russian
        {"undo",
         [](ModelRig& rig) {
             correctAWord(rig);
             rig.postAt(rig.now + 10, [&rig] { EXPECT_TRUE(undoLastCorrection(rig.hook)); });
             return rig.now + 15;
         },
         u"ghbdtn ab"},
        {"undo from the tray menu",
         [](ModelRig& rig) {
             correctAWord(rig);
             rig.ownWindows = {300};
             rig.foreground = 300;
             rig.postAt(rig.now + 10, [&rig] { EXPECT_TRUE(undoLastCorrection(rig.hook)); });
             return rig.now + 15;
         },
         u"ghbdtn ab"},
        {"convert",
         [](ModelRig& rig) {
             rig.editor.text = u"ghbdtn";
             rig.editor.selected = 6;
             rig.engine.conversions[{"ghbdtn", ""}] = {"привет", "ru"};
             rig.postAt(rig.now + 10, [&rig] { EXPECT_TRUE(convertSelection(rig.hook, "")); });
             return rig.now + 15;
         },
         u"приветфи"},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.name);
        ModelRig rig;
        const uint32_t typingFrom = op.start(rig);
        rig.typeAt(typingFrom, "ab", 4);
        rig.runLoopUntil(typingFrom + 1500);
        EXPECT_EQ(rig.editor.text, op.text);
        rig.expectHooksServed();
        EXPECT_TRUE(rig.state.queue.empty());
        EXPECT_EQ(rig.foreground, WindowId(100));
    }
}

TEST(WindowsInputModel, ConvertTenTimesInARowThenAWordIsStillCorrected) {
    ModelRig rig;
    rig.engine.conversions[{"ghbdtn", ""}] = {"привет", "ru"};
    for (int i = 0; i < 10; ++i) {
        rig.editor.text += u"ghbdtn";
        rig.editor.selected = 6;
        rig.postAt(rig.now + 5, [&rig] { EXPECT_TRUE(convertSelection(rig.hook, "")); });
        rig.typeAt(rig.now + 20, " ", 8);
        rig.runLoopUntil(rig.now + 700);
        rig.editor.language = lang::English;
    }
    rig.typeAt(rig.now + 10, "vbh ");
    rig.runLoopUntil(rig.now + 600);
    EXPECT_EQ(rig.editor.text.substr(rig.editor.text.size() - 4), u"мир ");
    rig.expectHooksServed();
}

// Five words 8 ms apart: each word after the first arrives during a replay.
TEST(WindowsInputModel, FastTypingKeepsEveryWordCorrectedAndInOrder) {
    ModelRig rig;
    rig.typeAt(1002, "ghbdtn vbh lheu rfr ltkf ", 8);
    rig.runLoopUntil(3000);
    EXPECT_EQ(rig.editor.text, u"привет мир друг как дела ");
    rig.expectHooksServed();
}

// Keys held during a replay are read in the layout the window takes after
// the switch, as the user sees them.
TEST(WindowsInputModel, KeysHeldDuringTheReplayAreReadInTheNewLayout) {
    ModelRig rig;
    rig.typeAt(1002, "ghbdtn ", 30);
    rig.typeAt(1002 + 7 * 30, "vbh ", 8);  // during the replay
    rig.runLoopUntil(2000);
    EXPECT_EQ(rig.editor.text, u"привет мир ");
    ASSERT_EQ(rig.engine.queries.size(), 2u);
    EXPECT_EQ(rig.engine.queries[1].word, "мир");
    EXPECT_EQ(rig.engine.queries[1].inputSource, "ru");
    EXPECT_TRUE(rig.state.capture.word().empty());
    rig.expectHooksServed();
}

// A click during the replay would move the caret before the Backspaces.
TEST(WindowsInputModel, AClickDuringTheReplayIsHeldAndSentAfterIt) {
    ModelRig rig;
    rig.typeAt(1002, "ghbdtn ", 30);
    rig.clickAt(1002 + 7 * 30, 50, 60);
    rig.runLoopUntil(2000);
    EXPECT_EQ(rig.editor.text, u"привет ");
    ASSERT_EQ(rig.mouseSent.size(), 2u);
    EXPECT_EQ(rig.mouseSent[0].kind, MouseMessage::ButtonDown);
    EXPECT_EQ(rig.mouseSent[0].x, 50);
    EXPECT_EQ(rig.mouseSent[1].kind, MouseMessage::ButtonUp);
    EXPECT_EQ(rig.sendOrder.find('M'), rig.sendOrder.find_last_of('K') + 1) << "the click after the whole replay";
    EXPECT_FALSE(rig.state.undo.available) << "the click moved the caret away from the correction";
    rig.expectHooksServed();
}

// A guess read again with the word after it and the word that settled the
// language (Снаряді и, then a Russian word): keys the user types while that
// replay runs are held and land after it, in the layout it switched to, and
// the text they change can no longer be undone to what was typed.
struct RevisionModelRig : ModelRig {
    RevisionModelRig() {
        engine.correct("cyfhzls", "снаряді", "uk");
        engine.verdicts["ult"] = {false, "", 0.0, "ru", "layout_follows_language"};
        engine.wordsBefore[{"cyfhzls b", "ult"}] = "снаряды и";
    }
    static constexpr uint32_t kSettled = 1002 + 13 * 30;  // the Space after "ult"
};

TEST(WindowsInputModel, KeysTypedDuringARevisionLandAfterItAndEndItsUndo) {
    RevisionModelRig rig;
    rig.typeAt(1002, "cyfhzls b ult ");
    rig.typeAt(RevisionModelRig::kSettled + 20, "ab", 4);  // during the replay
    rig.runLoopUntil(3000);
    EXPECT_EQ(rig.editor.text, u"снаряды и ult фи");
    EXPECT_FALSE(rig.state.undo.available);
    EXPECT_TRUE(rig.state.queue.empty());
    rig.expectHooksServed();
}

// The system refuses the revision's input: the text stays as it stood, with
// no Undo record and nothing left to read again.
TEST(WindowsInputModel, ARefusedRevisionLeavesTheTextAndForgetsTheWordsBefore) {
    RevisionModelRig rig;
    rig.typeAt(1002, "cyfhzls b ult");
    rig.runLoopUntil(RevisionModelRig::kSettled - 5);
    ASSERT_EQ(rig.editor.text, u"снаряді b ult");
    rig.uipiBlocks = true;
    rig.typeAt(RevisionModelRig::kSettled, " ");
    rig.runLoopUntil(RevisionModelRig::kSettled + 600);
    EXPECT_EQ(rig.editor.text, u"снаряді b ult");
    EXPECT_FALSE(rig.state.undo.available);
    EXPECT_EQ(rig.state.wordsBefore.length(), 0u);
    rig.expectHooksServed();
}

TEST(WindowsInputModel, TheWatchdogReinstallsARemovedHook) {
    ModelRig rig;
    rig.runLoopUntil(1500);
    rig.removeHook();
    rig.typeAt(rig.now + 10, "ghbdtn ");
    // The watchdog's next look, with the grace it gives a hook call on its way.
    rig.runLoopUntil(rig.now + HookWatchdog::kCheckMs + HookWatchdog::kGraceMs);
    EXPECT_EQ(rig.editor.text, u"ghbdtn ") << "unseen while the hook was gone";
    ASSERT_EQ(rig.trace, (std::vector<std::string>{"hook removed", "hook reinstalled"}));
    rig.typeAt(rig.now + 10, "ghbdtn ");
    rig.runLoopUntil(rig.now + 600);
    EXPECT_EQ(rig.editor.text, u"ghbdtn привет ");
}

TEST(WindowsInputModel, BlockedInputLeavesTheWordAndRecordsNoUndo) {
    ModelRig rig;
    rig.uipiBlocks = true;
    rig.typeAt(1002, "ghbdtn ");
    rig.runLoopUntil(1600);
    EXPECT_EQ(rig.editor.text, u"ghbdtn") << "the Space was swallowed before the block showed";
    EXPECT_FALSE(rig.state.undo.available);
    EXPECT_EQ(rig.sendOrder, "KK") << "the refused erase ends the replay; the held key-up of Space still goes out";
}

}  // namespace
}  // namespace quillom::pipeline::testing
