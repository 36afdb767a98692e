// Text typed through the program's typing pipeline on a simulated window, as
// `quillom fix` types it: corrections replayed and the layout switched as the
// program does them.
#include <gtest/gtest.h>

#include "cli_engine.h"
#include "common/utf16.h"
#include "typed_text.h"

namespace quillom::cli {
namespace {

Engine open(const std::string& rules, const std::string& languages) {
    CommonOptions options;
    options.rulesPath = rules;
    options.languages = languages;
    auto engine = Engine::open(options);
    EXPECT_TRUE(engine.has_value());
    return std::move(*engine);
}

std::string type(Engine& engine, const std::string& text, const std::string& layout = "en") {
    return toUtf8(typeText(engine, toUtf16(text), layout, "test.exe").shown);
}

TEST(TypedText, CorrectsAndSwitchesTheLayout) {
    Engine engine = open(QUILLOM_SMALL_RULES, "en,ru");
    // After "привет" the layout is Russian, so the keys v, b, h give "мир" directly.
    const TypedText typed = typeText(engine, u"ghbdtn vbh\n", "en", "test.exe");
    EXPECT_EQ(toUtf8(typed.shown), "привет мир\n");
    EXPECT_EQ(typed.layout, "ru");
}

TEST(TypedText, PunctuationBoundaryIsKeptAfterTheReplacement) {
    Engine engine = open(QUILLOM_SMALL_RULES, "en,ru");
    EXPECT_EQ(type(engine, "ghbdtn!"), "привет!");
    EXPECT_EQ(type(engine, "hello world\n"), "hello world\n");
}

TEST(TypedText, TextAfterTheLastBoundaryStaysAsTyped) {
    Engine engine = open(QUILLOM_SMALL_RULES, "en,ru");
    EXPECT_EQ(type(engine, "ghbdtn"), "ghbdtn");
    // After a hyphen that follows a word left as typed, the rest is the tail
    // of that word: not corrected.
    EXPECT_EQ(type(engine, "a-ghbdtn 😀 "), "a-ghbdtn 😀 ");
    EXPECT_EQ(type(engine, "-ghbdtn "), "-ghbdtn ");
}

// With the shipped rules and the default languages, as the program runs:
// the key that ended a corrected word comes out as the switched layout has
// it, and keys typed after a switch between the Cyrillic layouts give what
// that layout gives (the full stop key stays a full stop).
TEST(TypedText, ShippedRulesTypeAsTheProgramDoes) {
    Engine engine = open(QUILLOM_RULES_FILE, "en,uk,ru");
    struct Case {
        const char* typed;
        const char* layout;
        const char* shown;
    } cases[] = {
        {"Gbcfntkm? ghbdtn\n", "en", "Писатель, привет\n"},
        {"ghbdtn? vbh\n", "en", "привет, мир\n"},
        // Ukrainian typed on the Russian layout: ы is the key of і.
        {"Привыт. Як справи? Добре, дякую.\n", "ru", "Привіт. Як справи? Добре, дякую.\n"},
        {"Выдповыдь на запитання. Це важливо.\n", "ru", "Відповідь на запитання. Це важливо.\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(type(engine, c.typed, c.layout), c.shown) << c.typed;
}

}  // namespace
}  // namespace quillom::cli
