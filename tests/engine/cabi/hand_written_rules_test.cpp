// Small rules files written by hand, without any of the members that turn on
// the engine's later behaviours: through the C interface, each decides by the
// documented rules alone. The scores are set through the character-pair
// weights (scale 1, so a word's pair score is its mean pair weight) and
// nothing else scores, so every row sits exactly where its limit is.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "quillom.hpp"

namespace {

using Engine = quillom::cabi::EnginePtr;
using Owned = quillom::cabi::OwnedString;

std::vector<std::string> characters(const std::string& word) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < word.size();) {
        std::size_t n = 1;
        while (i + n < word.size() && (static_cast<unsigned char>(word[i + n]) & 0xC0) == 0x80) ++n;
        out.push_back(word.substr(i, n));
        i += n;
    }
    return out;
}

// "пр": w, "ри": w, ... for every adjacent pair of the word.
std::string pairs(const std::string& word, double weight) {
    const auto chars = characters(word);
    std::string out;
    for (std::size_t i = 0; i + 1 < chars.size(); ++i)
        out += (out.empty() ? "\"" : ", \"") + chars[i] + chars[i + 1] + "\": " + std::to_string(weight);
    return out;
}

// The US and Russian layouts' letter keys, lower case, and the Russian letters they give.
std::string keyMap(const std::string& from, const std::string& to) {
    const auto f = characters(from), t = characters(to);
    std::string out;
    for (std::size_t i = 0; i < f.size(); ++i) {
        std::string key = f[i] == "\"" || f[i] == "\\" ? "\\" + f[i] : f[i];
        out += (i ? ", \"" : "\"") + key + "\": \"" + t[i] + "\"";
    }
    return "{" + out + "}";
}
const std::string kUsKeys = "qwertyuiop[]asdfghjkl;'zxcvbnm,.`";
const std::string kRuKeys = "йцукенгшщзхъфывапролджэячсмитьбюё";

struct Rules {
    std::string typedPairs;              // "bigram_log_weights" of en
    double typedUnknown = -19;           // "unknown_bigram_weight" of en
    std::string candidatePairs;          // "bigram_log_weights" of ru
    double candidateUnknown = -1.5;      // "unknown_bigram_weight" of ru
    std::string decision;                // members of "decision"
    std::string tokenization;            // members of "tokenization" after "word_boundaries"
    std::string protectedPatterns;       // elements of "protected_patterns"
    bool englishMicroDictionary = true;  // false: the member is left out
    std::string commonRussian;           // elements of ru "common_words"

    std::string text() const {
        auto language = [](const char* script, const std::string& weights, double unknown, bool micro,
                           const std::string& common) {
            return std::string("{\"script\": \"") + script + "\", \"ngram_scoring_scale\": 1, " +
                   (micro ? "\"micro_dictionary\": [], " : "") + "\"common_words\": [" + common +
                   "], \"bigram_log_weights\": {" + weights +
                   "}, \"unknown_bigram_weight\": " + std::to_string(unknown) + "}";
        };
        return "{\"keyboard_layout\": {\"maps\": {\"en_to_ru\": " + keyMap(kUsKeys, kRuKeys) +
               ", \"ru_to_en\": " + keyMap(kRuKeys, kUsKeys) + "}},\n" +
               "\"tokenization\": {\"word_boundaries\": [\".\", \",\", \"!\", \"?\", \"[\"]" +
               (tokenization.empty() ? "" : ", " + tokenization) + "},\n" + "\"protected_patterns\": [" +
               protectedPatterns + "],\n" + "\"decision\": {" + decision + "},\n" +
               "\"languages\": {\"en\": " + language("latin", typedPairs, typedUnknown, englishMicroDictionary, "") +
               ",\n\"ru\": " + language("cyrillic", candidatePairs, candidateUnknown, true, commonRussian) + "}}";
    }
};

struct Row {
    const char* name;
    Rules rules;
    const char* word;
    const char* corrected;  // empty: kept
    const char* reason;
    std::optional<double> confidence = std::nullopt;
};

double logistic(double delta, double scale) { return 1.0 / (1.0 + std::exp(-delta / scale)); }

