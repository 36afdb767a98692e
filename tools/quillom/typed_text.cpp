#include "typed_text.h"

#include "common/utf16.h"
#include "common/virtual_keys.h"
#include "simulation/simulated_typing.h"

namespace quillom::cli {

namespace {

// The layouts' keys: the US layout's, read in the others through the
// engine's layout maps.
simulation::KeyTables keyTables(Engine& engine) {
    return simulation::KeyTables::fromUsLayout({"ru", "uk"}, [&](char16_t ch, const std::string& layout) {
        const std::u16string converted = toUtf16(engine.convertTo(toUtf8(std::u16string(1, ch)), layout));
        return converted.size() == 1 ? converted[0] : char16_t(0);
    });
}

}  // namespace

TypedText typeText(Engine& engine, std::u16string_view text, const std::string& startLayout, const std::string& app) {
    const simulation::KeyTables keys = keyTables(engine);
    const auto words = pipeline::borrowCabiWordEngine(engine.handle());
    simulation::SimulatedTyping typing(*words, keys);
    typing.openWindow(app, startLayout);
    for (char16_t ch : text) {
        if (ch == u'\n') typing.press({vk::Enter, false});
        else if (ch == u'\t') typing.press({vk::Tab, false});
        else if (const auto key = keys.keyFor(startLayout, ch)) typing.press(*key);
        else typing.typeOther(ch);
    }
    return {typing.desktop().text(), typing.desktop().layout()};
}

}  // namespace quillom::cli
