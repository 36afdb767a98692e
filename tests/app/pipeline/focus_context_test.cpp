// The hook with what the focused control tells: the caret question, the
// password gate and the Shift the user held with the boundary key.
#include <gtest/gtest.h>

#include "fakes.h"
#include "log_capture.h"
#include "pipeline/correction_drain.h"

namespace quillom::pipeline::testing {
namespace {

CaretReading readingOf(std::optional<PrecedingText> text, bool hidden = false) {
    return CaretReading{std::move(text), hidden, "test"};
}

// The worker's part, played by hand: the read happened after the first letter.
void answerCaret(PipelineRig& rig, std::optional<PrecedingText> text, bool hidden = false) {
    std::optional<CaretQuestion::Ticket> ticket = rig.state.caret.waitForRead();
    ASSERT_TRUE(ticket);
    rig.state.caret.deliver(*ticket, readingOf(text, hidden), 2);
}

TEST(FocusContext, FirstWordAfterAClickTakesTheControlsAnswer) {
    struct Case {
        const char* what;
        std::optional<PrecedingText> answer;
        bool unknownBeginning;
    } cases[] = {
        {"empty field", PrecedingText{u"g", true}, false},
        {"after a space", PrecedingText{u"ok g", true}, false},
        {"inside a word", PrecedingText{u"ag", true}, true},
        {"no answer", std::nullopt, true},
    };
    for (const Case& c : cases) {
        PipelineRig rig;
        rig.engine.correct("ghbdtn", "привет", "ru");
        rig.type("ok ");
        rig.hook.onMouse({MouseMessage::ButtonDown});
        rig.type("g");
        answerCaret(rig, c.answer);
        rig.type("hbdtn ");
        ASSERT_EQ(rig.engine.queries.size(), 2u) << c.what;
        EXPECT_EQ(rig.engine.queries[1].hasUnknownBeginning, c.unknownBeginning) << c.what;
    }
}

TEST(FocusContext, AnswerThatCameAfterTheWordEndedIsNotUsedForTheNext) {
    PipelineRig rig;
    rig.hook.onMouse({MouseMessage::ButtonDown});
    rig.type("g");
    std::optional<CaretQuestion::Ticket> ticket = rig.state.caret.waitForRead();
    rig.type("h ");
    rig.state.caret.deliver(*ticket, readingOf(PrecedingText{u"g", true}), 2);
    rig.tap(0x25);  // Left: a new question without an answer
    rig.type("ab ");
    ASSERT_EQ(rig.engine.queries.size(), 2u);
    EXPECT_TRUE(rig.engine.queries[0].hasUnknownBeginning);
    EXPECT_TRUE(rig.engine.queries[1].hasUnknownBeginning);
}

TEST(FocusContext, NavigationKeysAndEditingKeysOpenAQuestion) {
    for (uint32_t key : {0x25u, 0x24u, 0x2Eu, 0x08u}) {
        PipelineRig rig;
        rig.tap(key);
        rig.type("g");
        answerCaret(rig, PrecedingText{u" g", true});
        rig.type("h ");
        ASSERT_EQ(rig.engine.queries.size(), 1u) << key;
        EXPECT_FALSE(rig.engine.queries[0].hasUnknownBeginning) << key;
    }
}

TEST(FocusContext, FocusMovingToAnotherControlForgetsTheWord) {
    PipelineRig rig;
    rig.type("ab");
    rig.desktop.focus = 102;
    rig.type("cd ");
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].word, "cd");
    EXPECT_TRUE(rig.engine.queries[0].hasUnknownBeginning);
    EXPECT_EQ(rig.engine.resets, 1);
}

TEST(FocusContext, NothingTypedIntoAPasswordFieldGoesFurther) {
    LogCapture log;
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.desktop.passwordFields = {101};
    rig.type("ok ghbdtn ");
    EXPECT_EQ(rig.editor.text, u"ok ghbdtn ");
    EXPECT_TRUE(rig.engine.queries.empty());
    EXPECT_TRUE(rig.state.queue.empty());
    EXPECT_TRUE(rig.state.capture.word().empty());
    EXPECT_TRUE(gLogged.empty());

    // Back in an ordinary field, words are captured again.
    rig.desktop.focus = 102;
    rig.type("ghbdtn ");
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].word, "ghbdtn");
}

// Fields other than standard edits say that they hide what is typed only
// through the worker's read, which comes after the first letter.
TEST(FocusContext, FieldTheReadFindsHiddenKeepsWhatIsTypedOut) {
    LogCapture log;
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.hook.onMouse({MouseMessage::ButtonDown});
    rig.type("o");
    answerCaret(rig, std::nullopt, true);
    rig.type("k ghbdtn ");
    EXPECT_EQ(rig.editor.text, u"ok ghbdtn ");
    EXPECT_TRUE(rig.engine.queries.empty());
    EXPECT_TRUE(rig.state.queue.empty());
    for (const std::string& line : gLogged) EXPECT_EQ(line.find("ghbdtn"), std::string::npos) << line;

    // Tab moves the focus inside the same window: the next field is read anew.
    rig.tap(0x09);
    rig.type("g");
    answerCaret(rig, PrecedingText{u"g", true});
    rig.type("hbdtn ");
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].word, "ghbdtn");
    EXPECT_FALSE(rig.engine.queries[0].hasUnknownBeginning);
}

