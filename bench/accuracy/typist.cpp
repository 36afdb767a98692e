#include "typist.h"

#include <memory>

#include "common/utf16.h"
#include "unicode/unicode.h"

namespace quillom::bench {

namespace {

// A key that the believed layout does not have: the character arrives as it is
// (the user reached it some other way), on a key with no fixed action.
constexpr uint32_t kOtherKey = 0x07;

struct OwnedString {
    void operator()(char* p) const { qm_free_string(p); }
};

}  // namespace

Script scriptOf(char16_t ch) {
    if (!unicode::isLetter(ch)) return Script::None;
    if (ch < 0x80) return Script::Latin;
    if (ch >= 0x400 && ch <= 0x4FF) return Script::Cyrillic;
    return Script::None;
}

std::string Typist::layoutFor(Script script) const {
    return script == Script::Latin ? "en" : plan_.textLanguage;
}

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
    flushPending();
}

void Typist::flushPending() {
    if (pending_) sink_(*pending_);
    pending_.reset();
}

void Typist::correctWordBefore(const WordOutcome& corrected) {
    if (!pending_ || gapSincePending_ || !corrected.corrected || corrected.unknownBeginning ||
        pending_->corrected || pending_->boundaryTyped != u' ')
        return;
    const std::string previous = toUtf8(pending_->typed);
    const std::string typed = toUtf8(corrected.typed);
    std::unique_ptr<char, OwnedString> result(
        qm_engine_correct_word_before(engine_, previous.c_str(), typed.c_str(), corrected.target.c_str()));
    if (!result || !*result) return;
    pending_->output = result.get();
    pending_->corrected = true;
    pending_->reason = "word_before";
    pending_->target = corrected.target;
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
    auto key = keys_.keyFor(believed_, intended);
    if (!key) key = keys_.keyFor("en", intended);
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
    CaptureResult r = capture_.onKeyDown(key.vk, produced);
    if (key.shift) capture_.trackModifiers(vk::LeftShift, false);
    if (r.kind == CaptureResult::Kind::Boundary) {
        finish(r.word, key, intended);
        intendedWord_.clear();
        intendedMistyped_ = false;
    } else if (capture_.word().size() == before + 1) {
        intendedWord_.push_back(intended);
        if (produced != intended) intendedMistyped_ = true;
    } else {
        gapSincePending_ = true;
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
    o.boundaryIntended = boundaryIntended;
    o.intended = intendedWord_;
    o.typed = word.word;
    o.unknownBeginning = word.hasUnknownBeginning;
    o.mistyped = intendedMistyped_ && o.typed != o.intended;
    const std::string typed8 = toUtf8(word.word);
    int32_t should = 0;
    double confidence = 0;
    char target[16] = {};
    char reason[64] = {};
    std::unique_ptr<char, OwnedString> result(
        qm_engine_evaluate_context(engine_, typed8.c_str(), appId_.c_str(), active_.c_str(),
                                   word.hasUnknownBeginning ? 1 : 0, &should, &confidence, target,
                                   sizeof target, reason, sizeof reason));
    o.corrected = should == 1 && result && *result;
    o.output = o.corrected ? std::string(result.get()) : typed8;
    o.reason = reason;
    o.target = target;
    // The program sends a punctuation key after a correction as the layout it
    // switches to has it: "?" typed on the English layout comes out as ",".
    if (o.corrected && word.boundaryKind == pipeline::BoundaryKind::Punctuation && !o.target.empty())
        if (char16_t ch = keys_.charFor(o.target, boundaryKey)) o.boundaryTyped = ch;
    if (plan_.followCorrections && o.corrected && !o.target.empty()) active_ = o.target;
    correctWordBefore(o);
    flushPending();
    pending_ = std::move(o);
    gapSincePending_ = false;
}

}  // namespace quillom::bench
