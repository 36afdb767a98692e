#include "pipeline/words_before.h"

#include "common/utf16.h"

namespace quillom::pipeline {

void WordsBefore::onWord(const FinishedWord& word, bool corrected, std::u16string_view correctedTo) {
    if (corrected) {
        clear();
        if (word.boundaryKind == BoundaryKind::Space && !word.hasUnknownBeginning && !correctedTo.empty())
            corrected_ = Correction{word.word, std::u16string(correctedTo), {}, 0};
        return;
    }
    if (corrected_ && word.boundaryKind == BoundaryKind::Space && open_.empty() && !word.hasUnknownBeginning &&
        corrected_->wordsAfter < kMaxWordsAfterCorrection) {
        corrected_->after += u' ';
        corrected_->after += word.word;
        ++corrected_->wordsAfter;
    } else {
        corrected_.reset();
    }
    open_ += word.word;
    switch (word.boundaryKind) {
    case BoundaryKind::Space: close(); break;
    case BoundaryKind::Punctuation: open_ += word.boundaryChar; break;
    case BoundaryKind::Enter:
    case BoundaryKind::Tab: clear(); break;
    }
}

void WordsBefore::onGap(Gap gap) {
    if (gap == Gap::Nothing) return;
    corrected_.reset();
    if (gap == Gap::Space && !open_.empty()) {
        close();
        return;
    }
    clear();
}

void WordsBefore::clear() {
    closed_.clear();
    open_.clear();
    corrected_.reset();
}

std::size_t WordsBefore::length() const {
    std::size_t n = open_.size();
    if (corrected_) return n + corrected_->typed.size() + corrected_->after.size() - corrected_->wordsAfter;
    for (const std::u16string& piece : closed_) n += piece.size();
    return n;
}

WordsBefore::Replacement WordsBefore::withPiecesBefore(const FinishedWord& word, std::string_view corrected,
                                                       const PieceCorrection& along) const {
    if (auto revision = withCorrectionBefore(word, corrected, along)) return *revision;
    Replacement r{word.word, toUtf16(corrected), word.word};
    if (word.hasUnknownBeginning) return r;
    for (auto piece = pieces().rbegin(); piece != pieces().rend(); ++piece) {
        std::optional<std::string> before = along(toUtf8(*piece));
        if (!before) break;
        r.typed = *piece + u" " + r.typed;
        r.replacement = toUtf16(*before) + u" " + r.replacement;
        r.onScreen = r.typed;
    }
    return r;
}

std::optional<WordsBefore::Replacement> WordsBefore::withCorrectionBefore(const FinishedWord& word,
                                                                          std::string_view now,
                                                                          const PieceCorrection& along) const {
    if (!corrected_ || word.hasUnknownBeginning || !open_.empty()) return std::nullopt;
    const std::u16string typed = corrected_->typed + corrected_->after;
    std::optional<std::string> revised = along(toUtf8(typed));
    if (!revised) return std::nullopt;
    return Replacement{typed + u" " + word.word, toUtf16(*revised) + u" " + toUtf16(now),
                       corrected_->replacement + corrected_->after + u" " + word.word};
}

void WordsBefore::close() {
    closed_.push_back(std::move(open_));
    open_.clear();
    if (closed_.size() > kMaxPieces) closed_.erase(closed_.begin());
}

WordsBefore::Gap gapOf(uint32_t vkCode, char16_t ch, bool noWordBefore, bool madeBeginningUnknown) {
    if (!noWordBefore || madeBeginningUnknown) return WordsBefore::Gap::Break;
    if (vkCode == vk::Space) return WordsBefore::Gap::Space;
    if (vkCode == vk::Enter || vkCode == vk::Tab || isPunctuationBoundary(ch)) return WordsBefore::Gap::Break;
    return WordsBefore::Gap::Nothing;
}

}  // namespace quillom::pipeline
