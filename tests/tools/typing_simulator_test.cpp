// Typing simulation of the tool: corrections applied as the program applies
// them, and the layout switched after each one.
#include <gtest/gtest.h>

#include "cli_engine.h"
#include "common/utf16.h"
#include "typing_simulator.h"

namespace quillom::cli {
namespace {

Engine openSmall(const std::string& languages = "en,ru") {
    CommonOptions options;
    options.rulesPath = QUILLOM_SMALL_RULES;
    options.languages = languages;
    auto engine = Engine::open(options);
    EXPECT_TRUE(engine.has_value());
    return std::move(*engine);
}

std::string type(Engine& engine, const std::string& text, const std::string& layout = "en") {
    TypingSimulator simulator(engine, layout, "test.exe");
    return toUtf8(simulator.type(toUtf16(text)));
}

TEST(TypingSimulator, CorrectsAndSwitchesTheLayout) {
    Engine engine = openSmall();
    TypingSimulator simulator(engine, "en", "test.exe");
    // After "привет" the layout is Russian, so the keys v, b, h give "мир" directly.
    EXPECT_EQ(toUtf8(simulator.type(u"ghbdtn vbh\n")), "привет мир\n");
    EXPECT_EQ(simulator.currentLayout(), "ru");
}

TEST(TypingSimulator, PunctuationBoundaryIsKeptAfterTheReplacement) {
    Engine engine = openSmall();
    EXPECT_EQ(type(engine, "ghbdtn!"), "привет!");
    EXPECT_EQ(type(engine, "hello world\n"), "hello world\n");
}

TEST(TypingSimulator, TextAfterTheLastBoundaryStaysAsTyped) {
    Engine engine = openSmall();
    EXPECT_EQ(type(engine, "ghbdtn"), "ghbdtn");
    // After a hyphen that follows a word left as typed, the rest is the tail
    // of that word: not corrected.
    EXPECT_EQ(type(engine, "a-ghbdtn 😀 "), "a-ghbdtn 😀 ");
    EXPECT_EQ(type(engine, "-ghbdtn "), "-ghbdtn ");
}

}  // namespace
}  // namespace quillom::cli
