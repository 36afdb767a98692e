#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/correction_drain.h"
#include "pipeline/undo_convert.h"

namespace quillom::pipeline::testing {
namespace {

struct CommandRig : PipelineRig {
    CommandRig() { engine.correct("ghbdtn", "привет", "ru"); }
    void typeAndDrain(std::string_view text) {
        type(text);
        drainQueue(hook);
        clock.now += 5;  // later keys are not held behind the replay
    }
};

TEST(Undo, RestoresTheTypedWordAndItsBoundary) {
    CommandRig rig;
    rig.typeAndDrain("ghbdtn ");
    rig.desktop.layout = 0x0419;  // the correction switched the window to Russian
    rig.sound.played.clear();

    std::optional<std::string> restored = undoLastCorrection(rig.hook);
    ASSERT_TRUE(restored);
    EXPECT_EQ(*restored, "ghbdtn");
    EXPECT_EQ(rig.editor.text, u"ghbdtn ");
    EXPECT_EQ(rig.desktop.layoutRequests.back().second, LayoutId(0x04090409));
    EXPECT_EQ(rig.sound.played, std::vector<std::u16string>{u"SystemExclamation"});
    EXPECT_FALSE(rig.state.undo.available);
    EXPECT_FALSE(undoLastCorrection(rig.hook)) << "a second Undo does nothing";
}

// A punctuation key after a word typed on the wrong layout is the target
// layout's key: "?" is the Russian comma, "/" the Russian full stop. Undo
// gives back what was typed.
TEST(CorrectionDrain, PunctuationKeyComesOutAsInTheLayoutSwitchedTo) {
    struct Case {
        const char* name;
        uint32_t vk;
        bool shift;
        std::string target;
        std::vector<LayoutId> installed;
        std::u16string corrected, undone;
    } cases[] = {
        {"? is the Russian comma", 0xBF, true, "ru", {0x04090409, 0x04190419}, u"привет,", u"ghbdtn?"},
        {"/ is the Russian full stop", 0xBF, false, "ru", {0x04090409, 0x04190419}, u"привет.", u"ghbdtn/"},
        {"? is the Ukrainian comma", 0xBF, true, "uk", {0x04090409, 0x04220422}, u"привет,", u"ghbdtn?"},
        {"! is the same key on both", '1', true, "ru", {0x04090409, 0x04190419}, u"привет!", u"ghbdtn!"},
        {"no Russian layout: the window keeps English",
         0xBF,
         true,
         "ru",
         {0x04090409, 0x04220422},
         u"привет?",
         u"ghbdtn?"},
    };
    for (const Case& c : cases) {
        CommandRig rig;
        rig.engine.correct("ghbdtn", "привет", c.target);
        rig.desktop.layouts = c.installed;
        rig.type("ghbdtn");
        if (c.shift) rig.key(0xA0, true);
        EXPECT_EQ(rig.key(c.vk, true), HookVerdict::Swallow) << c.name;
        drainQueue(rig.hook);
        if (c.shift) rig.key(0xA0, false);
        drainQueue(rig.hook);
        EXPECT_EQ(rig.editor.text, c.corrected) << c.name;
        EXPECT_EQ(rig.state.capture.shiftHeld(), false) << c.name;

        rig.clock.now += 5;
        ASSERT_TRUE(undoLastCorrection(rig.hook)) << c.name;
        EXPECT_EQ(rig.editor.text, c.undone) << c.name;
    }
}

TEST(Undo, AfterEnterErasesTheLineBreakAndSendsEnterAgain) {
    CommandRig rig;
    rig.typeAndDrain("ghbdtn");
    rig.tap(0x0D);
    drainQueue(rig.hook);
    EXPECT_EQ(rig.editor.text, u"привет\n");
    rig.input.calls.clear();

    ASSERT_TRUE(undoLastCorrection(rig.hook));
    EXPECT_EQ(rig.editor.text, u"ghbdtn\n");
    std::vector<SyntheticKey> keys = rig.input.allKeys();
    EXPECT_EQ(std::count(keys.begin(), keys.end(), SyntheticKey{0x08, 0x0E, 0}), 7) << "six letters and the line break";
    EXPECT_EQ(keys.end()[-2], (SyntheticKey{0x0D, 0x1C, 0}));
}

TEST(Undo, NothingToUndoSendsNothing) {
    CommandRig rig;
    EXPECT_FALSE(undoLastCorrection(rig.hook));
    EXPECT_TRUE(rig.input.calls.empty());
}

// Ctrl+C in the fake copies `selection` to the clipboard, as an editor would.
struct ConvertRig : CommandRig {
    std::optional<std::u16string> selection;
    std::vector<std::u16string> pasted;

