#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "pipeline/caret_context.h"

namespace quillom::pipeline {
namespace {

CaretReading readingOf(std::optional<PrecedingText> text, bool hidden = false) {
    return CaretReading{std::move(text), hidden, "test"};
}

TEST(JudgeBeginning, WhatPrecedesTheTypedLettersDecides) {
    struct Case {
        const char* name;
        std::optional<PrecedingText> answer;
        std::u16string typed;
        Beginning expected;
    };
    const Case cases[] = {
        {"empty field", PrecedingText{u"g", true}, u"ghb", Beginning::Known},
        {"all letters shown", PrecedingText{u"ghb", true}, u"ghb", Beginning::Known},
        {"after a space", PrecedingText{u"ok g", true}, u"gh", Beginning::Known},
        {"after a tab", PrecedingText{u"a\tgh", true}, u"gh", Beginning::Known},
        {"after a no-break space", PrecedingText{u"a\u00A0g", true}, u"g", Beginning::Known},
        {"after an opening bracket", PrecedingText{u"(g", true}, u"g", Beginning::Known},
        {"after a letter", PrecedingText{u"ag", true}, u"gh", Beginning::Unknown},
        {"after a digit", PrecedingText{u"7g", true}, u"g", Beginning::Unknown},
        {"after a Cyrillic letter", PrecedingText{u"яg", true}, u"g", Beginning::Unknown},
        {"after a key that is a letter in Cyrillic", PrecedingText{u",g", true}, u"g", Beginning::Unknown},
        {"after a hyphen", PrecedingText{u"-g", true}, u"g", Beginning::Unknown},
        {"text cut before the line start", PrecedingText{u"g", false}, u"g", Beginning::Unknown},
        {"no answer", std::nullopt, u"gh", Beginning::Unknown},
        // "ab" + typed "ab": showing one letter puts 'a' before it, showing two puts nothing.
        {"two readings that disagree", PrecedingText{u"ab", true}, u"bb", Beginning::Unknown},
        {"letters not shown yet", PrecedingText{u"ok ", true}, u"gh", Beginning::NotYetEchoed},
        {"empty field before the letter arrived", PrecedingText{u"", true}, u"g", Beginning::NotYetEchoed},
        {"other text at the caret", PrecedingText{u"xyz", true}, u"gh", Beginning::NotYetEchoed},
    };
    for (const Case& c : cases) EXPECT_EQ(judgeBeginning(c.answer, c.typed), c.expected) << c.name;
}

// Plays the worker's part by hand: takes the ticket and delivers an answer.
void answer(CaretQuestion& q, std::optional<PrecedingText> text, unsigned ms = 3) {
    std::optional<CaretQuestion::Ticket> ticket = q.waitForRead();
    ASSERT_TRUE(ticket);
    q.deliver(*ticket, readingOf(text), ms);
}

TEST(CaretQuestion, AnswerInTimeCountsForTheWord) {
    CaretQuestion q;
    q.ask();
    q.noteWord(u"g");
    answer(q, PrecedingText{u"g", true});
    q.noteWord(u"gh");
    CaretAnswer a = q.take();
    EXPECT_TRUE(a.answered);
    EXPECT_TRUE(a.known);
    EXPECT_EQ(a.reads, 1);
    EXPECT_EQ(a.readMs, 3u);
    EXPECT_FALSE(q.take().answered) << "taking closes the question";
}

TEST(CaretQuestion, SlowOrLateAnswersCountForNothing) {
    // Out of time without text: tried again.
    CaretQuestion slow;
    slow.ask();
    slow.noteWord(u"g");
    std::optional<CaretQuestion::Ticket> ticket = slow.waitForRead();
    EXPECT_TRUE(slow.deliver(*ticket, readingOf(std::nullopt), kCaretReadLimitMs)) << "a slow read is tried again";
    EXPECT_FALSE(slow.take().known);

    // Slow but with the text, while the word lasts: it counts.
    CaretQuestion slowWithText;
    slowWithText.ask();
    slowWithText.noteWord(u"g");
    ticket = slowWithText.waitForRead();
    EXPECT_FALSE(slowWithText.deliver(*ticket, readingOf(PrecedingText{u"g", true}), kCaretReadLimitMs + 20));
    EXPECT_TRUE(slowWithText.take().known);

    // The word ended while the read ran.
    CaretQuestion late;
    late.ask();
    late.noteWord(u"g");
    ticket = late.waitForRead();
    ASSERT_TRUE(ticket);
    EXPECT_FALSE(late.take().answered);
    EXPECT_FALSE(late.deliver(*ticket, readingOf(PrecedingText{u"g", true}), 2));
    EXPECT_FALSE(late.take().known);

    // A new question (another click) while the read ran.
    CaretQuestion moved;
    moved.ask();
    moved.noteWord(u"g");
    ticket = moved.waitForRead();
    moved.ask();
    moved.deliver(*ticket, readingOf(PrecedingText{u"g", true}), 2);
    EXPECT_FALSE(moved.take().known);
}

TEST(CaretQuestion, ReadsAgainUntilTheLettersShowThenGivesUp) {
    CaretQuestion q;
    q.ask();
    q.noteWord(u"g");
    std::optional<CaretQuestion::Ticket> t = q.waitForRead();
    EXPECT_TRUE(q.deliver(*t, readingOf(PrecedingText{u"", true}), 1)) << "the letter has not reached the control";
    answer(q, PrecedingText{u"g", true});
    EXPECT_TRUE(q.take().known);

    q.ask();
    q.noteWord(u"g");
    int reads = 0;
    bool again = true;
    while (again) {
        t = q.waitForRead();
        // Not shown yet, or out of time, in turns.
        again = q.deliver(*t, readingOf(PrecedingText{u"", true}), reads % 2 ? kCaretReadLimitMs : 1);
        ++reads;
    }
    CaretAnswer a = q.take();
    EXPECT_GT(reads, 1);
    EXPECT_LT(reads, 20);
    EXPECT_FALSE(a.answered);
    EXPECT_FALSE(a.known);
}

TEST(CaretQuestion, UnknownAnswerKeepsTheBeginningUnknown) {
    CaretQuestion q;
    q.ask();
    q.noteWord(u"g");
    answer(q, PrecedingText{u"abcg", true});
    CaretAnswer a = q.take();
    EXPECT_TRUE(a.answered);
    EXPECT_FALSE(a.known);
}

CaretReading hiddenField() { return readingOf(std::nullopt, true); }

TEST(CaretQuestion, HiddenFieldIsReadAgainUntilAnotherFieldAnswers) {
    CaretQuestion q;
    q.ask();
    EXPECT_EQ(q.privacy(), FieldPrivacy::Unchecked);
    q.noteWord(u"g");
    std::optional<CaretQuestion::Ticket> t = q.waitForRead();
    EXPECT_TRUE(q.deliver(*t, hiddenField(), 2)) << "the focus may not have left the hidden field yet";
    EXPECT_EQ(q.privacy(), FieldPrivacy::Hidden);
    // The control handled the click: the new field shows the letter.
    answer(q, PrecedingText{u"g", true});
    EXPECT_EQ(q.privacy(), FieldPrivacy::Open);
    EXPECT_TRUE(q.take().known);

    // A field that stays hidden: a bounded number of reads, no answer.
    q.ask();
    q.noteWord(u"g");
    int reads = 0;
    for (bool again = true; again; ++reads) again = q.deliver(*q.waitForRead(), hiddenField(), 2);
    EXPECT_LT(reads, 20);
    CaretAnswer a = q.take();
    EXPECT_FALSE(a.answered);
    EXPECT_FALSE(a.known);
    EXPECT_EQ(a.via, "test");
    EXPECT_EQ(q.privacy(), FieldPrivacy::Hidden) << "the end of the word does not end what is known of the field";
}

TEST(CaretQuestion, FieldIsCheckedEvenWhenTheWordNeedsNoRead) {
    // A Space right after the click ends an empty word: the question closes
    // before any letter, yet the field must still be checked.
    CaretQuestion q;
    q.ask();
    q.take();
    q.noteWord(u"g");
    std::optional<CaretQuestion::Ticket> t = q.waitForRead();
    ASSERT_TRUE(t);
    EXPECT_FALSE(t->caret);
    EXPECT_FALSE(q.deliver(*t, hiddenField(), 2)) << "a check alone is not read again";
    EXPECT_EQ(q.privacy(), FieldPrivacy::Hidden);
    EXPECT_FALSE(q.take().answered);

    // Checked once per question, not per word.
    q.noteWord(u"h");
    q.stop();
    EXPECT_FALSE(q.waitForRead());
}

TEST(CaretQuestion, CheckOfAFieldTheFocusLeftCountsForNothing) {
    CaretQuestion q;
    q.ask();
    q.noteWord(u"g");
    std::optional<CaretQuestion::Ticket> t = q.waitForRead();
    q.ask();  // a click elsewhere while the read ran
    q.deliver(*t, hiddenField(), 2);
    EXPECT_EQ(q.privacy(), FieldPrivacy::Unchecked);
}

TEST(CaretQuestion, WordsWithoutAQuestionAreNotRead) {
    CaretQuestion q;
    q.noteWord(u"g");  // no question open: the beginning is known from the keys
    q.stop();
    EXPECT_FALSE(q.waitForRead()) << "stop wakes the worker without a read";
}

class ScriptedReader final : public CaretReader {
public:
    void begin() override { began = std::this_thread::get_id(); }
    CaretReading read(unsigned limitMs) override {
        limit = limitMs;
        readOn = std::this_thread::get_id();
        ++reads;
        return readingOf(PrecedingText{u"g", true});
    }
    void end() override { ended = std::this_thread::get_id(); }
    std::atomic<int> reads{0};
    std::atomic<unsigned> limit{0};
    // Written by the worker before it is joined, read after.
    std::thread::id began, readOn, ended;
};

TEST(CaretWorker, AnswersOnItsOwnThreadWithTheLimit) {
    CaretQuestion q;
    ScriptedReader reader;
    {
        CaretWorker worker(q, reader);
        q.ask();
        q.noteWord(u"g");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (reader.reads == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    }  // joins the worker: its delivery is done
    EXPECT_EQ(reader.reads, 1);
    EXPECT_EQ(reader.limit, kCaretReadLimitMs);
    EXPECT_NE(reader.readOn, std::this_thread::get_id());
    EXPECT_EQ(reader.began, reader.readOn) << "the reader sets its thread up where it reads";
    EXPECT_EQ(reader.ended, reader.readOn);
    EXPECT_TRUE(q.take().known);
}

}  // namespace
}  // namespace quillom::pipeline