TEST(FocusContext, ClickOutOfAHiddenFieldEndsTheHiding) {
    PipelineRig rig;
    rig.hook.onMouse({MouseMessage::ButtonDown});
    rig.type("a");
    answerCaret(rig, std::nullopt, true);
    rig.type("bc ");
    rig.hook.onMouse({MouseMessage::ButtonDown});
    rig.type("de ");
    ASSERT_EQ(rig.engine.queries.size(), 1u) << "no read has said the new field hides its text";
    EXPECT_EQ(rig.engine.queries[0].word, "de");
}

struct ShiftRig : PipelineRig {
    ShiftRig() { engine.correct("ghbdtn", "привет", "ru"); }
    void drain() { drainQueue(hook); }
};

TEST(FocusContext, BoundaryKeyIsSentAgainWithTheShiftTheUserHolds) {
    struct Case {
        uint32_t shiftVk;
        uint32_t boundaryVk;
        char16_t expectedEnd;
    } cases[] = {{0xA0, 0x0D, u'\n'}, {0xA1, 0x0D, u'\n'}, {0xA0, 0x09, u'\t'}};
    for (const Case& c : cases) {
        ShiftRig rig;
        rig.type("ok ghbdtn");
        rig.key(c.shiftVk, true);
        EXPECT_EQ(rig.key(c.boundaryVk, true), HookVerdict::Swallow);
        rig.drain();
        EXPECT_EQ(rig.editor.text, std::u16string(u"ok привет") + c.expectedEnd);

        // The boundary went out in one call, Shift down before it, and Shift stays down.
        std::vector<SyntheticKey> keys = rig.input.allKeys();
        ASSERT_GE(keys.size(), 3u);
        const SyntheticKey shiftDown{uint16_t(c.shiftVk), uint16_t(c.shiftVk == 0xA1 ? 0x36 : 0x2A), 0};
        EXPECT_EQ(
            rig.input.calls.back(),
            (std::vector<SyntheticKey>{shiftDown,
                                       {uint16_t(c.boundaryVk), uint16_t(usScanCode(c.boundaryVk)), 0},
                                       {uint16_t(c.boundaryVk), uint16_t(usScanCode(c.boundaryVk)), keyflag::KeyUp}}));
        EXPECT_TRUE(rig.editor.shift) << "the system's Shift matches the key still held";
        // The replacement text went out without the user's Shift.
        auto firstChar =
            std::find_if(keys.begin(), keys.end(), [](const SyntheticKey& k) { return k.flags & keyflag::Unicode; });
        auto shiftUp = std::find(keys.begin(), keys.end(), SyntheticKey{shiftDown.vk, shiftDown.scan, keyflag::KeyUp});
        EXPECT_LT(shiftUp - keys.begin(), firstChar - keys.begin());
        rig.key(c.shiftVk, false);  // stamped before the replay ended: held back, then sent on
        rig.drain();
        EXPECT_FALSE(rig.editor.shift);
    }
}

// Enter pressed with Shift while a correction waits is held back with the
// rest; Shift is let go before the drain sends Enter out again. The Enter
// still goes out as Shift+Enter, as the user pressed it.
TEST(FocusContext, HeldBoundaryKeyKeepsTheShiftItWasPressedWith) {
    ShiftRig rig;
    rig.engine.correct("vbh", "мир", "ru");
    rig.type("ghbdtn vbh");
    rig.key(0xA0, true);
    rig.key(0x0D, true);
    rig.key(0x0D, false);
    rig.key(0xA0, false);
    ASSERT_FALSE(rig.state.queue.empty());
    rig.drain();
    EXPECT_EQ(rig.editor.text, u"привет мир\n");
    EXPECT_FALSE(rig.editor.shift);
    const std::vector<SyntheticKey> shiftEnter{{0xA0, 0x2A, 0}, {0x0D, 0x1C, 0}, {0x0D, 0x1C, keyflag::KeyUp}};
    EXPECT_TRUE(std::any_of(rig.input.calls.begin(), rig.input.calls.end(), [&](const auto& call) {
        return call == shiftEnter;
    })) << "Enter went out without the Shift it was pressed with";
}

TEST(FocusContext, WithoutShiftTheBoundaryIsPlain) {
    ShiftRig rig;
    rig.type("ghbdtn");
    rig.key(0x0D, true);
    rig.drain();
    EXPECT_EQ(rig.input.calls.back(), (std::vector<SyntheticKey>{{0x0D, 0x1C, 0}, {0x0D, 0x1C, keyflag::KeyUp}}));
    EXPECT_FALSE(rig.editor.shift);
}

}  // namespace
}  // namespace quillom::pipeline::testing