    ConvertRig() {
        input.afterSend = [this](std::span<const SyntheticKey> keys) {
            if (keys.size() != 4 || keys[0].vk != 0x11) return;
            if (keys[1].vk == 'C' && selection) {
                clipboard.text = *selection;
                ++clipboard.sequence;
            }
            if (keys[1].vk == 'V') pasted.push_back(clipboard.pasteRead().value_or(u""));
        };
    }
    // "ghbdtn" selected while the clipboard holds "keep me"; the engine makes it привет.
    void selectGhbdtnOverKeptText() {
        clipboard.text = u"keep me";
        selection = u"ghbdtn";
        engine.conversions[{"ghbdtn", ""}] = {"привет", "ru"};
    }
};

TEST(ConvertSelection, PastesTheConversionAndGivesTheClipboardBack) {
    ConvertRig rig;
    rig.clipboard.text = u"keep me";
    const std::vector<SavedFormat> image{{clipformat::Dib, SaveAs::Bytes, {40, 0, 0, 0, 1, 2}},
                                         {0xC0DE, SaveAs::Bytes, {7, 7}}};
    rig.clipboard.others = image;
    rig.selection = u"ghbdtn vbh";
    rig.engine.conversions[{"ghbdtn vbh", ""}] = {"привет мир", "ru"};

    std::optional<ConversionResult> result = convertSelection(rig.hook, "");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->selection, "ghbdtn vbh");
    EXPECT_EQ(result->converted, "привет мир");
    EXPECT_EQ(result->targetLang, "ru");
    EXPECT_EQ(rig.pasted, std::vector<std::u16string>{u"привет мир"});
    EXPECT_EQ(rig.clipboard.text, u"keep me");
    EXPECT_EQ(rig.clipboard.others, image);
    EXPECT_EQ(rig.desktop.layoutRequests.back().second, LayoutId(0x04190419));
    EXPECT_EQ(rig.sound.played, std::vector<std::u16string>{u"SystemAsterisk"});
    for (HookVerdict v : rig.input.injectedVerdicts) EXPECT_EQ(v, HookVerdict::Pass);
}

TEST(ConvertSelection, ClipboardStillOpenForThePasteIsRestoredOnceFree) {
    ConvertRig rig;
    rig.selectGhbdtnOverKeptText();
    rig.input.afterSend = [&rig, base = rig.input.afterSend](std::span<const SyntheticKey> keys) {
        base(keys);
        if (keys.size() == 4 && keys[1].vk == 'V') rig.clipboard.busyWrites = 3;
    };
    ASSERT_TRUE(convertSelection(rig.hook, ""));
    EXPECT_EQ(rig.clipboard.text, u"keep me");
}

// The clipboard busy at the two moments Convert needs it: right after the
// copy (the copying program still holds it open) and before, when the
// user's clipboard is to be saved.
TEST(ConvertSelection, BusyClipboardIsWaitedForOrNothingIsDone) {
    struct Case {
        const char* what;
        bool busyAfterCopy;
        int busyWaits;  // how many 10 ms waits the clipboard stays busy
        bool converted;
    } cases[] = {
        {"copy still open a moment", true, 3, true},
        {"saving waits for a short hold", false, 3, true},
        {"saving never possible", false, 1000, false},
    };
    for (const Case& c : cases) {
        ConvertRig rig;
        rig.selectGhbdtnOverKeptText();
        int busyLeft = 0;
        auto holdClipboard = [&] {
            busyLeft = c.busyWaits;
            rig.clipboard.busy = true;
        };
        rig.clock.whileWaiting = [&] {
            if (busyLeft > 0 && --busyLeft == 0) rig.clipboard.busy = false;
        };
        if (c.busyAfterCopy) {
            rig.input.afterSend = [&, base = rig.input.afterSend](std::span<const SyntheticKey> keys) {
                base(keys);
                if (keys.size() == 4 && keys[1].vk == 'C') holdClipboard();
            };
        } else {
            holdClipboard();
        }
        const bool converted = convertSelection(rig.hook, "").has_value();
        EXPECT_EQ(converted, c.converted) << c.what;
        EXPECT_EQ(rig.pasted, c.converted ? std::vector<std::u16string>{u"привет"} : std::vector<std::u16string>{})
            << c.what;
        if (!c.converted) {
            EXPECT_TRUE(rig.input.calls.empty()) << c.what << ": not even the copy was sent";
        }
        rig.clipboard.busy = false;
        EXPECT_EQ(rig.clipboard.text, u"keep me") << c.what;
    }
}

TEST(ConvertSelection, ClipboardIsGivenBackOnlyAfterASlowTargetPasted) {
    for (unsigned pasteAfterMs : {0u, 400u, 900u}) {
        ConvertRig rig;
        rig.selectGhbdtnOverKeptText();
        std::optional<uint32_t> pasteAt;
        rig.input.afterSend = [&](std::span<const SyntheticKey> keys) {
            if (keys.size() != 4 || keys[0].vk != 0x11) return;
            if (keys[1].vk == 'C') {
                rig.clipboard.text = rig.selection;
                ++rig.clipboard.sequence;
            }
            if (keys[1].vk == 'V') pasteAt = rig.clock.now + pasteAfterMs;
        };
        rig.clock.whileWaiting = [&] {
            if (pasteAt && rig.clock.now >= *pasteAt) {
                rig.pasted.push_back(rig.clipboard.pasteRead().value_or(u""));
                pasteAt.reset();
            }
        };
        ASSERT_TRUE(convertSelection(rig.hook, "")) << pasteAfterMs;
        EXPECT_EQ(rig.pasted, std::vector<std::u16string>{u"привет"}) << pasteAfterMs;
        EXPECT_EQ(rig.clipboard.text, u"keep me") << pasteAfterMs;
    }
}

TEST(ConvertSelection, TargetThatNeverPastesGetsTheClipboardBackInTheEnd) {
    ConvertRig rig;
    rig.selectGhbdtnOverKeptText();
    rig.input.afterSend = [&rig](std::span<const SyntheticKey> keys) {
        if (keys.size() == 4 && keys[1].vk == 'C') {
            rig.clipboard.text = rig.selection;
            ++rig.clipboard.sequence;
        }
    };
    const unsigned before = rig.clock.waited;
    EXPECT_TRUE(convertSelection(rig.hook, ""));
    EXPECT_EQ(rig.clipboard.text, u"keep me");
    EXPECT_GE(rig.clock.waited - before, 1000u);
    EXPECT_LT(rig.clock.waited - before, 1500u) << "bounded";
}

TEST(ConvertSelection, ConversionThatCannotBePutOnTheClipboardIsNotPasted) {
    ConvertRig rig;
    rig.selectGhbdtnOverKeptText();
    rig.input.afterSend = [&rig, base = rig.input.afterSend](std::span<const SyntheticKey> keys) {
        base(keys);
        if (keys.size() == 4 && keys[1].vk == 'C') rig.clipboard.busyWrites = 50;  // every write attempt
    };
    EXPECT_FALSE(convertSelection(rig.hook, ""));
    EXPECT_TRUE(rig.pasted.empty());
    EXPECT_TRUE(std::none_of(rig.input.calls.begin(), rig.input.calls.end(),
                             [](const auto& call) { return call.size() == 4 && call[1].vk == 'V'; }));
    EXPECT_EQ(rig.clipboard.text, u"keep me") << "put back once the clipboard was free";
    EXPECT_TRUE(rig.clipboard.writes.empty());
}

TEST(ConvertSelection, ChosenTargetGoesToTheEngine) {
    ConvertRig rig;
    rig.selection = u"ghbdtn";
    rig.engine.conversions[{"ghbdtn", "uk"}] = {"привет", "uk"};
    std::optional<ConversionResult> result = convertSelection(rig.hook, "uk");
    ASSERT_TRUE(result);
    EXPECT_EQ(rig.desktop.layoutRequests.back().second, LayoutId(0x04220422));
    EXPECT_FALSE(rig.clipboard.text) << "an empty clipboard is left empty";
}

TEST(ConvertSelection, NothingSelectedLeavesTheClipboardAsItWas) {
    ConvertRig rig;
    rig.clipboard.text = u"keep me";
    EXPECT_FALSE(convertSelection(rig.hook, ""));
    EXPECT_EQ(rig.clipboard.text, u"keep me");
    EXPECT_TRUE(rig.pasted.empty());
    EXPECT_EQ(rig.clock.waited, 400u) << "forty polls of 10 ms";
}

TEST(ConvertSelection, EngineThatConvertsNothingPastesNothing) {
    ConvertRig rig;
    rig.clipboard.text = u"keep me";
    rig.selection = u"12345";
    EXPECT_FALSE(convertSelection(rig.hook, ""));
    EXPECT_TRUE(rig.pasted.empty());
    EXPECT_EQ(rig.clipboard.text, u"keep me");
}

TEST(ConvertSelection, FromTheTrayMenuTheTextWindowGetsTheForegroundBack) {
    ConvertRig rig;
    rig.type("a");  // notepad (window 100) was seen
    rig.desktop.foreground = 300;
    rig.desktop.ownWindows = {300};
    rig.selection = u"ghbdtn";
    rig.engine.conversions[{"ghbdtn", ""}] = {"привет", "ru"};
    ASSERT_TRUE(convertSelection(rig.hook, ""));
    EXPECT_EQ(rig.desktop.broughtToFront, std::vector<WindowId>{100});
}

TEST(ConvertSelection, WorksWhileCorrectionIsPaused) {
    ConvertRig rig;
    setCorrectionActive(rig.state, false);
    rig.selection = u"ghbdtn";
    rig.engine.conversions[{"ghbdtn", ""}] = {"привет", "ru"};
    EXPECT_TRUE(convertSelection(rig.hook, ""));
}

}  // namespace
}  // namespace quillom::pipeline::testing