class HandWrittenRules : public ::testing::Test {
protected:
    HandWrittenRules() {
        dir_ = std::filesystem::temp_directory_path() /
               ("quillom-hand-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
        std::ofstream(dir_ / "prefs.json") << R"({"active_languages": ["en", "ru"]})";
    }
    ~HandWrittenRules() override { std::filesystem::remove_all(dir_); }

    void check(const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            std::ofstream(dir_ / "rules.json", std::ios::binary) << row.rules.text();
            Engine e(qm_engine_create((dir_ / "rules.json").string().c_str(), (dir_ / "prefs.json").string().c_str()));
            ASSERT_NE(e, nullptr);
            int32_t correct = -1;
            double confidence = -1;
            char target[16] = "";
            char reason[64] = "";
            Owned text(qm_engine_evaluate(e.get(), row.word, "app.exe", &correct, &confidence, target, sizeof target,
                                          reason, sizeof reason));
            ASSERT_NE(text, nullptr);
            EXPECT_EQ(std::string(reason), row.reason);
            EXPECT_EQ(std::string(text.get()), row.corrected);
            EXPECT_EQ(correct, *row.corrected ? 1 : 0);
            if (row.confidence) {
                EXPECT_NEAR(confidence, *row.confidence, 1e-12);
            }
        }
    }

    std::filesystem::path dir_;
};

// Typed ghbdtn scores t (every pair unknown at t), its reading привет scores c.
Rules gibberish(double c, double t, double scale = 10) {
    Rules r;
    r.typedUnknown = t;
    r.candidatePairs = pairs("привет", c);
    r.decision = "\"confidence\": {\"scale\": " + std::to_string(scale) + "}";
    return r;
}

TEST_F(HandWrittenRules, GibberishBypassAtItsLimits) {
    Rules zeroTwoUnknown = gibberish(30, -1.5);
    zeroTwoUnknown.typedPairs = R"("gh": 1.5, "hb": 1.5, "bd": 0)";  // dt, tn unknown: 1.5 + 1.5 + 0 - 1.5 - 1.5
    Rules zeroOneUnknown = gibberish(30, -1.5);
    zeroOneUnknown.typedPairs = R"("gh": 1.5, "hb": 0, "bd": 0, "dt": 0)";
    Rules twoLetterRuleOff = gibberish(8, -19);
    twoLetterRuleOff.candidatePairs = pairs("на", 8);
    twoLetterRuleOff.tokenization = R"("auto_length_2_requires_exact_common_or_override": false)";
    Rules twoLetterRuleOn = twoLetterRuleOff;
    twoLetterRuleOn.tokenization.clear();
    check({
        {"candidate 8 at delta 27", gibberish(8, -19), "ghbdtn", "привет", "high_confidence_gibberish_bypass",
         logistic(27, 10)},
        {"candidate under 8", gibberish(7.875, -40), "ghbdtn", "", "candidate_score_too_low"},
        {"delta under 27", gibberish(8, -18.875), "ghbdtn", "", "candidate_score_too_low"},
        {"delta 27 under the default scale is 0.818 sure", gibberish(8, -19, 18), "ghbdtn", "",
         "candidate_score_too_low"},
        {"delta 60 capped at 0.95", gibberish(8, -52), "ghbdtn", "привет", "high_confidence_gibberish_bypass", 0.95},
        {"typed 0 with two unknown pairs", zeroTwoUnknown, "ghbdtn", "привет", "high_confidence_gibberish_bypass",
         0.95},
        {"typed 0 with one unknown pair", zeroOneUnknown, "ghbdtn", "", "candidate_score_too_low"},
        {"two letters, rule off", twoLetterRuleOff, "yf", "на", "high_confidence_gibberish_bypass", logistic(27, 10)},
        {"two letters, rule on", twoLetterRuleOn, "yf", "", "length_2_no_exact_match"},
    });
}

// ljvf reads дома (4 letters: candidate 41, delta 22 under the curve), ljv
// reads дом (3 letters: 44 and 14); from 5 letters the per-length maps apply.
Rules lengths(const char* word, double c, double t, double scale) {
    Rules r;
    r.typedPairs = pairs(word, t);
    r.candidatePairs = pairs(word == std::string("ljvf") ? "дома" : word == std::string("ljv") ? "дом" : "привет", c);
    r.decision = "\"confidence\": {\"scale\": " + std::to_string(scale) + "}";
    return r;
}

