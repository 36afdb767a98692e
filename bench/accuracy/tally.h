// Counts of one benchmark run: false positives of correctly typed words, or
// recall of wrong-layout words, by word length, with the most frequent faults.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "typist.h"

namespace quillom::bench {

inline constexpr std::array<const char*, 6> kLengthBuckets{"1", "2", "3", "4", "5-6", "7+"};

struct Bucket {
    long long words = 0;
    long long changed = 0;  // false-positive runs: correctly typed words that were changed
    long long hits = 0;     // recall runs: corrected to exactly the intended word
    long long wrong = 0;    // recall runs: corrected to something else
};

enum class RunKind { FalsePositives, Recall };

struct RunCase {
    std::string name;  // shown in the tables
    std::string text;  // held-out file: en, ru, uk or tech
    std::vector<std::string> activeLanguages;
    RunKind kind = RunKind::FalsePositives;
    TypingPlan plan;
    bool sameScript = false;
};

class Tally {
public:
    explicit Tally(RunCase def) : def_(std::move(def)) {}

    void add(const WordOutcome& o);
    void setLostByCapture(long long n) { lostByCapture_ = n; }

    const RunCase& def() const { return def_; }
    const std::array<Bucket, 6>& buckets() const { return buckets_; }
    Bucket total() const;
    // Words of 3 characters and more (recall), or all words (false positives).
    Bucket headline() const;
    long long unknownBeginning() const { return unknownBeginning_; }
    long long lostByCapture() const { return lostByCapture_; }
    // The most frequent faults, "typed -> output (reason)", most frequent first.
    std::vector<std::pair<std::string, long long>> topFaults(std::size_t n) const;
    std::vector<std::pair<std::string, long long>> topWrong(std::size_t n) const;

private:
    RunCase def_;
    std::array<Bucket, 6> buckets_{};
    long long unknownBeginning_ = 0;
    long long lostByCapture_ = 0;
    std::map<std::string, long long> faults_;
    std::map<std::string, long long> wrongs_;
};

std::size_t lengthBucket(const std::u16string& intended);
std::vector<std::pair<std::string, long long>> mostFrequent(const std::map<std::string, long long>& m, std::size_t n);

}  // namespace quillom::bench
