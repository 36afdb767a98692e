// libFuzzer target: arbitrary bytes as the preferences' "hotkeys" through the bindings reader.
// Whatever a file says, no binding without Ctrl, Alt or Win and none of the reserved
// combinations is taken, and what is stored reads back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "settings/json.h"
#include "tray/hotkey_bindings.h"

using namespace quillom::settings;
using namespace quillom::tray;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    JsonValue prefs;
    if (!parseJson(std::string_view(reinterpret_cast<const char*>(data), size), prefs)) return 0;
    HotkeyBindings bindings;
    bindings.loadFrom(prefs);
    for (int id = hotkey::First; id <= hotkey::Last; ++id) {
        const HotkeyBinding b = bindings.binding(id);
        FUZZ_CHECK(b.vk <= 0xFE && (b.mods & ~modifier::All) == 0);
        FUZZ_CHECK(b.vk != 0 || b.mods == 0);
        FUZZ_CHECK(combinationRefusal(b) == HotkeyRefusal::None);
    }
    JsonValue stored = prefs;
    bindings.storeInto(stored);
    HotkeyBindings reread;
    reread.loadFrom(stored);
    for (int id = hotkey::First; id <= hotkey::Last; ++id) FUZZ_CHECK(reread.binding(id) == bindings.binding(id));
    return 0;
}
