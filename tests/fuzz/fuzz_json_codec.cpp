// libFuzzer target: arbitrary bytes through the application's JSON parser and printer. A
// failed parse leaves the output alone; what was parsed prints as text that parses again.
// Numbers print with six significant digits (1234567.5 as 1.23457e+06, a loss the file format
// accepts), so the text is stable from its second printing on.
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
    JsonValue again, third;
    FUZZ_CHECK(parseJson(toJsonText(parsed), again));
    const std::string printed = toJsonText(again);
    FUZZ_CHECK(parseJson(printed, third));
    FUZZ_CHECK(toJsonText(third) == printed);
    return 0;
}
