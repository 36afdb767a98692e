#include "session/recent_words.h"

#include <algorithm>
#include <utility>

namespace quillom::session {

namespace {

std::size_t firstCharLength(std::string_view s) {
    std::size_t n = 1;
    while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
    return n;
}

// Bytes of an ordinary word with the marks that ended it.
constexpr std::size_t kPieceCapacity = 64;

}  // namespace

bool isDashPiece(std::string_view piece) { return piece == "-" || piece == "\u2013" || piece == "\u2014"; }

RecentWords::RecentWords() {
    for (std::string& piece : closed_) piece.reserve(kPieceCapacity);
    open_.reserve(kPieceCapacity);
}

void RecentWords::beforeWord(std::optional<std::string_view> between) {
    const bool pending = std::exchange(lastPending_, false);
    if (!between || between->empty()) {
        clear();
        return;
    }
    if (!pending) return;
    std::string_view rest = *between;
    std::size_t spaces = 0;  // since the last word, mark or dash
    if (rest.front() == ' ') {
        onWord(Boundary::Space, {});
        rest.remove_prefix(1);
        spaces = 1;
    } else {
        const std::size_t n = firstCharLength(rest);
        onWord(Boundary::Mark, rest.substr(0, n));
        rest.remove_prefix(n);
    }
    while (!rest.empty()) {
        if (rest.front() == ' ') {
            onSpace();
            rest.remove_prefix(1);
            ++spaces;
            continue;
        }
        const std::size_t n = firstCharLength(rest);
        const bool spaceAfter = n < rest.size() && rest[n] == ' ';
        if (spaces != 1 || !spaceAfter || !isDashPiece(rest.substr(0, n))) {
            clear();
            return;
        }
        open_.assign(rest.substr(0, n));
        partStartsText_ = true;
        rest.remove_prefix(n);
        spaces = 0;
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
    // A tail joined by a mark to the piece before it ("6-" then "foot") was
    // seen whole here, whatever the caller knew of its start.
    if (lastUnknown_ && open_.empty()) startsText_ = partStartsText_ = false;
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
    if (closedCount_ == kMaxPieces) startsText_ = false;
    std::swap(closed_[next_], open_);
    open_.clear();
    next_ = (next_ + 1) % kMaxPieces;
    if (closedCount_ < kMaxPieces) ++closedCount_;
}

void RecentWords::clearPieces() {
    startsText_ = partStartsText_ = false;
    closedCount_ = 0;
    open_.clear();
    hasCorrection_ = false;
    wordsAfter_ = 0;
}

void RecentWords::clear() {
    clearPieces();
    lastPending_ = false;
    startsText_ = true;
}

void RecentWords::breakText() {
    clear();
    startsText_ = false;
}

std::optional<std::string_view> RecentWords::correctionBefore() const {
    if (!hasCorrection_ || !open_.empty()) return std::nullopt;
    return correction_;
}

RecentWords::Along RecentWords::along(bool corrects, const Correct& correct) const {
    if (const auto before = correctionBefore()) {
        if (auto revised = correct(*before)) return {1 + wordsAfter_, std::move(*revised)};
    }
    if (!corrects) return {};
    return nearest(correct, std::min(pieceCount(), kNearPieces)).along;
}

RecentWords::Along RecentWords::wholeStart(const Correct& correct) const {
    if (piecesStartText()) {
        Walk walk = nearest(correct, pieceCount());
        if (walk.walked == pieceCount()) return std::move(walk.along);
    }
    // A dash parts the text: what follows it starts anew ("Привет - Ytrcec").
    if (!partStartsText_) return {};
    std::size_t part = 0;
    while (part < pieceCount() && !isDashPiece(piece(part))) ++part;
    if (part == 0 || part == pieceCount()) return {};
    Walk walk = nearest(correct, part);
    return walk.walked == part ? std::move(walk.along) : Along{};
}

RecentWords::Walk RecentWords::nearest(const Correct& correct, std::size_t count) const {
    Walk walk;
    std::string text;
    for (; walk.walked < count; ++walk.walked) {
        const std::size_t i = walk.walked;
        std::optional<std::string> reading = correct(piece(i));
        if (!reading) break;
        const bool changed = *reading != piece(i);
        text = i == 0 ? std::move(*reading) : *reading + ' ' + text;
        if (!changed) continue;
        walk.along.pieces = i + 1;
        walk.along.text = text;
    }
    return walk;
}

}  // namespace quillom::session
