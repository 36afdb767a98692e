#include "typist.h"

#include "common/utf16.h"
#include "unicode/unicode.h"

namespace quillom::bench {

Script scriptOf(char16_t ch) {
    if (!unicode::isLetter(ch)) return Script::None;
    if (ch < 0x80) return Script::Latin;
    if (ch >= 0x400 && ch <= 0x4FF) return Script::Cyrillic;
    return Script::None;
}

Typist::Typist(qm_engine* engine, const KeyTables& keys, TypingPlan plan, Sink sink)
    : engine_(pipeline::borrowCabiWordEngine(engine)),
      keys_(keys),
      plan_(std::move(plan)),
      sink_(std::move(sink)),
      typing_(*engine_, keys) {}

std::string Typist::layoutFor(Script script) const { return script == Script::Latin ? "en" : plan_.textLanguage; }

void Typist::typeDocument(const std::vector<std::u16string>& paragraphs, const std::string& appId) {
    believed_ = active_ = layoutFor(plan_.textLanguage == "en" ? Script::Latin : Script::Cyrillic);
    if (plan_.wrongScript == (plan_.textLanguage == "en" ? Script::Latin : Script::Cyrillic))
        active_ = plan_.wrongLayout;
    typing_.openWindow(appId, active_);
    firstPress_ = typing_.pressCount() + 1;
    presses_.clear();
    wordPresses_.clear();
    words_.clear();
    ownCorrections_.clear();
    intendedWord_.clear();
    intendedMistyped_ = false;
    lastScript_ = Script::None;
    for (const auto& paragraph : paragraphs) {
        for (char16_t ch : paragraph) typeChar(ch);
        typeChar(u'\n');
    }
    reportDocument();
}

void Typist::typeChar(char16_t intended) {
    if (intended == u'\n') {
        press({vk::Enter, false}, intended);
        return;
    }
    const Script script = scriptOf(intended);
    if (script != Script::None) {
        // Letters decide the layout; punctuation keeps the one in use.
        believed_ = layoutFor(script);
        if (!plan_.followCorrections) {
            active_ = (!plan_.wrongLayout.empty() && script == plan_.wrongScript) ? plan_.wrongLayout : believed_;
        } else if (lastScript_ != Script::None && script != lastScript_) {
            typing_.setLayout(believed_);  // the user switches the layout for the other script
        }
        lastScript_ = script;
    }
    // Without following, the layout stays the user's: a correction's switch
    // is undone before the next key.
    if (!plan_.followCorrections) typing_.setLayout(active_);
    // A mark the believed layout lacks ("/" on the Ukrainian one) is reached
    // some other way.
    if (auto key = keys_.keyFor(believed_, intended)) {
        press(*key, intended);
        return;
    }
    const std::size_t before = typing_.capture().word().size();
    note(typing_.typeOther(intended), before, intended, intended);
}

void Typist::press(KeyStroke key, char16_t intended) {
    const char16_t produced = key.vk == vk::Enter ? u'\n' : keys_.charFor(typing_.desktop().layout(), key);
    const std::size_t before = typing_.capture().word().size();
    note(typing_.press(key), before, produced, intended);
}

void Typist::note(const std::optional<simulation::Evaluation>& ended, std::size_t before, char16_t produced,
                  char16_t intended) {
    const pipeline::WordCapture& capture = typing_.capture();
    Press& p = presses_.emplace_back();
    p.word = words_.size();
    if (ended) {
        p.role = Role::Boundary;
        WordOutcome& o = words_.emplace_back();
        const pipeline::Decision& d = ended->decision;
        o.intended = intendedWord_;
        o.typed = toUtf16(ended->query.word);
        o.unknownBeginning = ended->query.hasUnknownBeginning;
        o.mistyped = intendedMistyped_ && o.typed != o.intended;
        o.corrected = d.shouldCorrect && !d.corrected.empty();
        ownCorrections_.push_back(d.corrected);
        o.reason = d.reason;
        o.target = d.targetLang;
        o.boundaryIntended = intended;
        o.boundaryKind = intended == u'\n'  ? pipeline::BoundaryKind::Enter
                         : intended == u' ' ? pipeline::BoundaryKind::Space
                                            : pipeline::BoundaryKind::Punctuation;
        wordPresses_.clear();
        intendedWord_.clear();
        intendedMistyped_ = false;
        return;
    }
    if (capture.word().size() == before + 1) {
        p.role = Role::Letter;
        wordPresses_.push_back(presses_.size() - 1);
        intendedWord_.push_back(intended);
        if (produced != intended) intendedMistyped_ = true;
        return;
    }
    if (produced != intended) ++counters_.strayMismatches;
    if (capture.word().empty() && before > 0) {
        // The capture dropped the word: its letters are no word's any more.
        for (std::size_t i : wordPresses_) presses_[i].role = Role::Gap;
        wordPresses_.clear();
        if (intendedMistyped_) ++counters_.mistypedLostByCapture;
        intendedWord_.clear();
        intendedMistyped_ = false;
    }
}

void Typist::reportDocument() {
    std::vector<std::u16string> shown(words_.size());
    std::vector<bool> boundarySeen(words_.size());
    const std::u16string& text = typing_.desktop().text();
    const std::vector<uint32_t>& owners = typing_.desktop().pressOfUnit();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t index = owners[i] - firstPress_;
        if (owners[i] < firstPress_ || index >= presses_.size()) continue;
        const Press& p = presses_[index];
        if (p.word >= words_.size()) continue;
        if (p.role == Role::Letter) {
            shown[p.word] += text[i];
        } else if (p.role == Role::Boundary && !boundarySeen[p.word]) {
            boundarySeen[p.word] = true;
            words_[p.word].boundaryTyped = text[i];
        }
    }
    // A word changed by a later word was read again in the language that
    // word settled ("revised": a correction and the words kept after it), or
    // was taken along with that word's correction ("word_before").
    bool afterRevision = false;
    for (std::size_t w = 0; w < words_.size(); ++w) {
        WordOutcome& o = words_[w];
        o.output = toUtf8(shown[w]);
        if (o.corrected) {
            afterRevision = o.output != ownCorrections_[w];
            if (afterRevision) o.reason = "revised";
        } else if (shown[w] != o.typed) {
            o.corrected = true;
            o.reason = afterRevision ? "revised" : "word_before";
        }
        sink_(o);
    }
}

}  // namespace quillom::bench
