// Running text as a user meets it: blocks of about 30 words started on the
// wrong layout, where each correction switches the layout as the program
// does; and whole sentences typed on the wrong layout, converted as a
// selection. Both count only results that come out exactly as meant.
#pragma once

#include <string>
#include <vector>

#include "simulation/key_tables.h"
#include "quillom.h"
#include "typist.h"

namespace quillom::bench {

inline constexpr std::size_t kBlockWords = 30;

struct BlockRun {
    std::string name;  // for example "ru typed on en"
    std::vector<std::string> activeLanguages;
    long long blocks = 0;
    long long right = 0;                   // blocks whose every word and mark came out as meant
    std::vector<std::string> firstFaults;  // the first wrong word of some failed blocks
};

struct SelectionRun {
    std::string name;
    std::vector<std::string> activeLanguages;
    long long sentences = 0;
    long long exactSmart = 0;                   // the "convert" hotkey: the engine chooses the target
    long long exactNamed = 0;                   // the hotkey of the intended language
    std::vector<std::string> firstFaults;       // of the hotkey of the intended language
    std::vector<std::string> firstSmartFaults;  // of "convert", where the named hotkey was right
};

// Paragraphs cut into blocks of kBlockWords words (the last one of a paragraph may be shorter).
std::vector<std::u16string> blocksOf(const std::vector<std::vector<std::u16string>>& docs, std::size_t limit);
// Sentences (ended by . ! ? or the paragraph) in the letters of one script only.
std::vector<std::u16string> sentencesOf(const std::vector<std::vector<std::u16string>>& docs, Script script,
                                        std::size_t limit);

// Each block is one fresh document in its own application.
BlockRun runBlocks(qm_engine* engine, const KeyTables& keys, const TypingPlan& plan,
                   const std::vector<std::u16string>& blocks);

// The sentence typed key by key on `wrongLayout` while meaning `textLanguage`'s layout.
std::u16string typedOnLayout(const KeyTables& keys, const std::u16string& sentence, const std::string& meant,
                             const std::string& wrongLayout);
SelectionRun runSelection(qm_engine* engine, const KeyTables& keys, const std::string& textLanguage,
                          const std::string& wrongLayout, const std::vector<std::u16string>& sentences);

}  // namespace quillom::bench
