#include <gtest/gtest.h>

#include "pipeline/hook_watchdog.h"

namespace quillom::pipeline {
namespace {

TEST(HookWatchdog, InputTheHooksSawAsksForNothing) {
    HookWatchdog dog(1000);
    dog.hookCalled(5000);
    EXPECT_FALSE(dog.due(9000, 5000));
    EXPECT_FALSE(dog.due(9000, 5000 + HookWatchdog::kSlackMs)) << "read a little apart";
}

TEST(HookWatchdog, InputNoHookCallFollowedAsksOnceItIsOld) {
    HookWatchdog dog(1000);
    EXPECT_FALSE(dog.due(2500, 2000)) << "its call may still be on its way";
    EXPECT_TRUE(dog.due(3000, 2000));
    EXPECT_FALSE(dog.due(4000, 2000)) << "the same input asks once";
}

// Input the hooks are never shown (an elevated window) must not have them
// reinstalled every second.
TEST(HookWatchdog, ReinstallsThatBringNoCallBackOff) {
    HookWatchdog dog(0);
    std::vector<uint32_t> reinstalls;
    // Asked every second, finer than the timer, so that only the back-off spaces the reinstalls.
    for (uint32_t now = 2000; now <= 40000; now += 1000)
        if (dog.due(now, now - HookWatchdog::kGraceMs)) reinstalls.push_back(now);
    EXPECT_EQ(reinstalls, (std::vector<uint32_t>{2000, 4000, 8000, 16000, 32000}));

    dog.hookCalled(40500);
    EXPECT_TRUE(dog.due(42000, 41000)) << "a hook call resets the back-off";
}

}  // namespace
}  // namespace quillom::pipeline
