// libFuzzer target: arbitrary bytes as a preferences file through every typed reader, and the
// writers' results read back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "settings/json.h"
#include "settings/preferences.h"

using namespace quillom::settings;

namespace {

void checkLanguages(const std::vector<std::string>& languages) {
    FUZZ_CHECK(!languages.empty() && languages.front() == "en");
    FUZZ_CHECK(std::set<std::string>(languages.begin(), languages.end()).size() == languages.size());
    for (const std::string& code : languages) FUZZ_CHECK(!code.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    JsonValue prefs;
    if (!parseJson(std::string_view(reinterpret_cast<const char*>(data), size), prefs)) return 0;
    debugLog(prefs), pauseInGames(prefs), protectEndingsAfterDelete(prefs), uppercaseOnlyExactPairs(prefs);
    playSoundOnCorrection(prefs), learningMode(prefs);
    FUZZ_CHECK(!correctionSound(prefs).empty() && !undoSound(prefs).empty());
    const std::string ui = uiLanguage(prefs);
    FUZZ_CHECK(ui == "en" || ui == "uk" || ui == "ru");
    FUZZ_CHECK(updateFrequency(prefs) != "15m");

    const std::vector<std::string> active = activeLanguages(prefs);
    checkLanguages(active);
    const std::vector<std::string> installed{"en", "uk", "ru"};
    checkLanguages(reconcileLanguages(active, installed));

    const std::vector<ExcludedApp> apps = excludedApps(prefs);
    for (size_t i = 1; i < apps.size(); ++i) FUZZ_CHECK(compareIgnoringAsciiCase(apps[i - 1].name, apps[i].name) <= 0);
    for (const ExcludedApp& app : apps) FUZZ_CHECK(isExcluded(prefs, app.key));

    // Writers on whatever the file held, then read back.
    JsonValue edited = prefs;
    setActiveLanguages(edited, active);
    FUZZ_CHECK(activeLanguages(edited) == active);
    setUiLanguage(edited, ui);
    FUZZ_CHECK(uiLanguage(edited) == ui);
    if (!apps.empty()) {
        setExcluded(edited, apps.front().key, apps.front().name, false, "");
        FUZZ_CHECK(!isExcluded(edited, apps.front().key));
    }
    setExcluded(edited, "fuzz.exe", "Fuzz", true, "C:\\fuzz.exe");
    FUZZ_CHECK(isExcluded(edited, "FUZZ.EXE"));
    JsonValue reread;
    FUZZ_CHECK(parseJson(toJsonText(edited), reread));
    FUZZ_CHECK(activeLanguages(reread) == active);
    return 0;
}
