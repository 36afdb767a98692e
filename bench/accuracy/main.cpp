// Accuracy benchmark: types held-out text through the program's typing pipeline into the
// engine with the right and the wrong layout active, and reports false
// positives and recall by word length, for documentation and, apart, for
// everyday prose and dialogue.
//
//   quillom_accuracy --rules FILE --data DIR --out DIR [--work DIR] [--only NAME-PART]
//
// DIR holds what the rules generator writes: en.txt, ru.txt, uk.txt, tech.txt,
// everyday-en.txt, everyday-ru.txt, everyday-uk.txt and keyboard_layouts.txt.
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
#include "simulation/key_tables.h"
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

// A body of held-out text: documentation (LANG.txt, tech.txt) or everyday
// prose and dialogue (everyday-LANG.txt), reported in sections of their own.
struct Corpus {
    std::string title;   // heading of its section
    std::string prefix;  // of its file names
    std::string label;   // before the names of its runs
    bool technical;      // has a technical text
};

const std::vector<Corpus>& corpora() {
    static const std::vector<Corpus> all{{"Documentation", "", "", true},
                                         {"Everyday prose and dialogue", "everyday-", "everyday ", false}};
    return all;
}

std::vector<RunCase> runCases(const Corpus& corpus) {
    using L = std::vector<std::string>;
    const L enRu{"en", "ru"}, all{"en", "uk", "ru"};
    const std::string& pre = corpus.prefix;
    const std::string& label = corpus.label;
    auto fp = [&](std::string name, std::string lang, L langs) {
        return RunCase{label + name,
                       pre + lang,
                       std::move(langs),
                       RunKind::FalsePositives,
                       {lang == "tech" ? "en" : lang, "", Script::None},
                       false};
    };
    auto recall = [&](std::string name, std::string lang, L langs, std::string layout, Script script, bool same) {
        return RunCase{label + name, pre + lang, std::move(langs), RunKind::Recall, {lang, std::move(layout), script},
                       same};
    };
    std::vector<RunCase> cases{
        fp("en text", "en", enRu), fp("en text", "en", all),
        fp("ru text", "ru", enRu), fp("ru text (bilingual)", "ru", all),
        fp("uk text", "uk", all),
    };
    if (corpus.technical) {
        cases.push_back(fp("technical (en layout)", "tech", enRu));
        cases.push_back(fp("technical (en layout)", "tech", all));
    }
    for (RunCase c : {
             recall("ru typed on en", "ru", enRu, "en", Script::Cyrillic, false),
             recall("ru typed on en (bilingual)", "ru", all, "en", Script::Cyrillic, false),
             recall("uk typed on en", "uk", all, "en", Script::Cyrillic, false),
             recall("en typed on ru", "en", enRu, "ru", Script::Latin, false),
             recall("en typed on uk", "en", all, "uk", Script::Latin, false),
             recall("uk typed on ru", "uk", all, "ru", Script::Cyrillic, true),
             recall("ru typed on uk", "ru", all, "uk", Script::Cyrillic, true),
         })
        cases.push_back(std::move(c));
    return cases;
}

struct RunningTextCase {
    std::string name;
    std::string language;
    std::vector<std::string> activeLanguages;
    std::string wrongLayout;
};

