#include <gtest/gtest.h>

#include "fakes.h"
#include "pipeline/correction_drain.h"

namespace quillom::pipeline::testing {
namespace {

const PendingCorrection& firstCorrection(const PipelineState& state) {
    EXPECT_FALSE(state.queue.empty());
    return std::get<PendingCorrection>(state.queue.front());
}

TEST(KeyboardHook, WrongLayoutWordEndedBySpaceIsSwallowedAndQueued) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.type("ghbdtn");
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Swallow);

    const PendingCorrection& c = firstCorrection(rig.state);
    EXPECT_EQ(c.eraseCount, 6u);
    EXPECT_EQ(c.typedWord, u"ghbdtn");
    EXPECT_EQ(c.replacement, u"привет");
    EXPECT_EQ(c.boundaryChar, 0x20u);
    EXPECT_EQ(c.boundaryKind, BoundaryKind::Space);
    EXPECT_EQ(c.targetLang, "ru");
    EXPECT_EQ(rig.state.queue.size(), 1u);
    EXPECT_EQ(rig.waker.wakes, 1);
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].appId, "notepad.exe");
    EXPECT_EQ(rig.engine.queries[0].inputSource, "en");
    EXPECT_FALSE(rig.engine.queries[0].hasUnknownBeginning);
    EXPECT_EQ(rig.editor.text, u"ghbdtn");
}

// Keys of a line: letters, digits, spaces; '/' the slash key, '^' Shift
// pressed and let go alone, '\t' Tab, '<' the left arrow, ';' the key of
// the semicolon (ж on the Cyrillic layouts), '-' the hyphen key, '\b'
// Backspace.
void typeKeys(PipelineRig& rig, std::string_view keys) {
    for (char c : keys) {
        switch (c) {
        case '/': rig.tap(0xBF); break;
        case '-': rig.tap(0xBD); break;
        case '\b': rig.tap(0x08); break;
        case '^': rig.tap(0xA0); break;
        case '\t': rig.tap(0x09); break;
        case '<': rig.tap(0x25); break;
        case ';': rig.tap(0xBA); break;
        default: rig.type(std::string(1, c));
        }
    }
}

// The engine is told what lies between the words and names the pieces that
// go along in its answer: a corrected word costs one call, whatever it takes
// along.
TEST(KeyboardHook, WordsBeforeAreCorrectedInTheSameReplay) {
    const std::optional<std::string> unknown;
    struct Case {
        const char* name;
        const char* keys;  // up to the corrected word "ujhjl", its Space excluded
        const char16_t* typed;
        const char16_t* replacement;
        std::optional<std::string> between;  // told with "ujhjl"
        std::size_t calls;                   // one a word
    } cases[] = {
        {"one space between", "d ujhjl", u"d ujhjl", u"в город", " ", 2},
        {"two spaces between", "d  ujhjl", u"ujhjl", u"город", unknown, 2},
        {"a tab between", "d\tujhjl", u"ujhjl", u"город", unknown, 2},
        {"an arrow key after the space", "d <ujhjl", u"ujhjl", u"город", unknown, 2},
        {"Shift alone after the space", "d ^ujhjl", u"d ujhjl", u"в город", " ", 2},
        {"a number with its mark", "5/ ujhjl", u"5/ ujhjl", u"5. город", "/ ", 2},
        {"two pieces, nearest first", "5/ d ujhjl", u"5/ d ujhjl", u"5. в город", " ", 3},
        {"the chain stops at a piece the engine keeps", "d x d ujhjl", u"d ujhjl", u"в город", " ", 4},
        {"no more than two pieces", "d d d ujhjl", u"d d ujhjl", u"в в город", " ", 4},
        {"a mark on its own parts the pieces", "5// ujhjl", u"ujhjl", u"город", unknown, 2},
        {"a mark right before the word", "d /ujhjl", u"ujhjl", u"город", unknown, 2},
        {"a key that gives a mark here and a letter there", "; ujhjl", u"; ujhjl", u"ж город", " ", 2},
        {"the first word", "ujhjl", u"ujhjl", u"город", unknown, 1},
        {"a dash alone between spaces", "d - ujhjl", u"d - ujhjl", u"в - город", " - ", 2},
        {"a dash after a mark and a space", "5/ - ujhjl", u"5/ - ujhjl", u"5. - город", "/ - ", 2},
        {"a dash right before the word", "d -ujhjl", u"ujhjl", u"город", unknown, 2},
        {"a dash right after the word", "d- ujhjl", u"ujhjl", u"город", "- ", 2},
        {"two spaces before the dash", "d  - ujhjl", u"ujhjl", u"город", unknown, 2},
        {"two spaces after the dash", "d -  ujhjl", u"ujhjl", u"город", unknown, 2},
        {"two dashes", "d -- ujhjl", u"ujhjl", u"город", unknown, 2},
        {"the dash erased", "d -\b ujhjl", u"ujhjl", u"город", unknown, 2},
        {"an arrow key after the dash", "d -< ujhjl", u"ujhjl", u"город", unknown, 2},
    };
    for (const Case& c : cases) {
        PipelineRig rig;
        rig.engine.correct("ujhjl", "город", "ru");
        rig.engine.wordsBefore[{"d", "ujhjl"}] = "в";
        rig.engine.wordsBefore[{"5/", "ujhjl"}] = "5.";
        rig.engine.wordsBefore[{";", "ujhjl"}] = "ж";
        rig.engine.wordsBefore[{"-", "ujhjl"}] = "-";
        typeKeys(rig, c.keys);
        EXPECT_EQ(rig.key(0x20, true), HookVerdict::Swallow) << c.name;
        const PendingCorrection& pc = firstCorrection(rig.state);
        EXPECT_EQ(pc.typedWord, c.typed) << c.name;
        EXPECT_EQ(pc.replacement, c.replacement) << c.name;
        EXPECT_EQ(pc.eraseCount, pc.typedWord.size()) << c.name;
        ASSERT_EQ(rig.engine.queries.size(), c.calls) << c.name;
        EXPECT_EQ(rig.engine.queries.back().typedSince, c.between) << c.name;
    }
}

