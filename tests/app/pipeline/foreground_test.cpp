#include <gtest/gtest.h>

#include "pipeline/foreground.h"
#include "pipeline/pause_state.h"
#include "pipeline/hook_timing.h"

namespace quillom::pipeline {
namespace {

TEST(RecentApps, KeepsTheLastFourMostRecentFirst) {
    RecentApps apps;
    for (const char* name : {"a.exe", "b.exe", "c.exe", "d.exe", "e.exe"}) apps.record(name);
    EXPECT_EQ(apps.snapshot(), (std::vector<std::string>{"e.exe", "d.exe", "c.exe", "b.exe"}));
    apps.record("c.exe");
    EXPECT_EQ(apps.snapshot(), (std::vector<std::string>{"c.exe", "e.exe", "d.exe", "b.exe"}));
    apps.record("C.exe");  // a different name: the comparison is exact
    EXPECT_EQ(apps.snapshot().front(), "C.exe");
    apps.record("");
    EXPECT_EQ(apps.snapshot().front(), "C.exe");
}

TEST(FullScreen, CoversTheMonitorWithTwoPixelsOfSlack) {
    const Rect monitor{0, 0, 1920, 1080};
    auto window = [&](Rect r) { return WindowGeometry{false, true, false, false, r, monitor}; };
    struct Case {
        const char* what;
        WindowGeometry g;
        bool expected;
    } cases[] = {
        {"exact", window({0, 0, 1920, 1080}), true},
        {"larger", window({-8, -8, 1928, 1088}), true},
        {"2 px smaller", window({2, 2, 1918, 1078}), true},
        {"3 px smaller", window({3, 3, 1917, 1077}), false},
        {"maximised above a taskbar", window({0, 0, 1920, 1040}), false},
        {"invisible", {false, false, false, false, Rect{0, 0, 1920, 1080}, monitor}, false},
        {"minimised", {false, true, true, false, Rect{0, 0, 1920, 1080}, monitor}, false},
        {"child", {false, true, false, true, Rect{0, 0, 1920, 1080}, monitor}, false},
        {"shell", {true, true, false, false, Rect{0, 0, 1920, 1080}, monitor}, false},
        {"no rectangle", {false, true, false, false, std::nullopt, monitor}, false},
        {"no monitor", {false, true, false, false, Rect{0, 0, 1920, 1080}, std::nullopt}, false},
        {"second monitor", {false, true, false, false, Rect{1920, 0, 3840, 1080}, Rect{1920, 0, 3840, 1080}}, true},
    };
    for (const Case& c : cases) EXPECT_EQ(isFullScreen(c.g), c.expected) << c.what;
}

TEST(ApplicationNames, FileNameAndDisplayName) {
    EXPECT_EQ(fileNameOf("C:\\Windows\\notepad.exe"), "notepad.exe");
    EXPECT_EQ(fileNameOf("/usr/bin/x/y.EXE"), "y.EXE");
    EXPECT_EQ(fileNameOf("plain"), "plain");
    EXPECT_EQ(displayNameOf("notepad.exe"), "notepad");
    EXPECT_EQ(displayNameOf("Word.EXE"), "Word");
    EXPECT_EQ(displayNameOf(".exe"), ".exe");
    EXPECT_EQ(displayNameOf("a.exe"), "a");
    EXPECT_EQ(displayNameOf("tool.com"), "tool.com");
}

TEST(PauseState, CommandsAndTheTimer) {
    struct Case {
        PauseState before;
        PauseCommand command;
        PauseState after;
        PauseTimer timer;
    } cases[] = {
        {{true, false}, PauseCommand::PauseFor15Minutes, {true, true}, PauseTimer::Start},
        {{true, false}, PauseCommand::PauseUntilRestart, {true, true}, PauseTimer::Kill},
        {{true, true}, PauseCommand::Resume, {true, false}, PauseTimer::Kill},
        {{true, true}, PauseCommand::PauseTimerEnded, {true, false}, PauseTimer::Kill},
        {{true, true}, PauseCommand::ToggleEnabled, {false, false}, PauseTimer::Kill},
        {{false, false}, PauseCommand::ToggleEnabled, {true, false}, PauseTimer::Kill},
    };
    for (const Case& c : cases) {
        PauseState s = c.before;
        EXPECT_EQ(applyPauseCommand(s, c.command), c.timer) << int(c.command);
        EXPECT_EQ(s.enabled, c.after.enabled) << int(c.command);
        EXPECT_EQ(s.paused, c.after.paused) << int(c.command);
    }
}

TEST(PauseState, StatusInItsOrder) {
    EXPECT_EQ(statusOf({false, true}, true), Status::Disabled);
    EXPECT_EQ(statusOf({true, true}, true), Status::Paused);
    EXPECT_EQ(statusOf({true, false}, true), Status::PausedFullScreen);
    EXPECT_EQ(statusOf({true, false}, false), Status::Active);
    EXPECT_FALSE(correctionActive({true, true}));
    EXPECT_TRUE(correctionActive({true, false}));
}

TEST(HookTiming, PercentilesAndMaximum) {
    HookTiming timing;
    EXPECT_EQ(timing.summary().count, 0u);
    for (uint32_t us = 100; us >= 1; --us) timing.record(us);
    TimingSummary s = timing.summary();
    EXPECT_EQ(s.count, 100u);
    EXPECT_EQ(s.p50, 50u);
    EXPECT_EQ(s.p99, 99u);
    EXPECT_EQ(s.max, 100u);
}

}  // namespace
}  // namespace quillom::pipeline
