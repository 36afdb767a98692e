// Speed and memory of the engine through its C interface, on the shipped
// rules file: creation, and one contextual evaluation per finished word over
// a mixed list (Latin, Cyrillic, wrong-layout words, technical tokens), and
// the heap allocations (operator new) of evaluating plain words. The result
// string the interface hands out is malloc'd by design and not counted.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../accuracy/peak_memory.h"
#include "quillom.hpp"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

namespace cabi = quillom::cabi;

const std::vector<std::string> kWords = {
    // English, correctly typed
    "hello",
    "world",
    "the",
    "because",
    "information",
    "keyboard",
    "don't",
    "it's",
    "I",
    "a",
    "programming",
    "yesterday",
    "friendship",
    "beautiful",
    "development",
    "NASA",
    "OK",
    "email",
    "Monday",
    "London",
    // Russian and Ukrainian, correctly typed
    "привет",
    "мир",
    "спасибо",
    "пожалуйста",
    "сегодня",
    "разработка",
    "клавиатура",
    "и",
    "в",
    "это",
    "привіт",
    "дякую",
    "будь",
    "ласка",
    "сьогодні",
    "розробка",
    "клавіатура",
    "їжак",
    "ґанок",
    "що",
    // typed on the wrong layout
    "ghbdtn",
    "vbh",
    "cgfcb,j",
    "gj;fkeqcnf",
    "ctujlyz",
    "hfphf,jnrf",
    "rkfdbfnehf",
    "b",
    "d",
    "'nj",
    "ghbdsn",
    "lzre.",
    "ce'ljys",
    "hjphj,rf",
    "rkfdsfnehf",
    "cjhnbhjdrf",
    "Ghbdtn",
    "GHBDTN",
    "ntrcn",
    "ckjdj",
    "руддщ",
    "цщкдв",
    "ерфтлы",
    "зкщпкфььштп",
    "нуыеуквфн",
    "шташкьфешщт",
    "лунищфкв",
    "ьщтвфн",
    "ещ",
    "ш",
    // technical tokens
    "https://example.com/a",
    "user@mail.ru",
    "C:\\Windows",
    "--verbose",
    "v1.2.3",
    "0x1F2E",
    "#ff00aa",
    "camelCaseName",
    "snake_case_name",
    "10kg",
    "README.md",
    "std::vector",
    "git",
    "npm",
    "sudo",
    "ls",
    "a1b2c3d4e5f6",
    "x86_64",
    "UTF-8",
    "localhost:8080",
};

std::string rulesFile() { return QUILLOM_RULES_FILE; }

std::string prefsFile() {
    auto path = std::filesystem::temp_directory_path() / "quillom-bench-prefs.json";
    std::ofstream(path) << R"({"active_languages": ["en", "uk", "ru"]})";
    return path.string();
}

// One evaluation through the C function itself, into buffers of the
// wrapper's sizes, so that only the engine's own work is timed and counted.
void evaluateOnce(qm_engine* engine, const std::string& word) {
    int32_t should = 0;
    double conf = 0;
    char target[cabi::kLanguageCap], reason[cabi::kReasonCap];
    cabi::OwnedString out(qm_engine_evaluate_context(engine, word.c_str(), "bench.exe", "en", 0, &should, &conf, target,
                                                     sizeof target, reason, sizeof reason));
    benchmark::DoNotOptimize(out.get());
}

// The same for a word of running text, one space after the word before it:
// the program's call, which also remembers the words.
void evaluateInTextOnce(qm_engine* engine, const std::string& word) {
    int32_t should = 0, piecesBefore = 0;
    double conf = 0;
    char target[cabi::kLanguageCap], reason[cabi::kReasonCap];
    char* before = nullptr;
    cabi::OwnedString out(qm_engine_evaluate_in_text(engine, word.c_str(), "bench.exe", "en", 0, " ", &should, &conf,
                                                     target, sizeof target, reason, sizeof reason, &piecesBefore,
                                                     &before));
    cabi::OwnedString owned(before);
    benchmark::DoNotOptimize(out.get());
}

using Evaluation = void (*)(qm_engine*, const std::string&);

