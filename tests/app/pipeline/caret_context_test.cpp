#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "pipeline/caret_context.h"

namespace quillom::pipeline {
namespace {

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
    q.deliver(*ticket, text, ms);
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
    CaretQuestion slow;
    slow.ask();
    slow.noteWord(u"g");
    std::optional<CaretQuestion::Ticket> ticket = slow.waitForRead();
    EXPECT_TRUE(slow.deliver(*ticket, PrecedingText{u"g", true}, kCaretReadLimitMs)) << "a slow read is tried again";
    EXPECT_FALSE(slow.take().known);

    // The word ended while the read ran.
    CaretQuestion late;
    late.ask();
    late.noteWord(u"g");
    ticket = late.waitForRead();
    ASSERT_TRUE(ticket);
    EXPECT_FALSE(late.take().answered);
    EXPECT_FALSE(late.deliver(*ticket, PrecedingText{u"g", true}, 2));
    EXPECT_FALSE(late.take().known);

    // A new question (another click) while the read ran.
    CaretQuestion moved;
    moved.ask();
    moved.noteWord(u"g");
    ticket = moved.waitForRead();
    moved.ask();
    moved.deliver(*ticket, PrecedingText{u"g", true}, 2);
    EXPECT_FALSE(moved.take().known);
}

TEST(CaretQuestion, ReadsAgainUntilTheLettersShowThenGivesUp) {
    CaretQuestion q;
    q.ask();
    q.noteWord(u"g");
    std::optional<CaretQuestion::Ticket> t = q.waitForRead();
    EXPECT_TRUE(q.deliver(*t, PrecedingText{u"", true}, 1)) << "the letter has not reached the control";
    answer(q, PrecedingText{u"g", true});
    EXPECT_TRUE(q.take().known);

    q.ask();
    q.noteWord(u"g");
    int reads = 0;
    bool again = true;
    while (again) {
        t = q.waitForRead();
        // Not shown yet, or out of time, in turns.
        again = q.deliver(*t, PrecedingText{u"", true}, reads % 2 ? kCaretReadLimitMs : 1);
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

TEST(CaretQuestion, WordsWithoutAQuestionAreNotRead) {
    CaretQuestion q;
    q.noteWord(u"g");  // no question open: the beginning is known from the keys
    q.stop();
    EXPECT_FALSE(q.waitForRead()) << "stop wakes the worker without a read";
}

class ScriptedReader final : public CaretReader {
public:
    std::optional<PrecedingText> read(unsigned limitMs) override {
        limit = limitMs;
        ++reads;
        return PrecedingText{u"g", true};
    }
    std::atomic<int> reads{0};
    std::atomic<unsigned> limit{0};
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
    EXPECT_TRUE(q.take().known);
}

}  // namespace
}  // namespace quillom::pipeline