std::vector<RunningTextCase> runningTextCases() {
    using L = std::vector<std::string>;
    const L enRu{"en", "ru"}, enUk{"en", "uk"}, all{"en", "uk", "ru"};
    // A Ukrainian-only user is typed too, as the measure a bilingual
    // Ukrainian user's blocks are held to.
    return {
        {"ru typed on en", "ru", enRu, "en"},
        {"en typed on ru", "en", enRu, "ru"},
        {"ru typed on en (bilingual)", "ru", all, "en"},
        {"uk typed on en (Ukrainian only)", "uk", enUk, "en"},
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

struct EvaluationTime {
    long long evaluations = 0;
    double milliseconds = 0;
};

struct CorpusReport {
    std::vector<Tally> tallies;
    std::string runningText;        // the blocks and selection tables
    std::string runningTextFaults;  // their first faults
};

// Types one corpus: word by word (false positives and recall), then blocks of
// running text and whole sentences converted as a selection.
CorpusReport runCorpus(const Corpus& corpus, const Options& opt, const KeyTables& keys, EvaluationTime& time) {
    CorpusReport report;
    std::map<std::string, std::vector<Document>> texts;
    auto text = [&](const std::string& name) -> const std::vector<Document>& {
        if (!texts.count(name)) texts[name] = readDocuments(fs::path(opt.data) / (name + ".txt"));
        return texts[name];
    };
    for (const RunCase& def : runCases(corpus)) {
        if (def.name.find(opt.only) == std::string::npos) continue;
        const auto& docs = text(def.text);
        EnginePtr engine =
            quillom::cabi::createEngine(opt.rules, writePreferences(opt.work, def.activeLanguages).string());
        Tally tally(def);
        long long words = 0;
        Typist typist(engine.get(), keys, def.plan, [&](const WordOutcome& o) {
            ++words;
            tally.add(o);
        });
        const auto start = std::chrono::steady_clock::now();
        int index = 0;
        for (const auto& doc : docs) typist.typeDocument(doc, "doc" + std::to_string(index++) + ".exe");
        time.milliseconds += millisecondsSince(start);
        time.evaluations += words;
        tally.setLostByCapture(typist.counters().mistypedLostByCapture);
        report.tallies.push_back(std::move(tally));
    }
    std::string blocksTable =
        "\nRunning text started on the wrong layout (blocks of 30 words; each correction switches the layout, "
        "as the program does; a block counts when every word and mark in it ends as meant):\n\n"
        "| direction | active languages | blocks | ended right |\n|---|---|---:|---:|\n";
    std::string selectionTable =
        "\nWhole sentences typed on the wrong layout and converted as a selection, exactly right:\n\n"
        "| direction | active languages | sentences | \"convert\" | hotkey of the language "
        "|\n|---|---|---:|---:|---:|\n";
    struct SetupCounts {
        int directions = 0;
        long long blocks = 0, right = 0;
    };
    std::map<std::string, SetupCounts> bySetup;
    std::string& faults = report.runningTextFaults;
    for (const RunningTextCase& run : runningTextCases()) {
        const std::string name = corpus.label + run.name;
        if (name.find(opt.only) == std::string::npos) continue;
        const auto& docs = text(corpus.prefix + run.language);
        EnginePtr engine =
            quillom::cabi::createEngine(opt.rules, writePreferences(opt.work, run.activeLanguages).string());
        const Script script = run.language == "en" ? Script::Latin : Script::Cyrillic;
        TypingPlan plan{run.language, run.wrongLayout, script};
        BlockRun blocks = runBlocks(engine.get(), keys, plan, blocksOf(docs, kBlocksPerRun));
        const std::string setup = setupName(run.activeLanguages);
        SetupCounts& counts = bySetup[setup];
        ++counts.directions;
        counts.blocks += blocks.blocks;
        counts.right += blocks.right;
        blocksTable += "| " + name + " | " + setup + " | " + std::to_string(blocks.blocks) + " | " +
                       percentText(blocks.right, blocks.blocks) + " |\n";
        faults += "\n## blocks: " + name + " (" + setup + ")\nfirst wrong word of failed blocks:\n";
        for (const auto& f : blocks.firstFaults) faults += "  " + f + "\n";
        SelectionRun selection = runSelection(engine.get(), keys, run.language, run.wrongLayout,
                                              sentencesOf(docs, script, kSentencesPerRun));
        selectionTable += "| " + name + " | " + setup + " | " + std::to_string(selection.sentences) + " | " +
                          percentText(selection.exactSmart, selection.sentences) + " | " +
                          percentText(selection.exactNamed, selection.sentences) + " |\n";
        faults += "\n## selection: " + name + " (" + setup + ")\nsentences not converted exactly:\n";
        for (const auto& f : selection.firstFaults) faults += "  " + f + "\n";
        faults += "sentences that only \"convert\" got wrong (the target it chose):\n";
        for (const auto& f : selection.firstSmartFaults) faults += "  " + f + "\n";
    }
    for (const auto& [setup, counts] : bySetup)
        if (counts.directions > 1)
            blocksTable += "| " + corpus.label + "all directions | " + setup + " | " + std::to_string(counts.blocks) +
                           " | " + percentText(counts.right, counts.blocks) + " |\n";
    report.runningText = blocksTable + selectionTable;
    return report;
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

    std::vector<Tally> tallies;
    EvaluationTime time;
    std::string table, faults, chart;
    for (const Corpus& corpus : corpora()) {
        const fs::path first = fs::path(opt.data) / (corpus.prefix + "en.txt");
        if (!fs::exists(first)) {
            std::fprintf(stderr, "quillom_accuracy: no %s; skipping \"%s\"\n", first.string().c_str(),
                         corpus.title.c_str());
            continue;
        }
        CorpusReport report = runCorpus(corpus, opt, *keys, time);
        table += "\n# " + corpus.title + "\n\n" + markdownTable(report.tallies) + report.runningText;
        faults += "\n# " + corpus.title + "\n\n" + faultLists(report.tallies, 25) + report.runningTextFaults;
        if (chart.empty()) chart = svgChart(report.tallies);
        for (Tally& t : report.tallies) tallies.push_back(std::move(t));
    }
    cost.meanEvaluateUs = time.evaluations ? time.milliseconds * 1000.0 / time.evaluations : 0;
    table = engineCostLine(cost) + table;
    const fs::path out(opt.out);
    bool ok = writeFile(out / "summary.json", jsonSummary(tallies, cost));
    ok = writeFile(out / "summary.md", table) && ok;
    ok = writeFile(out / "accuracy.svg", chart) && ok;
    ok = writeFile(out / "faults.txt", faults) && ok;
    std::fputs(table.c_str(), stdout);
    std::printf("\nMost frequent faults: %s\n", (out / "faults.txt").string().c_str());
    return ok ? 0 : 1;
}
