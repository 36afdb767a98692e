// Types text key by key through the word capture and applies each correction
// as the program does: erase the word, type the replacement and the boundary,
// switch the layout to the correction's target. Short words typed just before a
// corrected word, with one space between, go with it when the engine says so,
// and a correction just before is read again when the word settles another
// language of its script.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "cli_engine.h"
#include "pipeline/word_capture.h"
#include "pipeline/words_before.h"

namespace quillom::cli {

class TypingSimulator {
public:
    // text is what the keys give with startLayout active.
    TypingSimulator(Engine& engine, std::string startLayout, std::string app)
        : engine_(engine), startLayout_(startLayout), layout_(std::move(startLayout)), app_(std::move(app)) {}

    // Returns the text as the application shows it afterwards.
    std::u16string type(std::u16string_view text);
    const std::string& currentLayout() const { return layout_; }

private:
    char16_t keyInCurrentLayout(char16_t typed);
    void finishWord(const pipeline::FinishedWord& word, std::u16string& screen);

    Engine& engine_;
    const std::string startLayout_;
    std::string layout_;
    std::string app_;
    pipeline::WordCapture capture_;
    pipeline::WordsBefore wordsBefore_;
    std::map<std::pair<std::string, char16_t>, char16_t> keyCache_;
};

}  // namespace quillom::cli
