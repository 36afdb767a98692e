// The benchmark's outputs: a JSON summary, a markdown table and an SVG chart.
#pragma once

#include <string>
#include <vector>

#include "tally.h"

namespace quillom::bench {

struct EngineCost {
    double createMs = 0;     // wall clock
    double createCpuMs = 0;  // processor time of this process
    double peakRssMb = 0;
    double evaluationsPerRun = 0;
    double meanEvaluateUs = 0;
    double rulesFileMb = 0;
};

std::string jsonSummary(const std::vector<Tally>& runs, const EngineCost& cost);
// The false-positive and recall tables of some runs.
std::string markdownTable(const std::vector<Tally>& runs);
std::string engineCostLine(const EngineCost& cost);
std::string svgChart(const std::vector<Tally>& runs);
// The fault lists, for the console and the results folder.
std::string faultLists(const std::vector<Tally>& runs, std::size_t n);

double percent(long long part, long long whole);

}  // namespace quillom::bench
