#include "session/recent_words.h"

#include <utility>

namespace quillom::session {

namespace {

std::size_t firstCharLength(std::string_view s) {
    std::size_t n = 1;
    while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
    return n;
}

}  // namespace

void RecentWords::beforeWord(std::optional<std::string_view> between) {
    const bool pending = std::exchange(lastPending_, false);
    if (!between || between->empty()) {
        clear();
        return;
    }
    if (!pending) return;
    std::string_view rest = *between;
    if (rest.front() == ' ') {
        onWord(Boundary::Space, {});
        rest.remove_prefix(1);
    } else {
        const std::size_t n = firstCharLength(rest);
        onWord(Boundary::Mark, rest.substr(0, n));
        rest.remove_prefix(n);
    }
    for (const char c : rest) {
        if (c != ' ') {
            clear();
            return;
        }
        onSpace();
    }
}

void RecentWords::afterWord(std::string_view token, bool hasUnknownBeginning, bool replayed,
                            std::string_view correctedTo) {
    last_.assign(token);
    lastPending_ = true;
    lastUnknown_ = hasUnknownBeginning;
    lastReplayed_ = replayed;
    lastOpensCorrection_ = replayed && !correctedTo.empty();
}

void RecentWords::onWord(Boundary boundary, std::string_view mark) {
    if (lastReplayed_) {
        clearPieces();
        hasCorrection_ = boundary == Boundary::Space && !lastUnknown_ && lastOpensCorrection_;
        if (hasCorrection_) correction_.assign(last_);
        return;
    }
    if (hasCorrection_ && boundary == Boundary::Space && open_.empty() && !lastUnknown_ &&
        wordsAfter_ < kMaxWordsAfterCorrection) {
        correction_ += ' ';
        correction_ += last_;
        ++wordsAfter_;
    } else {
        hasCorrection_ = false;
        wordsAfter_ = 0;
    }
    open_ += last_;
    if (boundary == Boundary::Space) close();
    else open_ += mark;
}

void RecentWords::onSpace() {
    hasCorrection_ = false;
    wordsAfter_ = 0;
    if (!open_.empty()) {
        close();
        return;
    }
    clearPieces();
}

void RecentWords::close() {
    std::swap(closed_[next_], open_);
    open_.clear();
    next_ = (next_ + 1) % kMaxPieces;
    if (closedCount_ < kMaxPieces) ++closedCount_;
}

void RecentWords::clearPieces() {
    closedCount_ = 0;
    open_.clear();
    hasCorrection_ = false;
    wordsAfter_ = 0;
}

void RecentWords::clear() {
    clearPieces();
    lastPending_ = false;
}

std::optional<std::string_view> RecentWords::correctionBefore() const {
    if (!hasCorrection_ || !open_.empty()) return std::nullopt;
    return correction_;
}

RecentWords::Along RecentWords::along(bool corrects, const Correct& correct) const {
    Along along;
    if (const auto before = correctionBefore()) {
        if (auto revised = correct(*before)) {
            along.pieces = 1 + wordsAfter_;
            along.text = std::move(*revised);
            return along;
        }
    }
    if (!corrects) return along;
    for (std::size_t i = 0; i < pieceCount(); ++i) {
        std::optional<std::string> text = correct(piece(i));
        if (!text) break;
        along.text = along.pieces == 0 ? std::move(*text) : *text + ' ' + along.text;
        ++along.pieces;
    }
    return along;
}

}  // namespace quillom::session
