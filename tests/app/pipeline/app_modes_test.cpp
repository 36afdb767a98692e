#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/correction_drain.h"
#include "pipeline/undo_convert.h"

namespace quillom::pipeline::testing {
namespace {

// Notepad in front; Ctrl+C copies "ghbdtn" and Ctrl+V pastes what the
// clipboard offers, as the editor would.
struct ModeRig : PipelineRig {
    std::vector<std::u16string> pasted;
    ModeRig() {
        engine.correct("ghbdtn", "привет", "ru");
        engine.conversions[{"ghbdtn", ""}] = {"привет", "ru"};
        engine.conversions[{"ghbdtn", "ru"}] = {"привет", "ru"};
        input.afterSend = [this](std::span<const SyntheticKey> keys) {
            if (keys.size() != 4 || keys[0].vk != 0x11) return;
            if (keys[1].vk == 'C') {
                clipboard.text = u"ghbdtn";
                ++clipboard.sequence;
            }
            if (keys[1].vk == 'V') pasted.push_back(clipboard.pasteRead().value_or(u""));
        };
        type("ok ");  // notepad.exe comes to the front
    }
};

// What each mode lets happen in the application it is set for.
TEST(AppModes, EachModeAllowsItsActions) {
    struct Case {
        AppMode mode;
        AppAction action;
        bool happens;
    };
    const Case cases[] = {
        {AppMode::Automatic, AppAction::WordEnd, true},     {AppMode::Automatic, AppAction::Convert, true},
        {AppMode::Automatic, AppAction::ConvertTo, true},   {AppMode::Automatic, AppAction::Undo, true},
        {AppMode::HotkeysOnly, AppAction::WordEnd, false},  {AppMode::HotkeysOnly, AppAction::Convert, true},
        {AppMode::HotkeysOnly, AppAction::ConvertTo, true}, {AppMode::HotkeysOnly, AppAction::Undo, true},
        {AppMode::Off, AppAction::WordEnd, false},          {AppMode::Off, AppAction::Convert, false},
        {AppMode::Off, AppAction::ConvertTo, false},        {AppMode::Off, AppAction::Undo, false},
    };
    for (const Case& c : cases) {
        ModeRig rig;
        const std::string name = "mode " + std::to_string(int(c.mode)) + " action " + std::to_string(int(c.action));
        bool happened = false;
        switch (c.action) {
        case AppAction::WordEnd:
            rig.state.appModes.set("Notepad.EXE", c.mode);
            rig.type("ghbdtn ");
            drainQueue(rig.hook);
            happened = rig.editor.text == u"ok привет ";
            if (!happened) {
                EXPECT_EQ(rig.editor.text, u"ok ghbdtn ") << name;
            }
            break;
        case AppAction::Convert:
        case AppAction::ConvertTo:
            rig.state.appModes.set("notepad.exe", c.mode);
            happened = convertSelection(rig.hook, c.action == AppAction::Convert ? "" : "ru").has_value();
            EXPECT_EQ(rig.pasted.size(), happened ? 1u : 0u) << name;
            if (!happened) {
                EXPECT_TRUE(rig.input.calls.empty()) << name << ": nothing sent";
            }
            break;
        case AppAction::Undo:
            // Set from the tray after a correction in the application.
            rig.type("ghbdtn ");
            drainQueue(rig.hook);
            rig.clock.now += 5;
            rig.state.appModes.set("notepad.exe", c.mode);
            happened = undoLastCorrection(rig.hook).has_value();
            EXPECT_EQ(rig.editor.text, happened ? u"ok ghbdtn " : u"ok привет ") << name;
            break;
        }
        EXPECT_EQ(happened, c.happens) << name;
        EXPECT_EQ(allows(c.mode, c.action), c.happens) << name;
    }
}

// A Backspace after a correction is Undo: off in an application set to Off
// after the correction, it deletes.
TEST(AppModes, BackspaceTakesBackOnlyWhereUndoWorks) {
    for (AppMode mode : kAppModes) {
        ModeRig rig;
        rig.type("ghbdtn ");
        drainQueue(rig.hook);
        rig.clock.now += 5;
        rig.state.appModes.set("notepad.exe", mode);
        rig.tap(0x08);
        drainQueue(rig.hook);
        EXPECT_EQ(rig.editor.text, mode == AppMode::Off ? u"ok привет" : u"ok ghbdtn ") << int(mode);
    }
}

TEST(AppModes, OtherApplicationsKeepAutomatic) {
    ModeRig rig;
    rig.state.appModes.set("code.exe", AppMode::Off);
    rig.type("ghbdtn ");
    drainQueue(rig.hook);
    EXPECT_EQ(rig.editor.text, u"ok привет ");
}

}  // namespace
}  // namespace quillom::pipeline::testing