// The replay erases what stands on screen, a dash alone between spaces
// included, and nothing before it: the text after it is exactly the
// correction of what was typed, whether the user waits for each replay or
// types on while it runs.
TEST(KeyboardHook, ADashAloneBetweenSpacesIsReplacedWhereItStands) {
    struct Case {
        const char* keys;
        const char16_t* screen;  // after the replay
    } cases[] = {
        {"d - ujhjl ", u"в - город "},              // the dash goes along as it stands
        {"5/ - ujhjl ", u"5. - город "},            // after a number and its mark
        {"ujhjl - d ujhjl ", u"город - в город "},  // a correction before the dash stays
        {"d -\b ujhjl ", u"d  город "},             // the dash erased: the word alone
        {"d -\b\b\bujhjl ", u"город "},             // everything before erased
        {"d -ujhjl ", u"d -город "},                // a dash right before the word
        {"d  - ujhjl ", u"d  - город "},            // two spaces before the dash
    };
    for (const Case& c : cases) {
        for (const bool waits : {true, false}) {
            PipelineRig rig;
            rig.engine.correct("ujhjl", "город", "ru");
            rig.engine.wordsBefore[{"d", "ujhjl"}] = "в";
            rig.engine.wordsBefore[{"5/", "ujhjl"}] = "5.";
            rig.engine.wordsBefore[{"-", "ujhjl"}] = "-";
            for (const char key : std::string_view(c.keys)) {
                typeKeys(rig, std::string_view(&key, 1));
                if (waits) drainQueue(rig.hook);
            }
            drainQueue(rig.hook);
            EXPECT_EQ(rig.editor.text, c.screen) << c.keys << (waits ? "" : ", typed on");
        }
    }
}

TEST(KeyboardHook, WordThatNeedsNoCorrectionPassesItsBoundary) {
    PipelineRig rig;
    rig.type("hello");
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass);
    EXPECT_TRUE(rig.state.queue.empty());
    EXPECT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.waker.wakes, 0);
}

TEST(KeyboardHook, BoundaryWithoutWordNeverReachesTheEngine) {
    PipelineRig rig;
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass);
    EXPECT_TRUE(rig.engine.queries.empty());
}

TEST(KeyboardHook, LayoutOfAnotherLanguageCallsNothing) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.desktop.layout = 0x0407;  // German
    rig.type("ghbdtn");
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass);
    EXPECT_TRUE(rig.engine.queries.empty());
}

