#include "typist.h"

#include <algorithm>

#include "common/utf16.h"
#include "quillom.hpp"
#include "unicode/unicode.h"

namespace quillom::bench {

namespace {

// A key that the believed layout does not have: the character arrives as it is
// (the user reached it some other way), on a key with no fixed action.
constexpr uint32_t kOtherKey = 0x07;

}  // namespace

Script scriptOf(char16_t ch) {
    if (!unicode::isLetter(ch)) return Script::None;
    if (ch < 0x80) return Script::Latin;
    if (ch >= 0x400 && ch <= 0x4FF) return Script::Cyrillic;
    return Script::None;
}

std::string Typist::layoutFor(Script script) const { return script == Script::Latin ? "en" : plan_.textLanguage; }

void Typist::typeDocument(const std::vector<std::u16string>& paragraphs, const std::string& appId) {
    capture_ = pipeline::WordCapture{};
    appId_ = appId;
    qm_engine_reset_context(engine_);
    believed_ = active_ = layoutFor(plan_.textLanguage == "en" ? Script::Latin : Script::Cyrillic);
    if (plan_.wrongScript == (plan_.textLanguage == "en" ? Script::Latin : Script::Cyrillic))
        active_ = plan_.wrongLayout;
    intendedWord_.clear();
    intendedMistyped_ = false;
    lastScript_ = Script::None;
    for (const auto& paragraph : paragraphs) {
        for (char16_t ch : paragraph) typeChar(ch);
        typeChar(u'\n');
    }
    report(held_.size());
}

// UTF-16 units the word holds in the pieces before the next word.
std::size_t Typist::pieceUnits(const WordOutcome& o) {
    return o.typed.size() + (o.boundaryKind == pipeline::BoundaryKind::Punctuation ? 1 : 0);
}

void Typist::report(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sink_(held_[i]);
    held_.erase(held_.begin(), held_.begin() + std::ptrdiff_t(count));
}

// Words that no piece before the next word holds any more cannot change.
void Typist::reportSettled() {
    std::size_t units = 0;
    for (const WordOutcome& o : held_) units += pieceUnits(o);
    std::size_t settled = 0;
    while (settled < held_.size() && units > wordsBefore_.length()) units -= pieceUnits(held_[settled++]);
    report(settled);
}

// As the program does: the pieces before a corrected word, nearest first,
// while the engine corrects them; each piece's words take their part of the
// replacement (the layout maps change key for key).
void Typist::correctWordsBefore(const WordOutcome& corrected) {
    const std::string typed = toUtf8(corrected.typed);
    const std::vector<std::u16string>& pieces = wordsBefore_.pieces();
    std::size_t end = held_.size();
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        const std::string previous = toUtf8(*piece);
        const std::string result = cabi::takeString(
            qm_engine_correct_word_before(engine_, previous.c_str(), typed.c_str(), corrected.target.c_str()));
        if (result.empty()) return;
        const std::u16string replacement = toUtf16(result);
        std::size_t begin = end, units = 0;
        while (begin > 0 && units < piece->size()) units += pieceUnits(held_[--begin]);
        if (units != piece->size() || replacement.size() != units) return;
        std::size_t at = 0;
        for (std::size_t i = begin; i < end; ++i) {
            WordOutcome& o = held_[i];
            o.output = toUtf8(replacement.substr(at, o.typed.size()));
            at += o.typed.size();
            if (o.boundaryKind == pipeline::BoundaryKind::Punctuation) o.boundaryTyped = replacement[at++];
            o.corrected = true;
            o.reason = "word_before";
            o.target = corrected.target;
        }
        end = begin;
    }
}

// As the program does: the correction before the word and the words typed
// after it, read again in the language the word settled; each of those words
// takes its part of the new reading.
bool Typist::reviseCorrectionBefore(const pipeline::FinishedWord& word, const std::string& target) {
    if (target.empty() || held_.empty()) return false;
    const std::string typed = toUtf8(word.word);
    std::string revised;
    const auto along = [&](const std::string& before) -> std::optional<std::string> {
        revised =
            cabi::takeString(qm_engine_correct_word_before(engine_, before.c_str(), typed.c_str(), target.c_str()));
        if (revised.empty()) return std::nullopt;
        return revised;
    };
    if (!wordsBefore_.withCorrectionBefore(word, typed, along)) return false;
    std::vector<std::string> readings;
    for (std::size_t at = 0; at <= revised.size();) {
        const std::size_t space = std::min(revised.find(' ', at), revised.size());
        readings.push_back(revised.substr(at, space - at));
        at = space + 1;
    }
    if (readings.size() > held_.size()) return false;
    const std::size_t first = held_.size() - readings.size();
    for (std::size_t i = 0; i < readings.size(); ++i) {
        WordOutcome& o = held_[first + i];
        if (i > 0 && readings[i] == o.output) continue;
        o.output = readings[i];
        o.corrected = true;
        o.reason = "revised";
        o.target = target;
    }
    return true;
}