namespace quillom::pipeline::testing {
namespace {

// What may have changed the text around the correction ends the chance to undo it.
// Снаряді typed as "cyfhzls" and then a word that settles Russian: the first
// correction is read again in one replay with the second word, and one Undo
// gives back both words as they were typed.
struct RevisionRig : CommandRig {
    RevisionRig() {
        engine.correct("cyfhzls", "снаряді", "uk");
        engine.wordsBefore[{"cyfhzls", "ghbdtn"}] = "снаряды";
        engine.wordsBefore[{"cyfhzls", "ult"}] = "снаряды";
    }

    // The keys typed last queued one replacement into Russian; it is typed,
    // the layout follows, and one Undo gives back `undone`, handing learning
    // the word whose correction made the step.
    void expectOneReplayAndOneUndo(const char16_t* typed, const char16_t* replacement, uint32_t erased,
                                   const char16_t* screen, const char* learned, std::u16string_view undone) {
        const PendingCorrection& pc = std::get<PendingCorrection>(state.queue.front());
        EXPECT_EQ(pc.typedWord, typed);
        EXPECT_EQ(pc.replacement, replacement);
        EXPECT_EQ(pc.eraseCount, erased);
        EXPECT_EQ(pc.targetLang, "ru");
        drainQueue(hook);
        EXPECT_EQ(editor.text, screen);
        EXPECT_EQ(desktop.layoutRequests.back().second, LayoutId(0x04190419));
        EXPECT_EQ(undoLastCorrection(hook), std::optional<std::string>(learned));
        EXPECT_EQ(editor.text, undone);
    }
};

TEST(Undo, ACorrectionReadAgainWithTheNextWordIsUndoneWithIt) {
    struct Case {
        const char* name;
        Decision second;  // the verdict on the second word
        const char* keys;
        const char16_t* typed;
        const char16_t* replacement;
        uint32_t erased;  // снаряді, the space and the second word as typed
        const char16_t* screen;
        const char16_t* undone;
        const char* learned;  // the word whose correction made the step
    } cases[] = {
        {"the next word corrected",
         {true, "привет", 0.9, "ru", "layout_mismatch"},
         "ghbdtn ",
         u"cyfhzls ghbdtn",
         u"снаряды привет",
         14,
         u"снаряды привет ",
         u"cyfhzls ghbdtn ",
         "ghbdtn"},
        {"the next word kept, its layout followed",
         {false, "", 0.0, "ru", "layout_follows_language"},
         "ult ",
         u"cyfhzls ult",
         u"снаряды ult",
         11,
         u"снаряды ult ",
         u"cyfhzls ult ",
         "cyfhzls"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RevisionRig rig;
        rig.engine.verdicts[c.keys == std::string_view("ult ") ? "ult" : "ghbdtn"] = c.second;
        rig.typeAndDrain("cyfhzls ");
        ASSERT_EQ(rig.editor.text, u"снаряді ");
        rig.type(c.keys);
        rig.expectOneReplayAndOneUndo(c.typed, c.replacement, c.erased, c.screen, c.learned, c.undone);
    }
}

TEST(Undo, NothingBetweenTheWordsButOneSpaceOrNoRevision) {
    struct Case {
        const char* name;
        std::function<void(RevisionRig&)> between;  // after "cyfhzls" and its space
        const char16_t* screen;
    } cases[] = {
        {"nothing", [](RevisionRig&) {}, u"снаряды привет "},
        {"Shift alone", [](RevisionRig& rig) { rig.tap(0xA0); }, u"снаряды привет "},
        {"a second space", [](RevisionRig& rig) { rig.tap(0x20); }, u"снаряді  привет "},
        {"Enter", [](RevisionRig& rig) { rig.tap(0x0D); }, u"снаряді \nпривет "},
        {"another window and back",
         [](RevisionRig& rig) {
             rig.desktop.foreground = 200;
             rig.tap(0xA0);
             rig.desktop.foreground = 100;
             rig.tap(0xA0);
         },
         u"снаряді привет "},
        {"another control", [](RevisionRig& rig) { rig.desktop.focus = 102; }, u"снаряді привет "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RevisionRig rig;
        rig.typeAndDrain("cyfhzls ");
        c.between(rig);
        rig.typeAndDrain("ghbdtn ");
        EXPECT_EQ(rig.editor.text, c.screen);
    }
}

// A guess stays open across words typed after it with one space each: the
// word that settles the other language has the guess and the words between
// read again in one replay, and one Undo gives back every word as typed.
TEST(Undo, AGuessReadAgainWithTheWordsAfterItIsUndoneWithThem) {
    struct Case {
        const char* name;
        const char* previous;  // what the hook asks the engine about
        const char* answer;
        const char* keys;  // after "cyfhzls "
        const char16_t* typed;
        const char16_t* replacement;
        uint32_t erased;
        const char16_t* screen;
        const char* learned;  // the word whose correction made the step
    } cases[] = {
        {"one word between, the last kept", "cyfhzls b", "снаряды и", "b ult ", u"cyfhzls b ult", u"снаряды и ult", 13,
         u"снаряды и ult ", "cyfhzls"},
        {"two words between, the last corrected", "cyfhzls b c", "снаряды и с", "b c ghbdtn ", u"cyfhzls b c ghbdtn",
         u"снаряды и с привет", 18, u"снаряды и с привет ", "ghbdtn"},
        {"three words between", "cyfhzls b c d", "снаряды и с в", "b c d ult ", u"cyfhzls b c d ult",
         u"снаряды и с в ult", 17, u"снаряды и с в ult ", "cyfhzls"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RevisionRig rig;
        rig.engine.verdicts["ult"] = {false, "", 0.0, "ru", "layout_follows_language"};
        rig.engine.wordsBefore[{c.previous, "ult"}] = c.answer;
        rig.engine.wordsBefore[{c.previous, "ghbdtn"}] = c.answer;
        rig.typeAndDrain("cyfhzls ");
        rig.type(c.keys);
        rig.expectOneReplayAndOneUndo(c.typed, c.replacement, c.erased, c.screen, c.learned,
                                      std::u16string(c.typed) + u" ");
    }
}

// Anything but one space after a word between, or a fourth word, ends the
// span: what was typed before it is no longer asked about.
TEST(Undo, AGuessIsReadAgainOnlyAcrossSingleSpacesAndUpToThreeWords) {
    struct Case {
        const char* name;
        std::function<void(RevisionRig&)> between;  // after "cyfhzls b"
        const char16_t* screen;
    } cases[] = {
        {"one space", [](RevisionRig& rig) { rig.type(" "); }, u"снаряды и ult "},
        {"a punctuation key",
         [](RevisionRig& rig) {
             rig.tap(0xBF);
             rig.type(" ");
         },
         u"снаряді b/ ult "},
        {"a second space", [](RevisionRig& rig) { rig.type("  "); }, u"снаряді b  ult "},
        {"Enter", [](RevisionRig& rig) { rig.tap(0x0D); }, u"снаряді b\nult "},
        {"Backspace and the space again",
         [](RevisionRig& rig) {
             rig.type(" ");
             rig.tap(0x08);
             rig.type(" ");
         },
         u"снаряді b ult "},
        {"another control",
         [](RevisionRig& rig) {
             rig.type(" ");
             rig.desktop.focus = 102;
         },
         u"снаряді b ult "},
        {"a click",
         [](RevisionRig& rig) {
             rig.type(" ");
             rig.hook.onMouse({MouseMessage::ButtonDown, 0x201, 5, 5, 0, rig.clock.now, 0});
         },
         u"снаряді b ult "},
        {"three more words", [](RevisionRig& rig) { rig.type(" c d e "); }, u"снаряді b c d e ult "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RevisionRig rig;
        rig.engine.verdicts["ult"] = {false, "", 0.0, "ru", "layout_follows_language"};
        for (const char* previous : {"cyfhzls b", "cyfhzls b/", "cyfhzls b c d e", "cyfhzls c d e"})
            rig.engine.wordsBefore[{previous, "ult"}] = "снаряды и";
        rig.typeAndDrain("cyfhzls b");
        c.between(rig);
        rig.typeAndDrain("ult ");
        EXPECT_EQ(rig.editor.text, c.screen);
    }
}

// What stands on screen after a replay the system cut short is unknown: a
// revision would erase the wrong characters.
TEST(Undo, ACorrectionTheSystemDidNotTakeIsNotReadAgain) {
    RevisionRig rig;
    rig.input.inserts = 0;
    rig.type("cyfhzls ");
    drainQueue(rig.hook);
    rig.clock.now += 5;
    rig.input.inserts.reset();
    rig.type("ghbdtn ");
    const PendingCorrection& pc = std::get<PendingCorrection>(rig.state.queue.front());
    EXPECT_EQ(pc.typedWord, u"ghbdtn");
    EXPECT_EQ(pc.eraseCount, 6u);
}

TEST(Undo, RecordExpiresWhenTheTextAroundItMayHaveChanged) {
    struct Case {
        const char* what;
        std::function<void(CommandRig&)> act;
        bool stillAvailable;
    };
    const Case cases[] = {
        {"a letter", [](CommandRig& rig) { rig.tap('A'); }, false},
        {"Backspace that does not take the correction back",
         [](CommandRig& rig) {
             rig.state.revert.enabled = false;
             rig.tap(0x08);
         },
         false},
        {"Delete", [](CommandRig& rig) { rig.tap(0x2E); }, false},
        {"an arrow key", [](CommandRig& rig) { rig.tap(0x25); }, false},
        {"Shift alone", [](CommandRig& rig) { rig.tap(0x10); }, true},
        {"the Undo hotkey",
         [](CommandRig& rig) {
             rig.state.undoHotkeyVk = 0x7A;
             rig.key(0x11, true);
             rig.key(0x12, true);
             rig.tap(0x7A);
         },
         true},
        {"a click in the corrected window",
         [](CommandRig& rig) {
             rig.hook.onMouse({MouseMessage::ButtonDown, 0x201, 5, 5, 0, rig.clock.now, 0});
         },
         false},
        {"a click elsewhere (the tray icon)",
         [](CommandRig& rig) {
             rig.desktop.windowUnderMouse = 500;
             rig.hook.onMouse({MouseMessage::ButtonDown, 0x201, 5, 5, 0, rig.clock.now, 0});
         },
         true},
        {"a key in another application",
         [](CommandRig& rig) {
             rig.desktop.foreground = 200;
             rig.tap(0x10);
             rig.tap('A');
         },
         false},
        {"keys in Quillom's own menu",
         [](CommandRig& rig) {
             rig.desktop.ownWindows = {300};
             rig.desktop.foreground = 300;
             rig.tap(0x28);
             rig.tap(0x0D);
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CommandRig rig;
        rig.typeAndDrain("ghbdtn ");
        ASSERT_TRUE(rig.state.undo.available);
        c.act(rig);
        EXPECT_EQ(rig.state.undo.available, c.stillAvailable);
        rig.desktop.foreground = 100;
        rig.input.calls.clear();
        EXPECT_EQ(undoLastCorrection(rig.hook).has_value(), c.stillAvailable);
        if (!c.stillAvailable) {
            EXPECT_TRUE(rig.input.calls.empty());
        }
    }
}

TEST(Undo, FromTheTrayMenuTypesIntoTheCorrectedWindowOnly) {
    CommandRig rig;
    rig.typeAndDrain("ghbdtn ");
    rig.desktop.ownWindows = {300};
    rig.desktop.foreground = 300;
    ASSERT_TRUE(undoLastCorrection(rig.hook));
    EXPECT_EQ(rig.desktop.broughtToFront, std::vector<WindowId>{100});
    EXPECT_EQ(rig.editor.text, u"ghbdtn ");
}

TEST(Undo, AnotherApplicationInFrontUndoesNothing) {
    CommandRig rig;
    rig.typeAndDrain("ghbdtn ");
    rig.desktop.foreground = 200;  // switched by mouse: no key told the hook
    rig.input.calls.clear();
    EXPECT_FALSE(undoLastCorrection(rig.hook));
    EXPECT_TRUE(rig.input.calls.empty());
    EXPECT_FALSE(rig.state.undo.available);
}

TEST(Undo, RefusedInputRestoresNothingToLearn) {
    CommandRig rig;
    rig.typeAndDrain("ghbdtn ");
    rig.input.inserts = 0;
    EXPECT_FALSE(undoLastCorrection(rig.hook));
    EXPECT_FALSE(rig.state.undo.available);
}

}  // namespace
}  // namespace quillom::pipeline::testing
