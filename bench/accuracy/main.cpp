// Accuracy benchmark: types held-out text through the word capture into the
// engine with the right and the wrong layout active, and reports false
// positives and recall by word length.
//
//   quillom_accuracy --rules FILE --data DIR --out DIR [--work DIR] [--only NAME-PART]
//
// DIR holds what the rules generator writes: en.txt, ru.txt, uk.txt, tech.txt
// and keyboard_layouts.txt.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "blocks.h"
#include "key_tables.h"
#include "peak_memory.h"
#include "common/utf16.h"
#include "quillom.hpp"
#include "report.h"
#include "tally.h"
#include "typist.h"

namespace fs = std::filesystem;
using namespace quillom::bench;

namespace {

using quillom::cabi::EnginePtr;

using Document = std::vector<std::u16string>;

// "#doc NAME" starts a document; every other line is a paragraph. The
// technical set has no documents: every 50 strings make one.
std::vector<Document> readDocuments(const fs::path& path) {
    std::vector<Document> docs;
    std::ifstream in(path);
    std::string line;
    const bool grouped = path.filename() != "tech.txt";
    while (std::getline(in, line)) {
        if (line.rfind("#doc ", 0) == 0) {
            docs.emplace_back();
            continue;
        }
        if (line.empty()) continue;
        if (docs.empty() || (!grouped && docs.back().size() == 50)) docs.emplace_back();
        docs.back().push_back(quillom::toUtf16(line));
    }
    return docs;
}

std::vector<RunCase> runCases() {
    using L = std::vector<std::string>;
    const L enRu{"en", "ru"}, all{"en", "uk", "ru"};
    auto fp = [](std::string name, std::string text, L langs) {
        return RunCase{std::move(name),
                       text,
                       std::move(langs),
                       RunKind::FalsePositives,
                       {text == "tech" ? "en" : text, "", Script::None},
                       false};
    };
    auto recall = [](std::string name, std::string text, L langs, std::string layout, Script script, bool same) {
        return RunCase{
            std::move(name), text, std::move(langs), RunKind::Recall, {text, std::move(layout), script}, same};
    };
    return {
        fp("en text", "en", enRu),
        fp("en text", "en", all),
        fp("ru text", "ru", enRu),
        fp("ru text (bilingual)", "ru", all),
        fp("uk text", "uk", all),
        fp("technical (en layout)", "tech", enRu),
        fp("technical (en layout)", "tech", all),
        recall("ru typed on en", "ru", enRu, "en", Script::Cyrillic, false),
        recall("ru typed on en (bilingual)", "ru", all, "en", Script::Cyrillic, false),
        recall("uk typed on en", "uk", all, "en", Script::Cyrillic, false),
        recall("en typed on ru", "en", enRu, "ru", Script::Latin, false),
        recall("en typed on uk", "en", all, "uk", Script::Latin, false),
        recall("uk typed on ru", "uk", all, "ru", Script::Cyrillic, true),
        recall("ru typed on uk", "ru", all, "uk", Script::Cyrillic, true),
    };
}

struct RunningTextCase {
    std::string name;
    std::string text;
    std::vector<std::string> activeLanguages;
    std::string wrongLayout;
};

std::vector<RunningTextCase> runningTextCases() {
    using L = std::vector<std::string>;
    const L enRu{"en", "ru"}, all{"en", "uk", "ru"};
    return {
        {"ru typed on en", "ru", enRu, "en"},
        {"en typed on ru", "en", enRu, "ru"},
        {"ru typed on en (bilingual)", "ru", all, "en"},
        {"uk typed on en", "uk", all, "en"},
        {"en typed on uk", "en", all, "uk"},
    };
}

std::string percentText(long long part, long long whole) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f%%", percent(part, whole));
    return buf;
}

constexpr std::size_t kBlocksPerRun = 2000;
constexpr std::size_t kSentencesPerRun = 3000;

std::string setupName(const std::vector<std::string>& langs) {
    std::string out;
    for (const auto& l : langs) out += (out.empty() ? "" : ",") + l;
    return out;
}