void Typist::typeChar(char16_t intended) {
    if (intended == u'\n') {
        press({vk::Enter, false}, u'\n', intended);
        return;
    }
    const Script script = scriptOf(intended);
    if (script != Script::None) {
        // Letters decide the layout; punctuation keeps the one in use.
        believed_ = layoutFor(script);
        if (!plan_.followCorrections)
            active_ = (!plan_.wrongLayout.empty() && script == plan_.wrongScript) ? plan_.wrongLayout : believed_;
        else if (lastScript_ != Script::None && script != lastScript_)
            active_ = believed_;  // the user switches the layout for the other script
        lastScript_ = script;
    }
    // A mark the believed layout lacks ("/" on the Ukrainian one) is reached
    // some other way: its US key would give the active layout's own mark.
    auto key = keys_.keyFor(believed_, intended);
    if (!key) {
        press({kOtherKey, false}, intended, intended);
        return;
    }
    press(*key, keys_.charFor(active_, *key), intended);
}

void Typist::press(KeyStroke key, char16_t produced, char16_t intended) {
    using namespace pipeline;
    if (key.shift) {
        capture_.trackModifiers(vk::LeftShift, true);
        capture_.onKeyDown(vk::LeftShift, 0);
    }
    const std::size_t before = capture_.word().size();
    const bool unknownBefore = capture_.hasUnknownBeginning();
    CaptureResult r = capture_.onKeyDown(key.vk, produced);
    if (key.shift) capture_.trackModifiers(vk::LeftShift, false);
    if (r.kind != CaptureResult::Kind::Boundary && capture_.word().empty()) {
        wordsBefore_.onGap(gapOf(key.vk, produced, before == 0, capture_.hasUnknownBeginning() && !unknownBefore));
        reportSettled();
    }
    if (r.kind == CaptureResult::Kind::Boundary) {
        finish(r.word, key, intended);
        intendedWord_.clear();
        intendedMistyped_ = false;
    } else if (capture_.word().size() == before + 1) {
        intendedWord_.push_back(intended);
        if (produced != intended) intendedMistyped_ = true;
    } else {
        if (produced != intended) ++counters_.strayMismatches;
        if (capture_.word().empty() && before > 0) {
            if (intendedMistyped_) ++counters_.mistypedLostByCapture;
            intendedWord_.clear();
            intendedMistyped_ = false;
        }
    }
}

void Typist::finish(const pipeline::FinishedWord& word, KeyStroke boundaryKey, char16_t boundaryIntended) {
    WordOutcome o;
    o.boundaryTyped = word.boundaryChar;
    o.boundaryKind = word.boundaryKind;
    o.boundaryIntended = boundaryIntended;
    o.intended = intendedWord_;
    o.typed = word.word;
    o.unknownBeginning = word.hasUnknownBeginning;
    o.mistyped = intendedMistyped_ && o.typed != o.intended;
    const std::string typed8 = toUtf8(word.word);
    cabi::Decision d = cabi::evaluateContext(engine_, typed8, appId_, active_, word.hasUnknownBeginning);
    o.corrected = d.shouldCorrect && !d.corrected.empty();
    const std::string follow = d.layoutToFollow();
    o.output = o.corrected ? std::move(d.corrected) : typed8;
    o.reason = std::move(d.reason);
    o.target = std::move(d.targetLang);
    // The program sends a punctuation key after a correction as the layout it
    // switches to has it: "?" typed on the English layout comes out as ",".
    if (o.corrected && word.boundaryKind == pipeline::BoundaryKind::Punctuation && !o.target.empty())
        if (char16_t ch = keys_.charFor(o.target, boundaryKey)) o.boundaryTyped = ch;
    if (plan_.followCorrections && o.corrected && !o.target.empty()) active_ = o.target;
    if (plan_.followCorrections && !follow.empty()) active_ = follow;
    const bool revised = reviseCorrectionBefore(word, o.corrected ? o.target : follow);
    if (o.corrected && !o.unknownBeginning && !revised) correctWordsBefore(o);
    capture_.afterEvaluation(o.corrected);
    wordsBefore_.onWord(word, o.corrected || revised, o.corrected ? toUtf16(o.output) : std::u16string());
    held_.push_back(std::move(o));
    reportSettled();
}

}  // namespace quillom::bench
