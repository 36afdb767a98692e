#include "fake_settings_host.h"
#include "ui/control_ids.h"
#include "ui/hotkey_field.h"

#include <gtest/gtest.h>

using namespace quillom::ui;
using quillom::tray::HotkeyBinding;
using quillom::ui::testing::FakeSettingsHost;

namespace {

constexpr uint32_t kAlt = 1, kCtrl = 2, kShift = 4, kWin = 8;

TEST(HotkeyFieldKey, KeyHandling) {
    const struct {
        uint32_t vk, mods;
        HotkeyKeyAction action;
        HotkeyBinding binding;
    } cases[] = {
        {0x1B, kCtrl, HotkeyKeyAction::Cancel, {}},             // Esc
        {0x2E, 0, HotkeyKeyAction::Clear, {}},                  // Delete
        {0x08, kAlt, HotkeyKeyAction::Clear, {}},               // Backspace
        {0x4B, 0, HotkeyKeyAction::Ignore, {}},                 // K without modifiers is refused
        {0x20, 0, HotkeyKeyAction::Ignore, {}},                 // Space alone
        {0x10, kShift, HotkeyKeyAction::Ignore, {}},            // Shift alone
        {0xA2, kCtrl, HotkeyKeyAction::Ignore, {}},             // left Ctrl alone
        {0xA5, kAlt | kCtrl, HotkeyKeyAction::Ignore, {}},      // right Alt (AltGr) alone
        {0x5B, kWin, HotkeyKeyAction::Ignore, {}},              // left Win alone
        {0x4B, kCtrl | kShift, HotkeyKeyAction::Bind, {6, 0x4B}},
        {0x74, kWin, HotkeyKeyAction::Bind, {8, 0x74}},         // Win+F5
        {0x7A, kCtrl | kAlt, HotkeyKeyAction::Bind, {3, 0x7A}},
        {0xC0, kAlt | 0x4000, HotkeyKeyAction::Bind, {1, 0xC0}},  // only the four modifier bits count
    };
    for (const auto& c : cases) {
        const HotkeyKey key = hotkeyFieldKey(c.vk, c.mods);
        EXPECT_EQ(key.action, c.action) << std::hex << c.vk << " mods " << c.mods;
        if (c.action == HotkeyKeyAction::Bind) {
            EXPECT_EQ(key.binding, c.binding) << std::hex << c.vk;
        }
    }
}

TEST(HotkeyFieldKey, FieldsMapToTheirSlots) {
    const std::pair<int, int> slots[] = {{ctrl::HotkeyUndo, 1},      {ctrl::HotkeyConvert, 2},
                                         {ctrl::HotkeyConvertEn, 3}, {ctrl::HotkeyConvertRu, 4},
                                         {ctrl::HotkeyConvertUk, 5}, {ctrl::ResetHotkeys, 0}};
    for (const auto& [id, slot] : slots) EXPECT_EQ(hotkeySlotOf(id), slot) << id;
}

TEST(HotkeyField, NewBindingIsStoredAndRegistered) {
    FakeSettingsHost host;
    ASSERT_TRUE(applyHotkeyField(host, ctrl::HotkeyConvertRu, {6, 0x52}));
    EXPECT_EQ(host.registered, 1);
    quillom::tray::HotkeyBindings reloaded;
    reloaded.load(host.store());
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::ConvertRu), (HotkeyBinding{6, 0x52}));

    // Cleared with Delete: stored as 0/0.
    ASSERT_TRUE(applyHotkeyField(host, ctrl::HotkeyUndo, {}));
    reloaded.load(host.store());
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::Undo), HotkeyBinding{});

    EXPECT_FALSE(applyHotkeyField(host, ctrl::HotkeyConvert, {0, 0x4B}));
    EXPECT_FALSE(applyHotkeyField(host, ctrl::Search, {2, 0x4B}));
    EXPECT_EQ(host.registered, 2);

    resetHotkeys(host);
    reloaded.load(host.store());
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::Undo), (HotkeyBinding{3, 0x7A}));
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::ConvertRu), HotkeyBinding{});
    EXPECT_EQ(host.registered, 3);
}

}  // namespace