// где typed on the Ukrainian layout reads где on the Russian one: nothing to
// retype, the boundary goes through, and the window is asked for the Russian
// layout so that the next word comes out in Russian.
TEST(KeyboardHook, AKeptWordOfAnotherLanguageOfItsScriptSwitchesTheLayoutOnly) {
    struct Case {
        const char* name;
        Decision verdict;
        std::vector<std::pair<WindowId, LayoutId>> requests;
    } cases[] = {
        {"layout follows", {false, "", 0.0, "ru", "layout_follows_language"}, {{101, 0x04190419}}},
        {"another refusal with a target", {false, "", 0.0, "ru", "candidate_score_too_low"}, {}},
        {"nothing to follow", {false, "", 0.0, "", "layout_follows_language"}, {}},
    };
    for (const Case& c : cases) {
        PipelineRig rig;
        rig.desktop.layout = 0x0422;
        rig.engine.verdicts["где"] = c.verdict;
        rig.type("ult");
        EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass) << c.name;
        ASSERT_EQ(rig.engine.queries.size(), 1u) << c.name;
        EXPECT_EQ(rig.desktop.layoutRequests, c.requests) << c.name;
        EXPECT_EQ(rig.input.calls.size(), 0u) << c.name << ": nothing is retyped";
    }
}

TEST(KeyboardHook, RussianLayoutIsReportedAsTheInputSource) {
    PipelineRig rig;
    rig.desktop.layout = 0x0419;
    rig.type("ab ");
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].inputSource, "ru");
}

TEST(KeyboardHook, OwnInjectedKeysAreInvisible) {
    PipelineRig rig;
    rig.engine.correct("ab", "фи", "ru");
    const KeyEvent injectedShift{0x10, 0, true, false, 0, kInjectedMarker};
    const KeyEvent injectedLetter{'Q', 0, true, false, 0, kInjectedMarker};
    EXPECT_EQ(rig.hook.onKey(injectedShift), HookVerdict::Pass);
    EXPECT_EQ(rig.hook.onKey(injectedLetter), HookVerdict::Pass);
    EXPECT_FALSE(rig.state.capture.shiftHeld());
    rig.type("ab");
    EXPECT_EQ(rig.state.capture.word(), u"ab");
    const KeyEvent injectedSpace{0x20, 0, true, false, 0, kInjectedMarker};
    EXPECT_EQ(rig.hook.onKey(injectedSpace), HookVerdict::Pass);
    EXPECT_TRUE(rig.engine.queries.empty());
}

TEST(KeyboardHook, ShiftOneEndsTheWordAsPunctuation) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.type("ghbdtn");
    rig.key(0x10, true);
    EXPECT_EQ(rig.key('1', true), HookVerdict::Swallow);
    EXPECT_EQ(rig.key(0x10, false), HookVerdict::Swallow) << "held behind the correction";
    const PendingCorrection& c = firstCorrection(rig.state);
    EXPECT_EQ(c.boundaryChar, uint32_t(u'!'));
    EXPECT_EQ(c.boundaryKind, BoundaryKind::Punctuation);
}

// The Russian layout has the colon on Shift+6 and the quotation mark on
// Shift+2: "ghbdtn^" is "привет:", and the key comes back as the colon.
TEST(KeyboardHook, DigitRowMarksEndTheWordAndComeBackAsTheTargetLayoutsMarks) {
    struct Case {
        uint32_t vk;
        char16_t typed, meant;
    } cases[] = {{'6', u'^', u':'}, {'7', u'&', u'?'}, {0xBD, u'-', u'-'}};
    for (const Case& c : cases) {
        PipelineRig rig;
        rig.engine.correct("ghbdtn", "привет", "ru");
        rig.type("ghbdtn");
        const bool shifted = c.vk != 0xBD;
        if (shifted) rig.key(0x10, true);
        EXPECT_EQ(rig.key(c.vk, true), HookVerdict::Swallow) << int(c.typed);
        const PendingCorrection& pc = firstCorrection(rig.state);
        EXPECT_EQ(pc.boundaryChar, uint32_t(c.typed));
        EXPECT_EQ(pc.boundaryKind, BoundaryKind::Punctuation);
        EXPECT_EQ(pc.boundaryAfterSwitch, uint32_t(c.meant));
    }
    // The at sign joins the word: the engine reads it at the word's edges.
    PipelineRig rig;
    rig.key(0x10, true);
    rig.key('2', true);
    rig.key(0x10, false);
    rig.type("ghbdtn ");
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].word, "@ghbdtn");
}

