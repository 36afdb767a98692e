#include "fake_settings_platform.h"
#include "tray/hotkey_bindings.h"
#include "tray/interface_strings.h"

#include <gtest/gtest.h>

#include <map>

using namespace quillom::tray;
using namespace quillom::settings;
using namespace quillom::settings::testing;

namespace {

class FakeKeyNames : public KeyNameSource {
public:
    std::map<uint32_t, std::u16string> names{{0x21, u"Page Up"}, {0x65, u"Num 5"}};
    mutable std::vector<uint32_t> asked;
    std::u16string keyName(uint32_t vk) const override {
        asked.push_back(vk);
        const auto it = names.find(vk);
        return it == names.end() ? std::u16string() : it->second;
    }
};

class HotkeyBindingsTest : public ::testing::Test {
protected:
    HotkeyBindingsTest() {
        platform.appData = temp.path() / "Local";
        platform.exe = temp.path() / "Program" / "Quillom.exe";
        std::filesystem::create_directories(store.settingsFolder());
    }

    JsonValue storedHotkeys() const {
        JsonValue prefs;
        EXPECT_TRUE(store.loadPreferences(prefs));
        const JsonValue* h = find(prefs, "hotkeys");
        return h ? *h : JsonValue();
    }

    TempFolder temp;
    FakeSettingsPlatform platform;
    SettingsStore store{platform};
    HotkeyBindings bindings;
    const HotkeyBinding ctrlAltF11{3, 0x7A}, ctrlAltF12{3, 0x7B};
};

TEST_F(HotkeyBindingsTest, TableNamesAndDefaults) {
    const std::vector<std::string_view> names = {"", "undo", "convert", "convert_en", "convert_ru", "convert_uk", ""};
    for (int id = 0; id <= 6; ++id) EXPECT_EQ(hotkeyName(id), names[static_cast<size_t>(id)]) << id;
    EXPECT_EQ(hotkeyName(-1), "");
    bindings.load(store);  // no preferences file at all
    EXPECT_EQ(bindings.binding(hotkey::Undo), ctrlAltF11);
    EXPECT_EQ(bindings.binding(hotkey::Convert), ctrlAltF12);
    for (int id : {hotkey::ConvertEn, hotkey::ConvertRu, hotkey::ConvertUk, 0, 6})
        EXPECT_EQ(bindings.binding(id), HotkeyBinding{}) << id;
}

TEST_F(HotkeyBindingsTest, LoadTakesWellFormedMembersAndKeepsDefaultsOtherwise) {
    JsonValue prefs;
    ASSERT_TRUE(parseJson(R"({"hotkeys":{
        "undo":{"mods":6,"vk":90},
        "convert":{"mods":0,"vk":65},
        "convert_en":{"mods":8,"vk":69},
        "convert_ru":{"mods":"3","vk":82},
        "convert_uk":{"vk":85}}})",
                          prefs));
    bindings.loadFrom(prefs);
    EXPECT_EQ(bindings.binding(hotkey::Undo), (HotkeyBinding{6, 90}));
    EXPECT_EQ(bindings.binding(hotkey::Convert), ctrlAltF12);  // a bare key is not taken
    EXPECT_EQ(bindings.binding(hotkey::ConvertEn), (HotkeyBinding{8, 69}));
    EXPECT_EQ(bindings.binding(hotkey::ConvertRu), HotkeyBinding{});
    EXPECT_EQ(bindings.binding(hotkey::ConvertUk), HotkeyBinding{});

    struct Case {
        const char* undo;
        HotkeyBinding expected;
    };
    const std::vector<Case> cases = {
        {R"({"mods":3,"vk":0})", {}},  // explicitly unbound
        {R"({"mods":0,"vk":0})", {}},
        {R"({"mods":3.5,"vk":65})", {3, 0x7A}},
        {R"({"mods":-1,"vk":65})", {3, 0x7A}},
        {R"({"mods":16,"vk":65})", {3, 0x7A}},
        {R"({"mods":3,"vk":255})", {3, 0x7A}},
        {R"({"mods":3,"vk":1e400})", {3, 0x7A}},
        {R"([3,65])", {3, 0x7A}},
        {R"({"mods":15,"vk":254})", {15, 254}},
        {R"({"mods":4,"vk":65})", {3, 0x7A}},  // Shift+A types a capital
        {R"({"mods":2,"vk":67})", {3, 0x7A}},  // Ctrl+C copies
    };
    for (const Case& c : cases) {
        JsonValue p;
        std::string text = R"({"hotkeys":{"undo":)";
        text += c.undo;
        text += "}}";
        ASSERT_TRUE(parseJson(text, p)) << c.undo;
        bindings.loadFrom(p);
        EXPECT_EQ(bindings.binding(hotkey::Undo), c.expected) << c.undo;
    }
    JsonValue notObject;
    ASSERT_TRUE(parseJson(R"({"hotkeys":"ctrl+alt+f11"})", notObject));
    bindings.loadFrom(notObject);
    EXPECT_EQ(bindings.binding(hotkey::Undo), ctrlAltF11);
}

