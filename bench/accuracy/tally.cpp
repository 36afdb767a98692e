#include "tally.h"

#include <algorithm>

#include "common/utf16.h"
#include "unicode/unicode.h"

namespace quillom::bench {

std::size_t lengthBucket(const std::u16string& intended) {
    std::size_t letters = 0;
    for (char16_t ch : intended)
        if (unicode::isLetter(ch) || ch == u'\'') ++letters;
    if (letters <= 1) return 0;
    if (letters <= 4) return letters - 1;
    return letters <= 6 ? 4 : 5;
}

void Tally::add(const WordOutcome& o) {
    const std::string typed = toUtf8(o.typed);
    bool hasLetter = false;
    for (char16_t ch : o.intended) hasLetter = hasLetter || unicode::isLetter(ch);
    if (!hasLetter) return;
    if (def_.kind == RunKind::Recall && !o.mistyped) return;
    // The engine never corrects a word whose start it did not see; such words
    // say nothing about the rules and are counted apart.
    if (o.unknownBeginning) {
        ++unknownBeginning_;
        return;
    }
    Bucket& b = buckets_[lengthBucket(o.intended)];
    ++b.words;
    const bool changed = o.corrected && o.output != typed;
    if (def_.kind == RunKind::FalsePositives) {
        if (changed) {
            ++b.changed;
            ++faults_[typed + " -> " + o.output + " (" + o.reason + ", " + o.target + ")"];
        }
        return;
    }
    const std::string intended = toUtf8(o.intended);
    if (o.corrected && o.output == intended) {
        ++b.hits;
    } else if (o.corrected) {
        ++b.wrong;
        ++wrongs_[typed + " -> " + o.output + " instead of " + intended + " (" + o.reason + ")"];
    } else {
        ++faults_[typed + " -> " + intended + " missed (" + o.reason + ")"];
    }
}

Bucket Tally::total() const {
    Bucket t;
    for (const auto& b : buckets_) {
        t.words += b.words;
        t.changed += b.changed;
        t.hits += b.hits;
        t.wrong += b.wrong;
    }
    return t;
}

Bucket Tally::headline() const {
    if (def_.kind == RunKind::FalsePositives) return total();
    Bucket t;
    const std::size_t first = def_.sameScript ? 3 : 2;  // 4+ for same-script, 3+ otherwise
    for (std::size_t i = first; i < buckets_.size(); ++i) {
        t.words += buckets_[i].words;
        t.hits += buckets_[i].hits;
        t.wrong += buckets_[i].wrong;
    }
    return t;
}

std::vector<std::pair<std::string, long long>> mostFrequent(const std::map<std::string, long long>& m, std::size_t n) {
    std::vector<std::pair<std::string, long long>> v(m.begin(), m.end());
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    if (v.size() > n) v.resize(n);
    return v;
}

std::vector<std::pair<std::string, long long>> Tally::topFaults(std::size_t n) const {
    return mostFrequent(faults_, n);
}

std::vector<std::pair<std::string, long long>> Tally::topWrong(std::size_t n) const { return mostFrequent(wrongs_, n); }

}  // namespace quillom::bench
