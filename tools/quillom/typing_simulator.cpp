#include "typing_simulator.h"

#include "common/utf16.h"

namespace quillom::cli {

namespace {

bool isSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDFFF; }

uint32_t virtualKeyFor(char16_t ch) {
    switch (ch) {
    case u' ': return vk::Space;
    case u'\n': return vk::Enter;
    case u'\t': return vk::Tab;
    default: return 0x41;  // any key that gives a character
    }
}

}  // namespace

char16_t TypingSimulator::keyInCurrentLayout(char16_t typed) {
    if (layout_ == startLayout_ || isSurrogate(typed) || typed < 0x20) return typed;
    auto [it, inserted] = keyCache_.try_emplace({layout_, typed}, typed);
    if (inserted) {
        std::u16string converted = toUtf16(engine_.convertTo(toUtf8(std::u16string(1, typed)), layout_));
        if (converted.size() == 1) it->second = converted[0];
    }
    return it->second;
}

void TypingSimulator::finishWord(const pipeline::FinishedWord& word, std::u16string& screen) {
    const std::string typed8 = toUtf8(word.word);
    const Decision d = engine_.evaluate(typed8, app_, layout_, word.hasUnknownBeginning);
    const bool corrected = d.shouldCorrect && !d.corrected.empty();
    capture_.afterEvaluation(corrected);
    const std::string target = corrected ? d.targetLang : d.layoutToFollow();
    const auto along = [&](const std::string& piece) { return engine_.correctWordBefore(piece, typed8, target); };
    std::optional<pipeline::WordsBefore::Replacement> r;
    if (corrected) r = wordsBefore_.withPiecesBefore(word, d.corrected, along);
    else if (!target.empty()) r = wordsBefore_.withCorrectionBefore(word, typed8, along);
    if (r) {
        screen.resize(screen.size() - r->onScreen.size());
        screen += r->replacement;
    }
    if (!target.empty()) layout_ = target;
    wordsBefore_.onWord(word, corrected || r, corrected ? toUtf16(d.corrected) : std::u16string());
    screen += word.boundaryChar;
}

std::u16string TypingSimulator::type(std::u16string_view text) {
    std::u16string screen;
    for (char16_t typed : text) {
        const char16_t ch = keyInCurrentLayout(typed);
        const bool noWordBefore = capture_.word().empty(), unknownBefore = capture_.hasUnknownBeginning();
        const uint32_t vkCode = virtualKeyFor(ch);
        // A character outside the basic plane takes two units: no single
        // character, so the key changes nothing in the word.
        pipeline::CaptureResult r = capture_.onKeyDown(vkCode, isSurrogate(ch) ? 0 : ch);
        if (r.kind == pipeline::CaptureResult::Kind::Boundary) {
            finishWord(r.word, screen);
            continue;
        }
        screen += ch;
        if (capture_.word().empty())
            wordsBefore_.onGap(
                pipeline::gapOf(vkCode, ch, noWordBefore, capture_.hasUnknownBeginning() && !unknownBefore));
    }
    return screen;
}

}  // namespace quillom::cli