void BM_Create(benchmark::State& state) {
    const std::string rules = rulesFile(), prefs = prefsFile();
    for (auto _ : state) {
        cabi::EnginePtr e = cabi::createEngine(rules, prefs);
        if (!e) state.SkipWithError("the rules file did not load");
        benchmark::DoNotOptimize(e.get());
    }
    cabi::EnginePtr kept = cabi::createEngine(rules, prefs);
    state.counters["peak_rss_mb"] = quillom::bench::peakResidentMb();
}
BENCHMARK(BM_Create)->Unit(benchmark::kMillisecond)->Iterations(10);

// One word of the given length in bytes: up to QM_MAX_WORD_BYTES it is scored (time linear in
// its length), past it refused at once; the same for the word before a corrected one.
void BM_LongWord(benchmark::State& state) {
    cabi::EnginePtr e = cabi::createEngine(rulesFile(), prefsFile());
    if (!e) {
        state.SkipWithError("the rules file did not load");
        return;
    }
    const std::string word(static_cast<std::size_t>(state.range(0)), 'g');
    for (auto _ : state) {
        evaluateOnce(e.get(), word);
        cabi::OwnedString before(qm_engine_correct_word_before(e.get(), word.c_str(), "ghbdtn", "ru"));
        benchmark::DoNotOptimize(before.get());
    }
}
BENCHMARK(BM_LongWord)->Unit(benchmark::kMillisecond)->Arg(QM_MAX_WORD_BYTES)->Arg(64 << 10)->Arg(1 << 20);

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// Each word timed on its own; the counters give the per-word percentiles in microseconds.
void timeEachWord(benchmark::State& state, Evaluation evaluate) {
    cabi::EnginePtr e = cabi::createEngine(rulesFile(), prefsFile());
    if (!e) {
        state.SkipWithError("the rules file did not load");
        return;
    }
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(state.max_iterations));
    size_t i = 0;
    for (auto _ : state) {
        const std::string& word = kWords[i++ % kWords.size()];
        const auto start = std::chrono::steady_clock::now();
        evaluate(e.get(), word);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    state.counters["p50_us"] = percentile(micros, 0.50);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["max_us"] = percentile(micros, 1.0);
}
void BM_EvaluateContext(benchmark::State& state) { timeEachWord(state, evaluateOnce); }
BENCHMARK(BM_EvaluateContext)->Unit(benchmark::kMicrosecond)->Iterations(100000);
void BM_EvaluateInText(benchmark::State& state) { timeEachWord(state, evaluateInTextOnce); }
BENCHMARK(BM_EvaluateInText)->Unit(benchmark::kMicrosecond)->Iterations(100000);

// Allocations per evaluation of correctly typed words (English, Russian,
// Ukrainian), after a first evaluation that sets up the session.
void countPlainWordAllocations(benchmark::State& state, Evaluation evaluate) {
    cabi::EnginePtr e = cabi::createEngine(rulesFile(), prefsFile());
    if (!e) {
        state.SkipWithError("the rules file did not load");
        return;
    }
    const std::vector<std::string> plain = {"hello", "information", "привет", "пожалуйста", "сьогодні", "дякую"};
    auto run = [&](const std::string& word) { evaluate(e.get(), word); };
    for (const std::string& w : plain) run(w);
    long counted = 0, calls = 0;
    for (auto _ : state) {
        for (const std::string& w : plain) {
            const long before = allocations.load(std::memory_order_relaxed);
            run(w);
            counted += allocations.load(std::memory_order_relaxed) - before;
            ++calls;
        }
    }
    state.counters["allocations_per_word"] = static_cast<double>(counted) / static_cast<double>(calls);
}
void BM_PlainWordAllocations(benchmark::State& state) { countPlainWordAllocations(state, evaluateOnce); }
BENCHMARK(BM_PlainWordAllocations)->Iterations(1000);
void BM_PlainWordAllocationsInText(benchmark::State& state) { countPlainWordAllocations(state, evaluateInTextOnce); }
BENCHMARK(BM_PlainWordAllocationsInText)->Iterations(1000);

}  // namespace

BENCHMARK_MAIN();
