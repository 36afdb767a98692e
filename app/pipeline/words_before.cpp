#include "pipeline/words_before.h"

#include "common/utf16.h"

namespace quillom::pipeline {

namespace {

// The dashes of a sentence ("2u - Ksudj"): typed alone between spaces, each
// stands as a piece of its own.
bool isDash(char16_t ch) { return ch == u'-' || ch == u'\u2013' || ch == u'\u2014'; }

const std::optional<std::string> kUnknown;

}  // namespace

const std::optional<std::string>& WordsBefore::typedSince() const { return dashOpen_ ? kUnknown : typedSince_; }

void WordsBefore::onWord(const FinishedWord& word, bool replayed, std::u16string_view shown) {
    // A word typed right after a dash ("-la") follows a reset: no piece
    // before it is known.
    if (dashOpen_) clear();
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

void WordsBefore::onGap(Gap gap, char16_t ch) {
    // The capture stays reset after a dash, so a key it saw change nothing
    // there (Backspace, an arrow) may have changed the text.
    if (gap == Gap::Nothing && !dashOpen_) return;
    if (gap == Gap::Space && typedSince_) {
        *typedSince_ += ' ';
        if (!open_.empty()) {
            dashOpen_ = false;
            close();
            return;
        }
    }
    // One space, which closed the piece before it, lies before the dash.
    if (gap == Gap::Dash && typedSince_ && typedSince_->ends_with(' ') && open_.empty()) {
        open_.assign(1, ch);
        *typedSince_ += toUtf8(open_);
        dashOpen_ = true;
        return;
    }
    clear();
}

void WordsBefore::clear() {
    closed_.clear();
    open_.clear();
    typedSince_.reset();
    dashOpen_ = false;
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
    if (!noWordBefore) return WordsBefore::Gap::Break;
    // A dash resets the capture (what follows it may be "-la"), and may yet
    // stand alone.
    if (isDash(ch)) return WordsBefore::Gap::Dash;
    if (madeBeginningUnknown) return WordsBefore::Gap::Break;
    if (vkCode == vk::Space) return WordsBefore::Gap::Space;
    if (vkCode == vk::Enter || vkCode == vk::Tab || isPunctuationBoundary(ch)) return WordsBefore::Gap::Break;
    return WordsBefore::Gap::Nothing;
}

}  // namespace quillom::pipeline