TEST_F(HotkeyBindingsTest, SetRefusesBareKeysClearsAndSavesAll) {
    writeText(store.preferencesPath(), R"({"ui_language":"uk","hotkeys":{"undo":{"mods":1,"vk":65}},"z":1})");
    bindings.load(store);
    EXPECT_EQ(bindings.set(hotkey::ConvertRu, {0, 0x52}, store), HotkeyBindings::SetResult::Refused);
    EXPECT_EQ(bindings.set(hotkey::ConvertRu, {0x4000, 0x52}, store), HotkeyBindings::SetResult::Refused);
    EXPECT_EQ(bindings.set(9, {3, 0x52}, store), HotkeyBindings::SetResult::Refused);
    EXPECT_EQ(platform.writes, 0);

    EXPECT_EQ(bindings.set(hotkey::ConvertRu, {4 | 2, 0x52}, store), HotkeyBindings::SetResult::Saved);
    EXPECT_EQ(bindings.set(hotkey::Undo, {3, 0}, store), HotkeyBindings::SetResult::Saved);
    JsonValue prefs;
    ASSERT_TRUE(store.loadPreferences(prefs));
    EXPECT_EQ(prefs.members()[1].key, "hotkeys");  // replaced in place, other members kept
    EXPECT_EQ(getString(prefs, "ui_language", ""), "uk");
    EXPECT_EQ(toJsonText(storedHotkeys()), R"({
  "undo": {
    "mods": 0,
    "vk": 0
  },
  "convert": {
    "mods": 3,
    "vk": 123
  },
  "convert_en": {
    "mods": 0,
    "vk": 0
  },
  "convert_ru": {
    "mods": 6,
    "vk": 82
  },
  "convert_uk": {
    "mods": 0,
    "vk": 0
  }
}
)");
    HotkeyBindings reloaded;
    reloaded.load(store);
    EXPECT_EQ(reloaded.binding(hotkey::Undo), HotkeyBinding{});
    EXPECT_EQ(reloaded.binding(hotkey::ConvertRu), (HotkeyBinding{6, 0x52}));

    platform.failNextWrite = true;
    EXPECT_EQ(bindings.set(hotkey::ConvertEn, {2, 0x45}, store), HotkeyBindings::SetResult::SaveFailed);
    EXPECT_EQ(bindings.binding(hotkey::ConvertEn), HotkeyBinding{});

    // A read that fails is not followed by a save of the defaults it yielded.
    const std::string before = readText(store.preferencesPath());
    platform.failingReads[store.preferencesPath()] = 1;
    EXPECT_EQ(bindings.set(hotkey::ConvertEn, {2, 0x45}, store), HotkeyBindings::SetResult::SaveFailed);
    EXPECT_EQ(readText(store.preferencesPath()), before);
    platform.failingReads[store.preferencesPath()] = 1;
    EXPECT_FALSE(bindings.resetToDefaults(store));
    EXPECT_EQ(readText(store.preferencesPath()), before);
}

