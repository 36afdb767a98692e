#include "pipeline/words_before.h"

#include "common/utf16.h"

namespace quillom::pipeline {

void WordsBefore::onWord(const FinishedWord& word, bool replayed, std::u16string_view shown) {
    switch (word.boundaryKind) {
    case BoundaryKind::Space: typedSince_.emplace(1, ' '); break;
    case BoundaryKind::Punctuation: typedSince_.emplace(toUtf8(std::u16string(1, word.boundaryChar))); break;
    case BoundaryKind::Enter:
    case BoundaryKind::Tab: typedSince_.reset(); break;
    }
    if (replayed) {
        closed_.clear();
        open_.clear();
        if (word.boundaryKind == BoundaryKind::Space && !shown.empty())
            closed_.push_back({word.word, std::u16string(shown)});
        return;
    }
    open_ += word.word;
    switch (word.boundaryKind) {
    case BoundaryKind::Space: close(); break;
    case BoundaryKind::Punctuation: open_ += word.boundaryChar; break;
    case BoundaryKind::Enter:
    case BoundaryKind::Tab:
        closed_.clear();
        open_.clear();
        break;
    }
}

void WordsBefore::onGap(Gap gap) {
    if (gap == Gap::Nothing) return;
    if (gap == Gap::Space && typedSince_) {
        *typedSince_ += ' ';
        if (!open_.empty()) {
            close();
            return;
        }
    }
    clear();
}

void WordsBefore::clear() {
    closed_.clear();
    open_.clear();
    typedSince_.reset();
}

std::size_t WordsBefore::length() const {
    std::size_t n = open_.size();
    for (const Piece& piece : closed_) n += piece.shown.size();
    return n;
}

WordsBefore::Replacement WordsBefore::replacing(const FinishedWord& word, std::size_t pieces, std::string_view before,
                                                std::string_view now) const {
    Replacement r{word.word, toUtf16(now), word.word};
    if (pieces == 0 || pieces > closed_.size() || !open_.empty()) return r;
    std::u16string typed, shown;
    for (auto piece = closed_.end() - static_cast<std::ptrdiff_t>(pieces); piece != closed_.end(); ++piece) {
        typed += piece->typed + u' ';
        shown += piece->shown + u' ';
    }
    return {typed + word.word, toUtf16(before) + u' ' + r.replacement, shown + word.word};
}

void WordsBefore::close() {
    closed_.push_back({open_, open_});
    open_.clear();
    if (closed_.size() > kMaxPieces) closed_.pop_front();
}

WordsBefore::Gap gapOf(uint32_t vkCode, char16_t ch, bool noWordBefore, bool madeBeginningUnknown) {
    if (!noWordBefore || madeBeginningUnknown) return WordsBefore::Gap::Break;
    if (vkCode == vk::Space) return WordsBefore::Gap::Space;
    if (vkCode == vk::Enter || vkCode == vk::Tab || isPunctuationBoundary(ch)) return WordsBefore::Gap::Break;
    return WordsBefore::Gap::Nothing;
}

}  // namespace quillom::pipeline