TEST_F(HandWrittenRules, ThresholdsByLengthAtTheirLimits) {
    Rules byMap = lengths("ghbdtn", 20, 0, 5);
    byMap.decision +=
        R"(, "auto_thresholds": {"min_delta_by_length": {"6": 20}, "min_candidate_score_by_length": {"6": 20}})";
    Rules byMapUnder = lengths("ghbdtn", 19.875, 0, 5);
    byMapUnder.decision = byMap.decision;
    check({
        {"4 letters: candidate 41", lengths("ljvf", 41, 0, 10), "ljvf", "дома", "layout_mismatch", 0.95},
        {"4 letters: candidate under 41", lengths("ljvf", 40.875, 0, 10), "ljvf", "", "candidate_score_too_low"},
        {"4 letters: delta 22", lengths("ljvf", 41, 19, 10), "ljvf", "дома", "layout_mismatch", logistic(22, 10)},
        {"4 letters: delta under 22", lengths("ljvf", 41, 19.125, 10), "ljvf", "", "low_confidence"},
        {"3 letters: delta 14", lengths("ljv", 44, 30, 5), "ljv", "дом", "layout_mismatch", logistic(14, 5)},
        {"3 letters: delta under 14", lengths("ljv", 44, 30.125, 5), "ljv", "", "low_confidence"},
        {"3 letters: candidate under 44", lengths("ljv", 43.875, 0, 5), "ljv", "", "candidate_score_too_low"},
        {"6 letters by the maps", byMap, "ghbdtn", "привет", "layout_mismatch", 0.95},
        {"6 letters under the maps", byMapUnder, "ghbdtn", "", "candidate_score_too_low"},
    });
}

// еру typed on the Russian layout reads "the": its pairs score 29, and the
// frequent-word bonus of 15 lifts it to the 44 three letters need, from the
// built-in English list when the rules give none.
TEST_F(HandWrittenRules, EnglishWithoutItsOwnListUsesTheBuiltInOne) {
    Rules builtIn;
    builtIn.englishMicroDictionary = false;
    builtIn.typedPairs = pairs("the", 29);
    builtIn.candidatePairs = pairs("еру", 0);
    builtIn.decision = R"("confidence": {"scale": 10})";
    Rules emptyList = builtIn;
    emptyList.englishMicroDictionary = true;
    check({
        {"built-in list", builtIn, "еру", "the", "layout_mismatch", 0.95},
        {"empty list", emptyList, "еру", "", "candidate_score_too_low"},
    });
}

TEST_F(HandWrittenRules, TrailingMarksAndDigits) {
    Rules digits = gibberish(8, -19);
    digits.candidateUnknown = 8;  // т1 scores as the other pairs
    digits.tokenization = R"("digits_in_token_auto": true)";
    Rules noDigits = digits;
    noDigits.tokenization.clear();
    Rules unknownStem = gibberish(8, -19);  // приветб, приветю score no more than привет
    Rules knownStem = gibberish(8, -19);
    knownStem.commonRussian = R"("привет")";
    Rules letterKey = gibberish(8, -19);
    letterKey.candidateUnknown = 8;  // приветх scores as привет
    Rules unstripped = gibberish(8, -19);
    unstripped.candidateUnknown = 8;
    unstripped.tokenization = R"("strip_boundary_before_scoring": false)";
    // A correction that a language lists with an apostrophe (U+2019, a key
    // the maps leave as it is) is known only by its letters, unless asked.
    Rules apostrophe = gibberish(8, -19);
    apostrophe.candidatePairs = pairs("при\u2019вет", 8);
    apostrophe.commonRussian = "\"при\u2019вет\"";
    Rules apostropheKnown = apostrophe;
    apostropheKnown.tokenization = R"("apostrophes_in_known_words": true)";
    check({
        {"apostrophe: known by its letters only", apostrophe, "ghb\u2019dtn,", "", "ambiguous_trailing_unknown_stem"},
        {"apostrophe: listed with it", apostropheKnown, "ghb\u2019dtn,", "при\u2019вет,", "layout_mismatch"},
        {"digits allowed", digits, "ghbdtn1", "привет1", "high_confidence_gibberish_bypass", logistic(27, 10)},
        {"digits refused", noDigits, "ghbdtn1", "", "contains_digits"},
        {"comma, stem and whole unknown", unknownStem, "ghbdtn,", "", "ambiguous_trailing_unknown_stem",
         logistic(27, 10)},
        {"full stop, stem and whole unknown", unknownStem, "ghbdtn.", "", "ambiguous_trailing_unknown_stem"},
        {"comma after a known stem", knownStem, "ghbdtn,", "привет,", "layout_mismatch"},
        {"bracket is a letter key, not punctuation", letterKey, "ghbdtn[", "приветх",
         "high_confidence_gibberish_bypass"},
        {"boundary kept in the word", unstripped, "ghbdtn,", "приветб", "high_confidence_gibberish_bypass"},
    });
}

