#include <gtest/gtest.h>

#include "tray/hotkey_gate.h"

namespace quillom::tray {
namespace {

TEST(HotkeyGate, RunsAtOnceWithoutHeldModifiers) {
    HotkeyGate gate;
    EXPECT_EQ(gate.press(1, false, 0), 1);
    EXPECT_FALSE(gate.waiting());
    EXPECT_EQ(gate.poll(false, 10), std::nullopt);
}

TEST(HotkeyGate, WaitsForTheModifiersToBeReleased) {
    HotkeyGate gate;
    EXPECT_EQ(gate.press(2, true, 100), std::nullopt);
    EXPECT_TRUE(gate.waiting());
    EXPECT_EQ(gate.poll(true, 150), std::nullopt);
    EXPECT_EQ(gate.poll(false, 160), 2);
    EXPECT_FALSE(gate.waiting());
    EXPECT_EQ(gate.poll(false, 170), std::nullopt) << "runs once";
}

TEST(HotkeyGate, GivesUpWaitingAfterASecondAndTakesTheNewestPress) {
    HotkeyGate gate;
    gate.press(1, true, 0xFFFFFF00u);
    gate.press(2, true, 0xFFFFFF80u);  // the tick count wraps meanwhile
    EXPECT_EQ(gate.poll(true, 0xFFFFFF80u + HotkeyGate::kMaxWaitMs - 1), std::nullopt);
    EXPECT_EQ(gate.poll(true, 0xFFFFFF80u + HotkeyGate::kMaxWaitMs), 2);
}

}  // namespace
}  // namespace quillom::tray