// "system-db": the part after a hyphen goes with a part left as typed, so
// its beginning is not a word's; after a corrected part (rnj-yb,elm for
// кто-нибудь) it is.
TEST(KeyboardHook, AHyphenAfterAWordLeftAsTypedMakesTheRestATail) {
    PipelineRig rig;
    rig.type("system");
    EXPECT_EQ(rig.key(0xBD, true), HookVerdict::Pass);
    rig.type("db ");
    ASSERT_EQ(rig.engine.queries.size(), 2u);
    EXPECT_EQ(rig.engine.queries[0].word, "system");
    EXPECT_FALSE(rig.engine.queries[0].hasUnknownBeginning);
    EXPECT_EQ(rig.engine.queries[1].word, "db");
    EXPECT_TRUE(rig.engine.queries[1].hasUnknownBeginning);
    EXPECT_TRUE(rig.state.capture.word().empty());
    EXPECT_FALSE(rig.state.capture.hasUnknownBeginning()) << "the space after the tail starts a word";
}

TEST(KeyboardHook, FullScreenWindowPausesCorrectionWhenAsked) {
    for (bool pauseInGames : {true, false}) {
        PipelineRig rig;
        rig.state.pauseInGames = pauseInGames;
        rig.desktop.foregroundGeometry = {false, true, false, false, Rect{0, 0, 1920, 1080}, Rect{0, 0, 1920, 1080}};
        rig.engine.correct("ghbdtn", "привет", "ru");
        rig.type("ghbdtn");
        HookVerdict verdict = rig.key(0x20, true);
        EXPECT_EQ(verdict, pauseInGames ? HookVerdict::Pass : HookVerdict::Swallow) << pauseInGames;
        EXPECT_EQ(rig.engine.queries.empty(), pauseInGames);
        EXPECT_EQ(rig.engine.resets, pauseInGames ? 1 : 0);
    }
}

TEST(KeyboardHook, SwitchingApplicationsResetsTheWordAndRecordsTheApplication) {
    PipelineRig rig;
    rig.desktop.exeNames[200] = "Word.EXE";
    rig.type("ab");
    rig.desktop.foreground = 200;
    rig.type("cd ");
    ASSERT_EQ(rig.engine.queries.size(), 1u);
    EXPECT_EQ(rig.engine.queries[0].word, "cd");
    EXPECT_EQ(rig.engine.queries[0].appId, "Word.EXE");
    EXPECT_TRUE(rig.engine.queries[0].hasUnknownBeginning);
    EXPECT_EQ(rig.engine.resets, 1);
    EXPECT_EQ(rig.state.recentApps.snapshot(), (std::vector<std::string>{"Word.EXE", "notepad.exe"}));
}

TEST(KeyboardHook, OwnWindowInForegroundChangesNothing) {
    PipelineRig rig;
    rig.type("a");
    rig.desktop.foreground = 300;
    rig.desktop.ownWindows = {300};
    rig.desktop.exeNames[300] = "Quillom.exe";
    rig.type("b ");
    EXPECT_EQ(rig.state.currentAppId, "notepad.exe");
    EXPECT_EQ(rig.state.recentApps.snapshot(), std::vector<std::string>{"notepad.exe"});
}

TEST(KeyboardHook, WordsTypedIntoOwnWindowsAreNeverCorrected) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.desktop.foreground = 300;
    rig.desktop.ownWindows = {300};
    rig.type("ghbdtn");
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass);
    EXPECT_TRUE(rig.engine.queries.empty());
    EXPECT_TRUE(rig.state.queue.empty());
}

TEST(KeyboardHook, ClickOrWheelEmptiesTheWord) {
    for (MouseMessage message : {MouseMessage::ButtonDown, MouseMessage::Wheel}) {
        PipelineRig rig;
        rig.type("ab");
        rig.hook.onMouse({message});
        EXPECT_TRUE(rig.state.capture.word().empty());
        EXPECT_EQ(rig.engine.resets, 1);
    }
    PipelineRig rig;
    rig.type("ab");
    rig.hook.onMouse({MouseMessage::Other});
    EXPECT_EQ(rig.state.capture.word(), u"ab");
}

TEST(KeyboardHook, InactiveCorrectionPassesEverythingAndCapturesNothing) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    setCorrectionActive(rig.state, false);
    rig.type("ghbdtn");
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass);
    EXPECT_TRUE(rig.engine.queries.empty());
    EXPECT_EQ(rig.editor.text, u"ghbdtn ");
}

