#include "fake_settings_host.h"
#include "ui/control_ids.h"
#include "tray/interface_strings.h"
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
        {0x1B, kCtrl, HotkeyKeyAction::Cancel, {}},         // Esc
        {0x2E, 0, HotkeyKeyAction::Clear, {}},              // Delete
        {0x08, kAlt, HotkeyKeyAction::Clear, {}},           // Backspace
        {0x4B, 0, HotkeyKeyAction::Bind, {0, 0x4B}},        // K alone: applying it says why not
        {0x20, kShift, HotkeyKeyAction::Bind, {4, 0x20}},   // Shift+Space likewise
        {0x10, kShift, HotkeyKeyAction::Ignore, {}},        // Shift alone
        {0xA2, kCtrl, HotkeyKeyAction::Ignore, {}},         // left Ctrl alone
        {0xA5, kAlt | kCtrl, HotkeyKeyAction::Ignore, {}},  // right Alt (AltGr) alone
        {0x5B, kWin, HotkeyKeyAction::Ignore, {}},          // left Win alone
        {0x4B, kCtrl | kShift, HotkeyKeyAction::Bind, {6, 0x4B}},
        {0x74, kWin, HotkeyKeyAction::Bind, {8, 0x74}},  // Win+F5
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
    ASSERT_TRUE(applyHotkeyField(host, ctrl::HotkeyConvertRu, {6, 0x52}).accepted);
    EXPECT_EQ(host.registered, 1);
    quillom::tray::HotkeyBindings reloaded;
    reloaded.load(host.store());
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::ConvertRu), (HotkeyBinding{6, 0x52}));

    // Cleared with Delete: stored as 0/0.
    ASSERT_TRUE(applyHotkeyField(host, ctrl::HotkeyUndo, {}).accepted);
    reloaded.load(host.store());
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::Undo), HotkeyBinding{});

    EXPECT_FALSE(applyHotkeyField(host, ctrl::HotkeyConvert, {0, 0x4B}).accepted);
    EXPECT_FALSE(applyHotkeyField(host, ctrl::Search, {2 | 1, 0x4B}).accepted);
    EXPECT_EQ(host.registered, 2);

    resetHotkeys(host);
    reloaded.load(host.store());
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::Undo), (HotkeyBinding{3, 0x7A}));
    EXPECT_EQ(reloaded.binding(quillom::tray::hotkey::ConvertRu), HotkeyBinding{});
    EXPECT_EQ(host.registered, 3);
}

// Refused combinations stay out of the bindings and the file, and the field says why.
TEST(HotkeyField, RefusedCombinationsAreExplained) {
    quillom::tray::setInterfaceLanguage("en");
    FakeSettingsHost host;
    const std::string before = quillom::settings::testing::readText(host.store().preferencesPath());
    const struct {
        int field;
        HotkeyBinding binding;
        std::u16string message;
    } cases[] = {
        {ctrl::HotkeyConvertRu, {0, 0x4B}, u"Add Ctrl, Alt or Win."},
        {ctrl::HotkeyConvertRu, {kShift, 0x4B}, u"Add Ctrl, Alt or Win."},                   // Shift+K types a capital
        {ctrl::HotkeyConvertRu, {kAlt, 0x73}, u"Reserved for editing or closing windows."},  // Alt+F4
        {ctrl::HotkeyConvertRu, {kCtrl, 'C'}, u"Reserved for editing or closing windows."},
        {ctrl::HotkeyConvertRu, {kCtrl, 'V'}, u"Reserved for editing or closing windows."},
        {ctrl::HotkeyConvertRu, {kCtrl, 'X'}, u"Reserved for editing or closing windows."},
        {ctrl::HotkeyConvertRu, {kCtrl, 'Z'}, u"Reserved for editing or closing windows."},
        {ctrl::HotkeyConvertRu, {kCtrl, 'A'}, u"Reserved for editing or closing windows."},
        {ctrl::HotkeyConvertRu, {kCtrl | kAlt, 0x7A}, u"Already used by “Undo Last Correction”."},
        {ctrl::HotkeyUndo, {kCtrl | kAlt, 0x7B}, u"Already used by “Convert Selected Text”."},
    };
    for (const auto& c : cases) {
        const HotkeyFieldResult result = applyHotkeyField(host, c.field, c.binding);
        EXPECT_FALSE(result.accepted) << c.binding.vk;
        EXPECT_EQ(result.message, c.message) << c.binding.vk;
    }
    EXPECT_EQ(host.registered, 0);
    EXPECT_EQ(host.bindings.binding(quillom::tray::hotkey::ConvertRu), HotkeyBinding{});
    EXPECT_EQ(quillom::settings::testing::readText(host.store().preferencesPath()), before);

    // The same letters with Shift added, or Ctrl+Alt+F4, are ordinary shortcuts.
    EXPECT_TRUE(applyHotkeyField(host, ctrl::HotkeyConvertRu, {kCtrl | kShift, 'C'}).accepted);
    EXPECT_TRUE(applyHotkeyField(host, ctrl::HotkeyConvertUk, {kCtrl | kAlt, 0x73}).accepted);
    EXPECT_EQ(applyHotkeyField(host, ctrl::HotkeyConvertEn, {kCtrl | kShift, 'C'}).message,
              u"Already used by “Convert To RU”.");
}

TEST(HotkeyField, RegistrationRefusedBySystemShowsInTheField) {
    quillom::tray::setInterfaceLanguage("en");
    FakeSettingsHost host;
    EXPECT_EQ(hotkeyFieldText(host, ctrl::HotkeyUndo), u"?");
    host.bindings.setRegistrationRefused(quillom::tray::hotkey::Undo, true);
    EXPECT_EQ(hotkeyFieldText(host, ctrl::HotkeyUndo), u"? — In use by another program.");
    EXPECT_EQ(hotkeyFieldText(host, ctrl::HotkeyConvert), u"?");
}

TEST(HotkeyField, BindingAfterAFailedReadIsNotSaved) {
    FakeSettingsHost host;
    host.writePreferences(R"({"hotkeys":{"undo":{"mods":3,"vk":65}},"ui_language":"uk"})");
    const std::string before = quillom::settings::testing::readText(host.store().preferencesPath());
    host.platform.failingReads[host.store().preferencesPath()] = 1;
    const HotkeyFieldResult result = applyHotkeyField(host, ctrl::HotkeyConvertRu, {kCtrl | kShift, 'R'});
    EXPECT_FALSE(result.accepted);
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(quillom::settings::testing::readText(host.store().preferencesPath()), before);
}

}  // namespace