fs::path writePreferences(const fs::path& work, const std::vector<std::string>& langs) {
    std::string name = "prefs", body = "{\"active_languages\": [";
    for (std::size_t i = 0; i < langs.size(); ++i) {
        name += "-" + langs[i];
        body += (i ? ", \"" : "\"") + langs[i] + "\"";
    }
    const fs::path path = work / (name + ".json");
    std::ofstream(path) << body << "]}\n";
    return path;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

struct Options {
    std::string rules, data, out, work;
    std::string only;  // run only the runs whose name contains this
};

bool parseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--rules") o.rules = argv[i + 1];
        else if (flag == "--data") o.data = argv[i + 1];
        else if (flag == "--out") o.out = argv[i + 1];
        else if (flag == "--work") o.work = argv[i + 1];
        else if (flag == "--only") o.only = argv[i + 1];
        else return false;
    }
    if (o.work.empty()) o.work = (fs::temp_directory_path() / "quillom-accuracy").string();
    return !o.rules.empty() && !o.data.empty() && !o.out.empty() && argc % 2 == 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!parseOptions(argc, argv, opt)) {
        std::fprintf(stderr,
                     "usage: quillom_accuracy --rules FILE --data DIR --out DIR [--work DIR] [--only NAME-PART]\n");
        return 2;
    }
    fs::create_directories(opt.work);
    fs::create_directories(opt.out);
    auto keys = KeyTables::load((fs::path(opt.data) / "keyboard_layouts.txt").string());
    if (!keys) {
        std::fprintf(stderr, "quillom_accuracy: cannot read keyboard_layouts.txt in %s\n", opt.data.c_str());
        return 1;
    }

    EngineCost cost;
    cost.rulesFileMb = fs::file_size(opt.rules) / 1e6;
    {
        // Creation cost on a fresh process, before any text is loaded.
        const fs::path prefs = writePreferences(opt.work, {"en", "uk", "ru"});
        std::vector<double> times, cpuTimes;
        for (int i = 0; i < 5; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const std::clock_t cpuStart = std::clock();
            EnginePtr engine = quillom::cabi::createEngine(opt.rules, prefs.string());
            cpuTimes.push_back(1000.0 * (std::clock() - cpuStart) / CLOCKS_PER_SEC);
            times.push_back(millisecondsSince(start));
            if (!engine) {
                std::fprintf(stderr, "quillom_accuracy: the engine refused %s\n", opt.rules.c_str());
                return 1;
            }
            if (i == 0) cost.peakRssMb = peakResidentMb();
        }
        // Medians: the machine may be shared, and the processor time says what
        // creation costs when nothing else runs.
        std::sort(times.begin(), times.end());
        std::sort(cpuTimes.begin(), cpuTimes.end());
        cost.createMs = times[times.size() / 2];
        cost.createCpuMs = cpuTimes[cpuTimes.size() / 2];
    }

    std::map<std::string, std::vector<Document>> texts;
    std::vector<Tally> tallies;
    long long evaluations = 0;
    double evaluateMs = 0;
    for (const RunCase& def : runCases()) {
        if (def.name.find(opt.only) == std::string::npos) continue;
        if (!texts.count(def.text)) texts[def.text] = readDocuments(fs::path(opt.data) / (def.text + ".txt"));
        EnginePtr engine =
            quillom::cabi::createEngine(opt.rules, writePreferences(opt.work, def.activeLanguages).string());
        Tally tally(def);
        long long words = 0;
        Typist typist(engine.get(), *keys, def.plan, [&](const WordOutcome& o) {
            ++words;
            tally.add(o);
        });
        const auto start = std::chrono::steady_clock::now();
        int index = 0;
        for (const auto& doc : texts[def.text]) typist.typeDocument(doc, "doc" + std::to_string(index++) + ".exe");
        evaluateMs += millisecondsSince(start);
        evaluations += words;
        tally.setLostByCapture(typist.counters().mistypedLostByCapture);
        tallies.push_back(std::move(tally));
    }
    cost.meanEvaluateUs = evaluations ? evaluateMs * 1000.0 / evaluations : 0;

    std::string table = markdownTable(tallies, cost);
    std::string faults = faultLists(tallies, 25);
    std::string blocksTable =
        "\nRunning text started on the wrong layout (blocks of 30 words; each correction switches the layout, "
        "as the program does; a block counts when every word and mark in it ends as meant):\n\n"
        "| direction | active languages | blocks | ended right |\n|---|---|---:|---:|\n";
    std::string selectionTable =
        "\nWhole sentences typed on the wrong layout and converted as a selection, exactly right:\n\n"
        "| direction | active languages | sentences | \"convert\" | hotkey of the language "
        "|\n|---|---|---:|---:|---:|\n";
    std::map<std::string, std::pair<long long, long long>> bySetup;
    for (const RunningTextCase& run : runningTextCases()) {
        if (run.name.find(opt.only) == std::string::npos) continue;
        if (!texts.count(run.text)) texts[run.text] = readDocuments(fs::path(opt.data) / (run.text + ".txt"));
        EnginePtr engine =
            quillom::cabi::createEngine(opt.rules, writePreferences(opt.work, run.activeLanguages).string());
        const Script script = run.text == "en" ? Script::Latin : Script::Cyrillic;
        TypingPlan plan{run.text, run.wrongLayout, script};
        BlockRun blocks = runBlocks(engine.get(), *keys, plan, blocksOf(texts[run.text], kBlocksPerRun));
        const std::string setup = setupName(run.activeLanguages);
        bySetup[setup].first += blocks.blocks;
        bySetup[setup].second += blocks.right;
        blocksTable += "| " + run.name + " | " + setup + " | " + std::to_string(blocks.blocks) + " | " +
                       percentText(blocks.right, blocks.blocks) + " |\n";
        faults += "\n## blocks: " + run.name + " (" + setup + ")\nfirst wrong word of failed blocks:\n";
        for (const auto& f : blocks.firstFaults) faults += "  " + f + "\n";
        SelectionRun selection = runSelection(engine.get(), *keys, run.text, run.wrongLayout,
                                              sentencesOf(texts[run.text], script, kSentencesPerRun));
        selectionTable += "| " + run.name + " | " + setup + " | " + std::to_string(selection.sentences) + " | " +
                          percentText(selection.exactSmart, selection.sentences) + " | " +
                          percentText(selection.exactNamed, selection.sentences) + " |\n";
        faults += "\n## selection: " + run.name + " (" + setup + ")\nsentences not converted exactly:\n";
        for (const auto& f : selection.firstFaults) faults += "  " + f + "\n";
    }
    for (const auto& [setup, counts] : bySetup)
        blocksTable += "| all directions | " + setup + " | " + std::to_string(counts.first) + " | " +
                       percentText(counts.second, counts.first) + " |\n";
    table += blocksTable + selectionTable;
    const fs::path out(opt.out);
    bool ok = writeFile(out / "summary.json", jsonSummary(tallies, cost));
    ok = writeFile(out / "summary.md", table) && ok;
    ok = writeFile(out / "accuracy.svg", svgChart(tallies)) && ok;
    ok = writeFile(out / "faults.txt", faults) && ok;
    std::fputs(table.c_str(), stdout);
    std::printf("\nMost frequent faults: %s\n", (out / "faults.txt").string().c_str());
    return ok ? 0 : 1;
}