TEST(HotkeyRefusals, CombinationsThatBreakTypingEditingOrClosingAreRefused) {
    constexpr uint32_t A = modifier::Alt, C = modifier::Ctrl, S = modifier::Shift, W = modifier::Win;
    const struct {
        HotkeyBinding binding;
        HotkeyRefusal expected;
    } cases[] = {
        {{0, 0}, HotkeyRefusal::None},  // unbinding
        {{0, 'K'}, HotkeyRefusal::NeedsModifier},
        {{S, 'K'}, HotkeyRefusal::NeedsModifier},
        {{S, 0x73}, HotkeyRefusal::NeedsModifier},
        {{A, 0x73}, HotkeyRefusal::Reserved},  // Alt+F4
        {{C, 'C'}, HotkeyRefusal::Reserved},
        {{C, 'V'}, HotkeyRefusal::Reserved},
        {{C, 'X'}, HotkeyRefusal::Reserved},
        {{C, 'Z'}, HotkeyRefusal::Reserved},
        {{C, 'A'}, HotkeyRefusal::Reserved},
        {{C | S, 'Z'}, HotkeyRefusal::None},
        {{C | A, 'C'}, HotkeyRefusal::None},
        {{C | A, 0x73}, HotkeyRefusal::None},
        {{W, 'K'}, HotkeyRefusal::None},
        {{C, 'B'}, HotkeyRefusal::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(combinationRefusal(c.binding), c.expected) << c.binding.mods << "+" << c.binding.vk;

    HotkeyBindings bindings;
    EXPECT_EQ(bindings.refusal(hotkey::ConvertRu, defaultBinding(hotkey::Undo)), HotkeyRefusal::TakenByCommand);
    EXPECT_EQ(bindings.commandWith(defaultBinding(hotkey::Undo), hotkey::ConvertRu), hotkey::Undo);
    EXPECT_EQ(bindings.refusal(hotkey::Undo, defaultBinding(hotkey::Undo)), HotkeyRefusal::None);  // its own
}

TEST_F(HotkeyBindingsTest, ResetRestoresDefaultsAndClearsLanguageHotkeys) {
    bindings.set(hotkey::Undo, {1, 0x5A}, store);
    bindings.set(hotkey::ConvertUk, {2, 0x55}, store);
    EXPECT_TRUE(bindings.resetToDefaults(store));
    HotkeyBindings reloaded;
    reloaded.load(store);
    for (int id = hotkey::First; id <= hotkey::Last; ++id) {
        EXPECT_EQ(bindings.binding(id), defaultBinding(id)) << id;
        EXPECT_EQ(reloaded.binding(id), defaultBinding(id)) << id;
    }
    EXPECT_EQ(storedHotkeys().members().size(), 5u);
}

TEST_F(HotkeyBindingsTest, HotkeyTexts) {
    FakeKeyNames keys;
    struct Case {
        HotkeyBinding binding;
        std::u16string text;
    };
    const std::vector<Case> cases = {
        {{3, 0x7A}, u"Ctrl+Alt+F11"},     {{15, 0x41}, u"Ctrl+Alt+Shift+Win+A"},
        {{4, 0x30}, u"Shift+0"},          {{8, 0x70}, u"Win+F1"},
        {{2, 0x87}, u"Ctrl+F24"},         {{1, 0x09}, u"Alt+Tab"},
        {{2, 0x0D}, u"Ctrl+Enter"},       {{2, 0x20}, u"Ctrl+Space"},
        {{2, 0xC0}, u"Ctrl+`"},           {{2, 0x21}, u"Ctrl+Page Up"},
        {{6, 0x65}, u"Ctrl+Shift+Num 5"}, {{2, 0xFF}, u"Ctrl+?"},
    };
    for (const Case& c : cases) EXPECT_EQ(hotkeyText(c.binding, keys), c.text);
    EXPECT_EQ(keys.asked, (std::vector<uint32_t>{0x21, 0x65, 0xFF}));  // only keys without own names

    EXPECT_EQ(hotkeyText({}, keys), u"(unset)");
    setInterfaceLanguage("ru");
    EXPECT_EQ(hotkeyText({0, 0}, keys), u"(не назначено)");
    setInterfaceLanguage("en");
}

}  // namespace
