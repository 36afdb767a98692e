// libFuzzer target: arbitrary bytes as a working rules file through the user's dictionary:
// the lists the window shows, the merge with a template at start-up, and an edit read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "settings/json.h"
#include "settings/manual_overrides.h"

using namespace quillom::settings;

namespace {

const std::vector<std::string> kActive{"en", "uk", "ru"};

bool listsPair(const JsonValue& rules, std::string_view typed) {
    for (const ExactPairEntry& e : listExactPairs(rules, kActive))
        if (e.typed == typed) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    JsonValue rules;
    if (!parseJson(std::string_view(reinterpret_cast<const char*>(data), size), rules)) return 0;
    listExactPairs(rules, kActive);
    listNeverCorrect(rules, kActive);

    // The file as its own template and as the user's side of a merge.
    const JsonValue* overrides = find(rules, kManualOverrides);
    const JsonValue merged = mergeManualOverrides(overrides, overrides);
    FUZZ_CHECK(merged.isObject());
    mergeManualOverrides(overrides, nullptr);
    mergeManualOverrides(nullptr, overrides);

    JsonValue edited = rules;
    FUZZ_CHECK(addExactPair(edited, "ghbdtn", "привет", "en", "ru", kActive));
    FUZZ_CHECK(listsPair(edited, "ghbdtn"));
    FUZZ_CHECK(addNeverCorrect(edited, "fuzz", "", kActive));
    removeExactPair(edited, "ghbdtn");
    FUZZ_CHECK(!listsPair(edited, "ghbdtn"));
    removeNeverCorrect(edited, "fuzz");
    JsonValue reread;
    FUZZ_CHECK(parseJson(toJsonText(edited), reread));
    return 0;
}
