#include <gtest/gtest.h>

#include <vector>

#include "tray/launch_at_login.h"

namespace quillom::tray {
namespace {

TEST(LaunchAtLogin, StartupSettingsChoiceIsTheLowestBitOfTheFirstByte) {
    const struct {
        std::vector<uint8_t> data;
        bool disabled;
    } cases[] = {
        {{}, false},  // no value: the user chose nothing
        {{0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
        {{0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
        {{0x03, 0, 0, 0, 0xd4, 0x0d, 0x43, 0x8d, 0xc8, 0x3b, 0xd9, 0x01}, true},
        {{0x07, 0, 0, 0, 0x71, 0xc9, 0x33, 0xae, 0x16, 0xd9, 0xd1, 0x01}, true},
        {{0x03}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(disabledInStartupSettings(c.data), c.disabled) << int(c.data.size());
}

}  // namespace
}  // namespace quillom::tray
