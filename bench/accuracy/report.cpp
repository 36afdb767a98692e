#include "report.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "config/json.h"

namespace quillom::bench {

namespace {

std::string fixed(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

std::string joined(const std::vector<std::string>& v) {
    std::string out;
    for (const auto& s : v) out += (out.empty() ? "" : ",") + s;
    return out;
}

bool isRecall(const Tally& t) { return t.def().kind == RunKind::Recall; }

std::string xmlEscaped(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '&') out += "&amp;";
        else out += c;
    }
    return out;
}

}  // namespace

double percent(long long part, long long whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

std::string jsonSummary(const std::vector<Tally>& runs, const EngineCost& cost) {
    std::ostringstream o;
    o << "{\n  \"engine\": {\"create_ms\": " << fixed(cost.createMs, 1)
      << ", \"create_cpu_ms\": " << fixed(cost.createCpuMs, 1) << ", \"peak_rss_mb\": " << fixed(cost.peakRssMb, 1)
      << ", \"rules_file_mb\": " << fixed(cost.rulesFileMb, 2)
      << ", \"mean_evaluate_us\": " << fixed(cost.meanEvaluateUs, 2) << "},\n  \"runs\": [\n";
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const Tally& t = runs[r];
        const Bucket h = t.headline();
        o << "    {\"name\": " << json::quote(t.def().name) << ", \"kind\": \""
          << (isRecall(t) ? "recall" : "false_positives") << "\", \"text\": \"" << t.def().text
          << "\", \"active_languages\": \"" << joined(t.def().activeLanguages) << "\", \"words\": " << t.total().words
          << ", \"start_unseen\": " << t.unknownBeginning();
        if (isRecall(t)) {
            o << ", \"lost_by_capture\": " << t.lostByCapture()
              << ", \"headline_recall_pct\": " << fixed(percent(h.hits, h.words), 3)
              << ", \"headline_wrong_pct\": " << fixed(percent(h.wrong, h.words), 3);
        } else {
            o << ", \"false_positive_pct\": " << fixed(percent(h.changed, h.words), 4);
        }
        o << ", \"by_length\": {";
        for (std::size_t i = 0; i < kLengthBuckets.size(); ++i) {
            const Bucket& b = t.buckets()[i];
            o << (i ? ", " : "") << "\"" << kLengthBuckets[i] << "\": {\"words\": " << b.words;
            if (isRecall(t))
                o << ", \"corrected\": " << b.hits << ", \"wrong\": " << b.wrong
                  << ", \"recall_pct\": " << fixed(percent(b.hits, b.words), 2);
            else
                o << ", \"changed\": " << b.changed
                  << ", \"false_positive_pct\": " << fixed(percent(b.changed, b.words), 3);
            o << "}";
        }
        o << "}}" << (r + 1 < runs.size() ? "," : "") << "\n";
    }
    o << "  ]\n}\n";
    return o.str();
}

std::string markdownTable(const std::vector<Tally>& runs) {
    std::ostringstream o;
    o << "False positives (correctly typed words that get changed):\n\n"
      << "| text | active languages | words | changed | false positives |\n|---|---|---:|---:|---:|\n";
    for (const auto& t : runs) {
        if (isRecall(t)) continue;
        const Bucket h = t.headline();
        o << "| " << t.def().name << " | " << joined(t.def().activeLanguages) << " | " << h.words << " | " << h.changed
          << " | " << fixed(percent(h.changed, h.words), 3) << "% |\n";
    }
    o << "\nRecall (wrong-layout words corrected to exactly the intended word), by length in letters:\n\n"
      << "| direction | active languages | words | 1 | 2 | 3 | 4 | 5-6 | 7+ | headline | wrong |\n"
      << "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n";
    for (const auto& t : runs) {
        if (!isRecall(t)) continue;
        const Bucket h = t.headline();
        o << "| " << t.def().name << " | " << joined(t.def().activeLanguages) << " | " << t.total().words;
        for (const auto& b : t.buckets()) o << " | " << (b.words ? fixed(percent(b.hits, b.words), 1) : "-");
        o << " | " << fixed(percent(h.hits, h.words), 2) << "% (" << (t.def().sameScript ? "4+" : "3+") << ") | "
          << fixed(percent(h.wrong, h.words), 2) << "% |\n";
    }
    return o.str();
}

std::string engineCostLine(const EngineCost& cost) {
    std::ostringstream o;
    o << "Engine with the shipped rules file (" << fixed(cost.rulesFileMb, 2) << " MB): created in "
      << fixed(cost.createMs, 1) << " ms (" << fixed(cost.createCpuMs, 1)
      << " ms of processor time), peak resident memory " << fixed(cost.peakRssMb, 1) << " MB, mean evaluation "
      << fixed(cost.meanEvaluateUs, 2) << " µs per word.\n";
    return o.str();
}

