#include "blocks.h"

#include "common/utf16.h"
#include "quillom.hpp"

namespace quillom::bench {

namespace {

constexpr std::size_t kFaultSamples = 25;

bool endsSentence(char16_t c) { return c == u'.' || c == u'!' || c == u'?'; }

std::u16string trimmed(const std::u16string& s) {
    std::size_t first = s.find_first_not_of(u' ');
    if (first == std::u16string::npos) return {};
    return s.substr(first, s.find_last_not_of(u' ') - first + 1);
}

bool singleScript(const std::u16string& s, Script script) {
    bool any = false;
    for (char16_t c : s) {
        Script of = scriptOf(c);
        if (of != Script::None && of != script) return false;
        any = any || of == script;
    }
    return any;
}

}  // namespace

std::vector<std::u16string> blocksOf(const std::vector<std::vector<std::u16string>>& docs, std::size_t limit) {
    std::vector<std::u16string> blocks;
    for (const auto& doc : docs) {
        for (const auto& paragraph : doc) {
            std::u16string block;
            std::size_t words = 0, at = 0;
            while (at < paragraph.size() && blocks.size() < limit) {
                std::size_t space = paragraph.find(u' ', at);
                std::size_t end = space == std::u16string::npos ? paragraph.size() : space;
                if (end > at) {
                    block += (block.empty() ? u"" : u" ") + paragraph.substr(at, end - at);
                    if (++words == kBlockWords) {
                        blocks.push_back(std::move(block));
                        block.clear();
                        words = 0;
                    }
                }
                at = end + 1;
            }
            if (!block.empty() && blocks.size() < limit) blocks.push_back(std::move(block));
        }
    }
    return blocks;
}

std::vector<std::u16string> sentencesOf(const std::vector<std::vector<std::u16string>>& docs, Script script,
                                        std::size_t limit) {
    std::vector<std::u16string> out;
    for (const auto& doc : docs) {
        for (const auto& paragraph : doc) {
            std::u16string sentence;
            for (std::size_t i = 0; i < paragraph.size() && out.size() < limit; ++i) {
                sentence += paragraph[i];
                bool last = i + 1 == paragraph.size();
                if (!(last || (endsSentence(paragraph[i]) && paragraph[i + 1] == u' '))) continue;
                std::u16string s = trimmed(sentence);
                if (s.size() >= 2 && singleScript(s, script)) out.push_back(std::move(s));
                sentence.clear();
            }
        }
    }
    return out;
}

BlockRun runBlocks(qm_engine* engine, const KeyTables& keys, const TypingPlan& plan,
                   const std::vector<std::u16string>& blocks) {
    BlockRun run;
    TypingPlan following = plan;
    following.followCorrections = true;
    bool right = true;
    std::string firstFault;
    Typist typist(engine, keys, following, [&](const WordOutcome& o) {
        bool wordRight = o.output == toUtf8(o.intended) && o.boundaryTyped == o.boundaryIntended;
        if (!wordRight && right) {
            firstFault =
                toUtf8(o.typed) + " -> " + o.output + " for " + toUtf8(o.intended) +
                (o.boundaryTyped != o.boundaryIntended ? " (mark " + toUtf8(std::u16string(1, o.boundaryTyped)) + ")"
                                                       : "") +
                " (" + o.reason + ")";
        }
        right = right && wordRight;
    });
    int index = 0;
    for (const auto& block : blocks) {
        right = true;
        const long long strayBefore = typist.counters().strayMismatches;
        typist.typeDocument({block}, "block" + std::to_string(index++) + ".exe");
        if (typist.counters().strayMismatches != strayBefore && right) {
            right = false;
            firstFault = "a mark outside words";
        }
        ++run.blocks;
        if (right) ++run.right;
        else if (run.firstFaults.size() < kFaultSamples) run.firstFaults.push_back(firstFault);
    }
    return run;
}

std::u16string typedOnLayout(const KeyTables& keys, const std::u16string& sentence, const std::string& meant,
                             const std::string& wrongLayout) {
    std::u16string out;
    for (char16_t c : sentence) {
        auto key = keys.keyFor(meant, c);
        char16_t typed = key ? keys.charFor(wrongLayout, *key) : 0;
        out += typed ? typed : c;
    }
    return out;
}

SelectionRun runSelection(qm_engine* engine, const KeyTables& keys, const std::string& textLanguage,
                          const std::string& wrongLayout, const std::vector<std::u16string>& sentences) {
    SelectionRun run;
    for (const auto& sentence : sentences) {
        const std::string meant = toUtf8(sentence);
        const std::string typed = toUtf8(typedOnLayout(keys, sentence, textLanguage, wrongLayout));
        const std::string smart = cabi::convertSelection(engine, typed).text;
        const std::string named = cabi::convertSelectionTo(engine, typed, textLanguage).text;
        ++run.sentences;
        if (smart == meant) ++run.exactSmart;
        if (named == meant) ++run.exactNamed;
        if (named != meant && run.firstFaults.size() < kFaultSamples)
            run.firstFaults.push_back(typed + " -> " + named + " for " + meant);
        else if (named == meant && smart != meant && run.firstSmartFaults.size() < kFaultSamples)
            run.firstSmartFaults.push_back(typed + " -> " + smart + " for " + meant);
    }
    return run;
}

}  // namespace quillom::bench
