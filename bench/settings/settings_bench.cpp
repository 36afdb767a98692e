// Wall time of the settings code that reads and rewrites the working rules file, on the
// shipped rules file and its packed lexicon, for a user whose dictionary holds a few hundred
// entries: a dictionary edit from the settings window, a learned conversion, and the start-up
// staging that merges the user's dictionary into a newer template (with the lexicon in place,
// and after an update that brings a new lexicon, which is first verified by creating an engine
// from the installation's rules). Each should stay well under 50 ms.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/learning.h"
#include "settings/manual_overrides.h"
#include "settings/settings_store.h"
#include "quillom.hpp"
#include "fake_settings_platform.h"

namespace {

namespace fs = std::filesystem;
using namespace quillom::settings;

constexpr int kUserPairs = 400;
constexpr int kUserNeverCorrect = 200;

// A program folder holding the shipped files and a settings folder staged from them, with
// the user's dictionary filled in.
struct Installation {
    testing::TempFolder folder;
    testing::FakeSettingsPlatform platform;
    SettingsStore store{platform};
    std::string workingRules;  // the staged working rules, dictionary included

    Installation() {
        const fs::path program = folder.path() / "program";
        fs::create_directories(program);
        const fs::path shipped = fs::path(QUILLOM_RULES_FILE).parent_path();
        for (const char* name : {"quillom_rules.json", "quillom_lexicon.bin"})
            fs::copy_file(shipped / name, program / name);
        platform.exe = program / "Quillom.exe";
        platform.appData = folder.path() / "appdata";
        fs::create_directories(platform.appData);
        platform.layouts = {0x0409, 0x0419, 0x0422};
        // As the program does: the installed lexicon is verified before it is staged.
        store.checkEnginesWith([](const fs::path& rules) {
            return quillom::cabi::createEngine(rules.string(), std::string()) != nullptr;
        });
        store.stageConfigurationFiles();
        store.updateRules([](JsonValue& rules) {
            const std::vector<std::string> active = {"en", "ru", "uk"};
            for (int i = 0; i < kUserPairs; ++i)
                addExactPair(rules, "ghbdtn" + std::to_string(i), "привет" + std::to_string(i), "en", "ru", active);
            for (int i = 0; i < kUserNeverCorrect; ++i)
                addNeverCorrect(rules, "kept" + std::to_string(i), "en", active);
            return true;
        });
        store.readFileBytes(store.workingRulesPath(), workingRules);
    }
};

bool installed(benchmark::State& state, const Installation& setup) {
    if (!setup.workingRules.empty()) return true;
    state.SkipWithError("the shipped rules file could not be staged");
    return false;
}

void BM_DictionaryEdit(benchmark::State& state) {
    Installation setup;
    if (!installed(state, setup)) return;
    int n = 0;
    for (auto _ : state) {
        const std::string typed = "yjdjt" + std::to_string(n++);
        const bool saved = setup.store.updateRules([&](JsonValue& rules) {
            return addExactPair(rules, typed, "новое", "", "", setup.store.activeLanguages());
        });
        if (!saved) state.SkipWithError("the dictionary edit was not saved");
    }
}
BENCHMARK(BM_DictionaryEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

void BM_LearnFromConversion(benchmark::State& state) {
    Installation setup;
    if (!installed(state, setup)) return;
    int n = 0;
    for (auto _ : state) {
        const std::string suffix = std::to_string(n++);
        if (!learnFromConversion(setup.store, "ghbdtn vbh" + suffix, "привет мир" + suffix, "ru", nullptr))
            state.SkipWithError("the conversion was not learned");
    }
}
BENCHMARK(BM_LearnFromConversion)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

// The working rules come from an older template (one member more than the shipped one), so
// every start merges the dictionary into the shipped rules and rewrites the file.
void stageAfterUpdate(benchmark::State& state, bool newLexicon) {
    Installation setup;
    if (!installed(state, setup)) return;
    std::string older = setup.workingRules;
    older.insert(older.find('{') + 1, "\"retired_member\":1,");
    for (auto _ : state) {
        state.PauseTiming();
        testing::writeText(setup.store.workingRulesPath(), older);
        if (newLexicon) fs::remove(setup.store.workingLexiconPath());
        state.ResumeTiming();
        setup.store.stageConfigurationFiles();
    }
    std::string staged;
    setup.store.readFileBytes(setup.store.workingRulesPath(), staged);
    if (staged != setup.workingRules) state.SkipWithError("the merge did not give back the user's rules");
}

void BM_StartupMerge(benchmark::State& state) { stageAfterUpdate(state, false); }
BENCHMARK(BM_StartupMerge)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

void BM_StartupMergeNewLexicon(benchmark::State& state) { stageAfterUpdate(state, true); }
BENCHMARK(BM_StartupMergeNewLexicon)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
