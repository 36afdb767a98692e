#include <gtest/gtest.h>

#include "tray/activity_timer.h"

namespace quillom::tray {
namespace {

// The refresh timer runs while input keeps coming and stops once the user has been quiet for
// kIdleMs; the next input starts it again, and input while it runs does not start it twice.
TEST(ActivityTimer, RunsWhileInputComesAndStopsWhenIdle) {
    enum Kind { Input, Tick };
    const struct {
        Kind kind;
        uint32_t at;
        bool expected;  // Input: the timer must start; Tick: the timer keeps running
        const char* why;
    } steps[] = {
        {Tick, 100, false, "a tick before any input stops a timer nobody started"},
        {Input, 1000, true, "first input starts it"},
        {Input, 1200, false, "input while it runs"},
        {Tick, 1600, true, "just after input"},
        {Tick, 6100, true, "4.9 s after the last input"},
        {Tick, 6200, false, "5 s after the last input: idle"},
        {Tick, 6800, false, "stays stopped"},
        {Input, 60000, true, "input after the quiet spell starts it again"},
        {Input, 64000, false, "input while it runs"},
        {Tick, 68000, true, "4 s after that input, not 8 s after the first"},
        {Input, 0xFFFFFF00u, false, "running across the tick count's wrap"},
        {Tick, 0x00000100u, true, "512 ms later, past the wrap"},
        {Tick, 0x00001400u, false, "5 s later, past the wrap"},
    };
    ActivityTimer timer;
    for (const auto& step : steps) {
        const bool got = step.kind == Input ? timer.input(step.at) : timer.tick(step.at);
        EXPECT_EQ(got, step.expected) << step.why;
    }
}

}  // namespace
}  // namespace quillom::tray
