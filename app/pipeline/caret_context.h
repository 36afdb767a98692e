// What precedes the caret in the focused control, so that the first word
// after a click, a change of focus or a navigation key is not taken for the
// tail of a longer word when the control can tell otherwise.
//
// The hook never asks the control itself: a cross-process call can take long
// and the hook thread must not wait. It opens a question when the word's
// beginning becomes unknown; a worker thread reads the text before the caret
// once the first letter of the next word is typed, and the answer counts for
// that word if it comes in time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace quillom::pipeline {

// The characters right before the caret (or before the selection, which
// typing replaces), nearest last.
struct PrecedingText {
    std::u16string text;
    bool reachesStart = false;  // text begins at the start of its line or of the field
};

enum class Beginning { Known, Unknown, NotYetEchoed };

// typed: the letters the hook has seen of the word so far. The control may
// show some or all of them before the caret; what counts is what precedes
// them. Only a read that shows at least one typed letter is taken: then the
// control has handled every key and click before that letter, so the caret
// is where the word is going. Any doubt answers Unknown.
Beginning judgeBeginning(const std::optional<PrecedingText>& answer, std::u16string_view typed);

// What one read of the focused control found.
struct CaretReading {
    // Nothing when the control cannot tell (no answer in time, a control of
    // an unknown kind, a field that hides what is typed).
    std::optional<PrecedingText> text;
    // The focused field hides what is typed (a password field).
    bool hidden = false;
    // Which way the answer came and what the control is, for the debug log.
    std::string via;
};

// The read shows the letters typed so far where they are going (at least
// two, or the whole word when shorter): the control handled the keys before
// them, so the read is of the field they were typed into.
bool showsTyped(const CaretReading& reading, std::u16string_view typed);

// Reads the focused control of the foreground window. Runs on the worker
// thread, and only there: begin and end bracket the reads on that thread.
// A read must give up after limitMs.
class CaretReader {
public:
    virtual ~CaretReader() = default;
    virtual void begin() {}
    virtual CaretReading read(unsigned limitMs) = 0;
    virtual void end() {}
};

inline constexpr unsigned kCaretReadLimitMs = 50;

// Whether the focused field hides what is typed, as the latest of the
// worker's reads for the question tells: Hidden when it said so, Open when it
// said otherwise and showed the typed letters (showsTyped), else Unchecked.
// Standard edits say so by their style, which the hook reads itself; other
// controls only through a read, so their answer comes a moment after the
// letters.
enum class FieldPrivacy { Unchecked, Open, Hidden };

// What the question came to when the word ended.
struct CaretAnswer {
    bool answered = false;  // a read in time judged the beginning Known or Unknown
    bool known = false;
    FieldPrivacy privacy = FieldPrivacy::Unchecked;  // of the field the word went into
    unsigned readMs = 0;                             // the last read's time
    int reads = 0;
    std::optional<std::u16string> lastText;  // what the last read saw before the caret, for the debug log
    std::string via;                         // how the last read came, for the debug log
};

// Shared by the hook thread and the worker; every member locks.
class CaretQuestion {
public:
    // Hook thread.
    // The word's beginning became unknown: a new question for the next word.
    void ask();
    // The question also follows the field: every letter of the word asks
    // for a read, so that the latest read tells the field the word went into
    // (focus moves inside one window without a key the hook can tell).
    void followField();
    // After a key that left letters in the word: the reader may start.
    void noteWord(const std::u16string& word);
    // At the end of the word; closes the question. The field's privacy
    // stays known until the next question.
    CaretAnswer take();
    FieldPrivacy privacy();

    // Worker thread.
    struct Ticket {
        uint64_t generation = 0;
        uint64_t field = 0;   // the question that wants the field checked
        bool caret = false;   // the read answers the caret question too
        std::u16string word;  // the letters typed when the read began
    };
    // Blocks until a question has letters and no answer yet, or the field
    // of the last question is still to be checked and a word has letters,
    // or stop() was called.
    std::optional<Ticket> waitForRead();
    // The same without waiting: nothing when no read is wanted now.
    std::optional<Ticket> readIfWanted();
    // An answer that came after the word ended counts for nothing. True when
    // the read should be tried again (a few times): the control did not show
    // the typed letters yet, or the read took as long as the limit.
    bool deliver(Ticket ticket, const CaretReading& reading, unsigned elapsedMs);
    void stop();

private:
    enum class State { Closed, Waiting, Reading, Answered };
    static constexpr int kMaxReads = 16;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool readWanted() const;
    Ticket startRead();

    uint64_t generation_ = 0;
    State state_ = State::Closed;
    uint64_t field_ = 0;  // generation of the last question, whose field is checked
    bool checkWanted_ = false;
    bool following_ = false;  // followField: a read for every letter
    std::u16string readFor_;  // the letters the last read began with
    FieldPrivacy privacy_ = FieldPrivacy::Unchecked;
    std::u16string word_;
    CaretAnswer answer_;
    bool stopped_ = false;
};

// The worker thread: reads for every question until destroyed.
class CaretWorker {
public:
    CaretWorker(CaretQuestion& question, CaretReader& reader);
    ~CaretWorker();
    CaretWorker(const CaretWorker&) = delete;
    CaretWorker& operator=(const CaretWorker&) = delete;

private:
    void run();

    CaretQuestion& question_;
    CaretReader& reader_;
    std::thread thread_;
};

}  // namespace quillom::pipeline