TEST_F(HandWrittenRules, ProtectedWords) {
    auto guarded = [](Rules r) {
        r.protectedPatterns = R"x({"id": "start", "regex": "^(ghb|ljv)"})x";
        return r;
    };
    Rules override60 = guarded(lengths("ljvf", 60, 0, 10));
    Rules dotLetter = guarded(gibberish(8, -19));
    dotLetter.candidatePairs = pairs("приюв", 8);
    check({
        {"bypass held back", guarded(gibberish(8, -19)), "ghbdtn", "", "protected_pattern", logistic(27, 10)},
        {"bypass fails on scores", guarded(gibberish(7.875, -40)), "ghbdtn", "", "candidate_score_too_low"},
        {"thresholds fail", guarded(lengths("ljvf", 41, 19.125, 10)), "ljvf", "", "protected_pattern"},
        {"thresholds pass under 60", guarded(lengths("ljvf", 59.875, 0, 10)), "ljvf", "", "protected_pattern"},
        {"60 overrides", override60, "ljvf", "дома", "layout_mismatch_protected_override", 0.95},
        {"a full stop and a letter are never protected", dotLetter, "ghb.d", "приюв",
         "high_confidence_gibberish_bypass"},
    });
}

// Three kept words of one language in an application make it the session
// language; a two-letter word corrected into another is then held back.
TEST_F(HandWrittenRules, SessionLanguageAgainstTwoLetters) {
    Rules rules = gibberish(8, -19);
    rules.candidatePairs = pairs("на", 8);
    rules.commonRussian = R"("на")";
    std::ofstream(dir_ / "rules.json", std::ios::binary) << rules.text();
    Engine e(qm_engine_create((dir_ / "rules.json").string().c_str(), (dir_ / "prefs.json").string().c_str()));
    ASSERT_NE(e, nullptr);
    auto reason = [&](const char* word, const char* app) {
        int32_t correct = -1;
        double confidence = -1;
        char target[16] = "", why[64] = "";
        Owned text(qm_engine_evaluate_context(e.get(), word, app, "en", 0, &correct, &confidence, target, sizeof target,
                                              why, sizeof why));
        return std::string(why);
    };
    auto contextFree = [&](const char* word) {
        int32_t correct = -1;
        double confidence = -1;
        char target[16] = "", why[64] = "";
        Owned text(
            qm_engine_evaluate(e.get(), word, "a.exe", &correct, &confidence, target, sizeof target, why, sizeof why));
    };
    struct Step {
        const char* word;
        const char* app;
        const char* reason;
    } steps[] = {
        {"yf", "a.exe", "layout_mismatch"},  // no session language yet
        {"hello", "a.exe", "candidate_score_too_low"},
        {"world", "a.exe", "candidate_score_too_low"},
        {"yf", "a.exe", "layout_mismatch"},  // the streak restarts: two English words, then this
        {"hello", "a.exe", "candidate_score_too_low"},
        {"world", "a.exe", "candidate_score_too_low"},
        {"there", "a.exe", "candidate_score_too_low"},
        {"yf", "a.exe", "length_2_session_mismatch"},
        {"yf", "b.exe", "layout_mismatch"},  // another application starts afresh
    };
    for (const Step& step : steps) {
        contextFree("ghbdtn");  // changes nothing the contextual calls see
        EXPECT_EQ(reason(step.word, step.app), step.reason) << step.word << " in " << step.app;
    }
}

}  // namespace