TEST(KeyboardHook, EditingKeysThatEmptyTheWordAlsoResetTheEngineContext) {
    struct Case {
        const char* what;
        std::vector<uint32_t> keys;
        int resets;
    } cases[] = {
        {"Delete", {0x2E}, 1},
        {"Escape", {0x1B}, 1},
        {"arrow", {0x25}, 1},
        // A dash typed in running text: the capture forgets the word, the
        // engine keeps what the last words said.
        {"hyphen after a space", {0x20, 0xBD}, 0},
        {"hyphen in a compound", {0xBD}, 0},
        {"Backspace", {0x08}, 0},
        {"Backspace past the word", {0x08, 0x08, 0x08}, 0},
        {"Shift alone", {0x10}, 0},
        {"two resets in a row", {0x2E, 0x1B}, 1},
    };
    for (const Case& c : cases) {
        PipelineRig rig;
        rig.type("ab");
        for (uint32_t k : c.keys) rig.tap(k);
        EXPECT_EQ(rig.engine.resets, c.resets) << c.what;
    }
    PipelineRig rig;
    rig.type("ab");
    rig.key(0x10, true);
    rig.tap(0x08);
    EXPECT_EQ(rig.engine.resets, 1) << "Shift+Backspace resets";
}

TEST(KeyboardHook, TracksTheModifiersTheUserHolds) {
    PipelineRig rig;
    rig.key(0xA2, true);  // left Control
    rig.key(0xA0, true);  // left Shift
    rig.tap('U');
    EXPECT_TRUE(rig.state.heldModifiers.any());
    rig.key(0xA0, false);
    EXPECT_TRUE(rig.state.heldModifiers.any());
    rig.key(0xA2, false);
    EXPECT_FALSE(rig.state.heldModifiers.any());
    rig.hook.onKey({0x11, 0, true, false, 0, kInjectedMarker});
    EXPECT_FALSE(rig.state.heldModifiers.any()) << "our own Ctrl+C does not count";
}

TEST(KeyboardHook, WithoutEngineNothingIsEvaluated) {
    PipelineRig rig;
    rig.state.engine = nullptr;
    rig.type("ghbdtn");
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass);
}

// Key-ups released on the secure desktop never reach the hook; the system's
// key state, read at unlock, puts the flags right.
TEST(KeyboardHook, ModifiersLostOnTheSecureDesktopAreRebuiltFromTheSystem) {
    for (bool resynced : {false, true}) {
        SCOPED_TRACE(resynced ? "after the unlock" : "stuck");
        PipelineRig rig;
        rig.engine.correct("ghbdtn", "привет", "ru");
        rig.key(0xA2, true);  // left Control down; its up happens on the secure desktop
        rig.desktop.systemModifiersDown = {};
        if (resynced) rig.hook.resyncModifiers();
        rig.type("ghbdtn");
        EXPECT_EQ(rig.key(0x20, true), resynced ? HookVerdict::Swallow : HookVerdict::Pass);
        EXPECT_EQ(rig.state.heldModifiers.any(), !resynced);
    }
}

TEST(KeyboardHook, ModifiersTheSystemReportsDownAreTakenOver) {
    PipelineRig rig;
    rig.desktop.systemModifiersDown = {0xA1};  // right Shift
    rig.hook.resyncModifiers();
    EXPECT_TRUE(rig.state.capture.shiftHeld());
    EXPECT_TRUE(rig.state.heldModifiers.test(0xA1));
}

// UIPI drops our input to a window of a higher integrity level: the boundary
// key must not be swallowed there.
TEST(KeyboardHook, AnElevatedWindowIsNotCorrected) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.desktop.elevated = 100;
    rig.type("ghbdtn");
    EXPECT_EQ(rig.key(0x20, true), HookVerdict::Pass);
    EXPECT_TRUE(rig.state.queue.empty());
}

TEST(KeyboardHook, ClicksWhileACorrectionWaitsAreHeldAndMovesAreNot) {
    PipelineRig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.type("ghbdtn ");
    const MouseEvent down{MouseMessage::ButtonDown, 0x201, 5, 6, 0, rig.clock.now, 0};
    EXPECT_EQ(rig.hook.onMouse(down), HookVerdict::Swallow);
    EXPECT_EQ(rig.hook.onMouse({MouseMessage::Wheel, 0x20A, 5, 6, 0x00780000, rig.clock.now, 0}), HookVerdict::Swallow);
    EXPECT_EQ(rig.hook.onMouse({MouseMessage::Other, 0x200, 7, 8, 0, rig.clock.now, 0}), HookVerdict::Pass);
    EXPECT_EQ(rig.hook.onMouse({MouseMessage::ButtonDown, 0x201, 5, 6, 0, rig.clock.now, kInjectedMarker}),
              HookVerdict::Pass);
    ASSERT_EQ(rig.state.queue.size(), 4u) << "the correction, the Space's key-up, the click, the wheel";
    EXPECT_EQ(std::get<HeldMouse>(rig.state.queue[2]).event, down);
}

}  // namespace
}  // namespace quillom::pipeline::testing