std::string faultLists(const std::vector<Tally>& runs, std::size_t n) {
    std::ostringstream o;
    for (const auto& t : runs) {
        auto faults = t.topFaults(n);
        auto wrongs = t.topWrong(n);
        if (faults.empty() && wrongs.empty()) continue;
        o << "## " << t.def().name << " (" << joined(t.def().activeLanguages) << ")\n";
        o << (isRecall(t) ? "most frequent misses:\n" : "most frequent false positives:\n");
        for (const auto& [what, count] : faults) o << "  " << count << "  " << what << "\n";
        if (!wrongs.empty()) o << "most frequent wrong corrections:\n";
        for (const auto& [what, count] : wrongs) o << "  " << count << "  " << what << "\n";
        if (isRecall(t))
            o << "not counted: " << t.unknownBeginning() << " words whose start the capture did not see, "
              << t.lostByCapture() << " words the capture dropped (a key that resets the word)\n";
        o << "\n";
    }
    return o.str();
}

namespace {

struct Panel {
    std::string title;
    std::vector<const Tally*> runs;
    double maxPct;                   // top of the axis
    double (*value)(const Bucket&);  // percentage shown for a bucket
};

double recallPct(const Bucket& b) { return percent(b.hits, b.words); }
double falsePositivePct(const Bucket& b) { return percent(b.changed, b.words); }

std::string runLabel(const Tally& t) { return t.def().name + " (" + joined(t.def().activeLanguages) + ")"; }

// Grouped bars: one group per length bucket, one bar per run; values above the
// axis are drawn to its top and labelled.
void drawPanel(std::ostringstream& o, const Panel& p, int top) {
    const char* colours[] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd", "#8c564b", "#e377c2", "#7f7f7f"};
    const int left = 60, plotWidth = 620, height = 260;
    const int groupWidth = plotWidth / static_cast<int>(kLengthBuckets.size());
    const int barWidth = std::max(4, (groupWidth - 10) / std::max<int>(1, static_cast<int>(p.runs.size())));
    o << "<text x=\"" << left << "\" y=\"" << top - 14 << "\" font-size=\"15\">" << xmlEscaped(p.title) << "</text>\n";
    for (int i = 0; i <= 5; ++i) {
        const int y = top + height - i * height / 5;
        o << "<line x1=\"" << left << "\" y1=\"" << y << "\" x2=\"" << left + plotWidth << "\" y2=\"" << y
          << "\" stroke=\"#ddd\"/><text x=\"" << left - 8 << "\" y=\"" << y + 4 << "\" text-anchor=\"end\">"
          << fixed(p.maxPct * i / 5, p.maxPct < 5 ? 2 : 0) << "%</text>\n";
    }
    for (std::size_t g = 0; g < kLengthBuckets.size(); ++g) {
        const int gx = left + static_cast<int>(g) * groupWidth + 5;
        for (std::size_t r = 0; r < p.runs.size(); ++r) {
            const Bucket& b = p.runs[r]->buckets()[g];
            if (!b.words) continue;
            const double pct = p.value(b);
            const int h = static_cast<int>(std::min(pct, p.maxPct) / p.maxPct * height);
            o << "<rect x=\"" << gx + static_cast<int>(r) * barWidth << "\" y=\"" << top + height - h << "\" width=\""
              << barWidth - 1 << "\" height=\"" << std::max(h, 1) << "\" fill=\"" << colours[r % 8] << "\"><title>"
              << xmlEscaped(runLabel(*p.runs[r])) << ", " << kLengthBuckets[g] << ": " << fixed(pct, 3) << "% of "
              << b.words << "</title></rect>\n";
        }
        o << "<text x=\"" << gx + groupWidth / 2 - 5 << "\" y=\"" << top + height + 16 << "\" text-anchor=\"middle\">"
          << kLengthBuckets[g] << "</text>\n";
    }
    for (std::size_t r = 0; r < p.runs.size(); ++r) {
        const int y = top + 10 + static_cast<int>(r) * 18;
        const Bucket h = p.runs[r]->headline();
        o << "<rect x=\"" << left + plotWidth + 20 << "\" y=\"" << y - 10 << "\" width=\"12\" height=\"12\" fill=\""
          << colours[r % 8] << "\"/><text x=\"" << left + plotWidth + 38 << "\" y=\"" << y << "\">"
          << xmlEscaped(runLabel(*p.runs[r])) << ": " << fixed(p.value(h), p.maxPct < 5 ? 3 : 1) << "%</text>\n";
    }
}

}  // namespace

std::string svgChart(const std::vector<Tally>& runs) {
    Panel recall{
        "Recall of wrong-layout words by length in letters (legend: 3+ letters; 4+ same-script)", {}, 100.0, recallPct};
    Panel fp{"False positives: correctly typed words changed, by length (axis to 0.5%)", {}, 0.5, falsePositivePct};
    for (const auto& t : runs) (isRecall(t) ? recall : fp).runs.push_back(&t);
    std::ostringstream o;
    o << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1060\" height=\"700\" font-family=\"sans-serif\" "
         "font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    drawPanel(o, recall, 40);
    drawPanel(o, fp, 390);
    o << "<text x=\"60\" y=\"690\" fill=\"#555\">Held-out documents typed key by key through the US, Russian and "
         "Ukrainian layouts; bench/accuracy/run.sh</text>\n</svg>\n";
    return o.str();
}

}  // namespace quillom::bench
