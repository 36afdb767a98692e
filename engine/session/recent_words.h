// The words typed lately in the application, as typed, between single
// spaces: the pieces a correction of the next word may take along ("d ujhjl"
// is "в город", "5/ Abkmnhs" is "5. Фильтры"), and the engine's own last
// correction with the words typed after it, which a later word may have read
// again (Снаряді с передней is "Снаряды с передней"). A piece holds words and
// the punctuation keys that ended them. The caller tells what lies between
// two words; the engine decides what goes along.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillom::session {

// A dash of a sentence ("2г - Лігво"): typed alone between single spaces, it
// is a piece of its own, the same in every layout.
bool isDashPiece(std::string_view piece);

class RecentWords {
public:
    // Pieces remembered; a correction takes along no more than kNearPieces
    // of them unless they are all the text typed so far.
    static constexpr std::size_t kMaxPieces = 4;
    static constexpr std::size_t kNearPieces = 2;
    // Words after a correction that it may still be read again across.
    static constexpr std::size_t kMaxWordsAfterCorrection = 3;

    // The pieces' buffers trade places as words come: each starts with room
    // for an ordinary word, so that plain words allocate nothing.
    RecentWords();

    // Before the next word: between, what was typed since the last word
    // ended, its ending key first (" ", "? ", " - "); nothing when that is
    // unknown or held anything but a space or a punctuation key and spaces,
    // with dashes alone between single spaces (each a piece of its own).
    void beforeWord(std::optional<std::string_view> between);
    // The word just evaluated: replayed, the caller retypes it (a correction,
    // or a revision of the words before); correctedTo, the correction's text.
    void afterWord(std::string_view token, bool hasUnknownBeginning, bool replayed, std::string_view correctedTo);
    // Forgets the words: what comes next starts a text (a new line, a click
    // elsewhere, another application).
    void clear();
    // Forgets the words after one the caller did not tell about: what comes
    // next continues a text whose start is unknown.
    void breakText();

    // What a word that is corrected (or, kept, has the layout follow its
    // language) takes along: the correction before read again, else the
    // pieces nearest first while correct(piece) gives their new text; pieces,
    // how many on screen, text, their new text, one space between.
    struct Along {
        std::size_t pieces = 0;
        std::string text;
    };
    using Correct = std::function<std::optional<std::string>(std::string_view before)>;
    // Pieces that go along as they stand (a number, a dash) count only with
    // a changed piece before them.
    Along along(bool corrects, const Correct& correct) const;
    // The pieces of the text's start, all of them or none (piecesStartText);
    // else those after the nearest dash, all or none, when nothing was seen
    // only in part since it.
    Along wholeStart(const Correct& correct) const;

    // The pieces before the word, nearest first: i = 0 the nearest. Empty
    // unless a single space came right before the word.
    std::size_t pieceCount() const { return open_.empty() ? closedCount_ : 0; }
    std::string_view piece(std::size_t i) const { return closed_[(next_ + kMaxPieces - 1 - i) % kMaxPieces]; }
    // The pieces are the whole text typed since it began: nothing was
    // forgotten, corrected or seen only in part since.
    bool piecesStartText() const { return startsText_ && pieceCount() > 0; }

    // The correction before and the words after it as typed, one space
    // between, when nothing else came between them and the word; its pieces
    // on screen are 1 + wordsAfterCorrection().
    std::optional<std::string_view> correctionBefore() const;
    std::size_t wordsAfterCorrection() const { return wordsAfter_; }

private:
    // The pieces nearest first while correct gives their text, no more than
    // count; walked, how many it gave.
    struct Walk {
        Along along;
        std::size_t walked = 0;
    };
    Walk nearest(const Correct& correct, std::size_t count) const;

    enum class Boundary { Space, Mark };
    void onWord(Boundary boundary, std::string_view mark);
    void onSpace();
    void close();
    void clearPieces();

    // The last word, finished once what ended it is known.
    std::string last_;
    bool lastPending_ = false, lastUnknown_ = false, lastReplayed_ = false, lastOpensCorrection_ = false;

    std::array<std::string, kMaxPieces> closed_;  // a ring: capacities stay, plain words allocate nothing
    std::size_t next_ = 0, closedCount_ = 0;
    bool startsText_ = false;
    bool partStartsText_ = false;  // the pieces after the nearest dash start a part of the text
    std::string open_;
    bool hasCorrection_ = false;
    std::string correction_;  // the correction as typed, then " word" for each word after it
    std::size_t wordsAfter_ = 0;
};

}  // namespace quillom::session
