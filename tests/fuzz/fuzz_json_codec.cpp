// libFuzzer target: arbitrary bytes through the application's JSON parser and printer. A
// failed parse leaves the output alone; what was parsed prints as text that parses again and
// prints the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "settings/json.h"

using namespace quillom::settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    JsonValue parsed(7);
    if (!parseJson(text, parsed)) {
        FUZZ_CHECK(parsed == JsonValue(7));
        return 0;
    }
    const std::string printed = toJsonText(parsed);
    JsonValue again;
    FUZZ_CHECK(parseJson(printed, again));
    FUZZ_CHECK(toJsonText(again) == printed);
    return 0;
}
