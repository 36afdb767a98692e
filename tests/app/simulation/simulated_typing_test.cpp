// The simulated window under the real typing pipeline: what reaches the
// text, which key press each unit of it belongs to, and the layout.
#include <gtest/gtest.h>

#include "common/virtual_keys.h"
#include "fakes.h"
#include "simulation/simulated_typing.h"

namespace quillom::simulation {
namespace {

using pipeline::testing::FakeEngine;

// Letters, space, and the US "/" key, whose shifted mark is "?" there and
// "," on the Russian layout.
KeyTables tables() {
    return KeyTables::fromUsLayout({"ru"}, [](char16_t ch, const std::string&) -> char16_t {
        static const std::u16string us = u"qwertyuiopasdfghjklzxcvbnm/?", ru = u"йцукенгшщзфывапролдячсмить.,";
        const std::size_t at = us.find(ch);
        return at == std::u16string::npos ? char16_t(0) : ru[at];
    });
}

struct Rig {
    FakeEngine engine;
    KeyTables keys = tables();
    SimulatedTyping typing{engine, keys};

    // Presses the keys of `text` on the US layout.
    void type(std::u16string_view text) {
        for (char16_t ch : text) typing.press(*keys.keyFor("en", ch));
    }
};

TEST(SimulatedTyping, ACorrectionReplacesTheWordAndSwitchesTheLayout) {
    Rig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.typing.openWindow("notepad.exe", "en");
    rig.type(u"ghbdtn");
    const std::optional<Evaluation> ended = rig.typing.press({vk::Space, false});
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->query.word, "ghbdtn");
    EXPECT_EQ(ended->query.appId, "notepad.exe");
    EXPECT_EQ(ended->query.inputSource, "en");
    EXPECT_FALSE(ended->query.hasUnknownBeginning);  // an empty new window
    EXPECT_EQ(rig.typing.desktop().text(), u"привет ");
    EXPECT_EQ(rig.typing.desktop().layout(), "ru");
    // Each unit of the replacement takes the place of a typed letter; the
    // space the replay sent is the boundary key's.
    const std::vector<uint32_t> owners = rig.typing.desktop().pressOfUnit();
    EXPECT_EQ(owners, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7}));
    // The same keys now give Russian letters; a word kept stays as typed.
    rig.type(u"vbh");
    EXPECT_FALSE(rig.typing.press({vk::Enter, false})->decision.shouldCorrect);
    EXPECT_EQ(rig.typing.desktop().text(), u"привет мир\n");
}

TEST(SimulatedTyping, ThePunctuationKeyAfterACorrectionIsTheSwitchedLayouts) {
    Rig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.typing.openWindow("notepad.exe", "en");
    rig.type(u"ghbdtn?");
    EXPECT_EQ(rig.typing.desktop().text(), u"привет,");
    rig.typing.openWindow("notepad.exe", "en");
    rig.type(u"hello?");
    EXPECT_EQ(rig.typing.desktop().text(), u"hello?");
    EXPECT_EQ(rig.typing.desktop().layout(), "en");
}

// Quotes no key types come as Unicode packets: the word between them is
// read whole and corrected, the quotes stay as sent.
TEST(SimulatedTyping, QuotesSentAsUnicodePacketsFrameAWord) {
    Rig rig;
    rig.engine.correct("ghbdtn", "привет", "ru");
    rig.typing.openWindow("notepad.exe", "en");
    rig.type(u"ok ");
    rig.typing.typeOther(u'\u00ab');
    rig.type(u"ghbdtn");
    const std::optional<Evaluation> ended = rig.typing.typeOther(u'\u00bb');
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->query.word, "ghbdtn");
    EXPECT_FALSE(ended->query.hasUnknownBeginning);
    EXPECT_EQ(rig.typing.desktop().text(), u"ok \u00abпривет\u00bb");
}

TEST(SimulatedTyping, ANewWindowForgetsTheWordAndTheSession) {
    Rig rig;
    rig.typing.openWindow("a.exe", "en");
    rig.type(u"abc");
    const int resets = rig.engine.resets;
    rig.typing.openWindow("b.exe", "ru");
    EXPECT_GT(rig.engine.resets, resets);
    EXPECT_TRUE(rig.typing.capture().word().empty());
    EXPECT_EQ(rig.typing.desktop().text(), u"");
    rig.type(u"ab");
    const std::optional<Evaluation> ended = rig.typing.press({vk::Space, false});
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->query.word, "фи");  // typed on the new window's layout, not after "abc"
    EXPECT_EQ(ended->query.appId, "b.exe");
    EXPECT_FALSE(ended->query.hasUnknownBeginning);
}

TEST(SimulatedTyping, ACharacterWithoutAKeyArrivesAsItself) {
    Rig rig;
    rig.typing.openWindow("notepad.exe", "ru");
    rig.typing.typeOther(u'[');
    rig.type(u"f");
    EXPECT_EQ(rig.typing.desktop().text(), u"[а");
    EXPECT_EQ(rig.typing.capture().word(), u"[а");
}

}  // namespace
}  // namespace quillom::simulation
