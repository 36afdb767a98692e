#include "caret_context.h"

#include <algorithm>
#include <chrono>

#include "unicode/unicode.h"
#include "word_capture.h"

namespace quillom::pipeline {
namespace {

// What may stand before the first letter of a word: the capture itself ends
// words at these.
bool endsWords(char16_t unit) { return unicode::isWhitespace(unit) || isPunctuationBoundary(unit); }

bool boundaryBefore(const PrecedingText& answer, size_t typedShown) {
    std::u16string_view before = std::u16string_view(answer.text).substr(0, answer.text.size() - typedShown);
    if (before.empty()) return answer.reachesStart;
    return endsWords(before.back());
}

}  // namespace

Beginning judgeBeginning(const std::optional<PrecedingText>& answer, std::u16string_view typed) {
    if (!answer) return Beginning::Unknown;
    std::u16string_view text = answer->text;
    bool anyShown = false;
    // Every count of typed letters the text may show must agree.
    for (size_t shown = 1; shown <= typed.size() && shown <= text.size(); ++shown) {
        if (text.substr(text.size() - shown) != typed.substr(0, shown)) continue;
        anyShown = true;
        if (!boundaryBefore(*answer, shown)) return Beginning::Unknown;
    }
    return anyShown ? Beginning::Known : Beginning::NotYetEchoed;
}

bool showsTyped(const CaretReading& reading, std::u16string_view typed) {
    if (!reading.text || typed.empty()) return false;
    for (size_t count = std::min<size_t>(2, typed.size()); count <= typed.size(); ++count)
        if (std::u16string_view(reading.text->text).ends_with(typed.substr(0, count))) return true;
    return false;
}

void CaretQuestion::ask() {
    std::lock_guard lock(mutex_);
    ++generation_;
    state_ = State::Waiting;
    word_.clear();
    answer_ = {};
    field_ = generation_;
    checkWanted_ = true;
    following_ = false;
    readFor_.clear();
    privacy_ = FieldPrivacy::Unchecked;
}

void CaretQuestion::followField() {
    std::lock_guard lock(mutex_);
    following_ = true;
}

bool CaretQuestion::readWanted() const {
    return !word_.empty() && (state_ == State::Waiting || checkWanted_ || (following_ && readFor_ != word_));
}

void CaretQuestion::noteWord(const std::u16string& word) {
    std::lock_guard lock(mutex_);
    if (state_ == State::Closed && !checkWanted_) return;
    word_ = word;
    if (readWanted()) wake_.notify_one();
}

CaretAnswer CaretQuestion::take() {
    std::lock_guard lock(mutex_);
    CaretAnswer answer = answer_;
    answer.known = answer.known && state_ == State::Answered;
    answer.privacy = privacy_;
    following_ = false;
    ++generation_;
    state_ = State::Closed;
    answer_ = {};
    return answer;
}

FieldPrivacy CaretQuestion::privacy() {
    std::lock_guard lock(mutex_);
    return privacy_;
}

std::optional<CaretQuestion::Ticket> CaretQuestion::waitForRead() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stopped_ || readWanted(); });
    if (stopped_) return std::nullopt;
    return startRead();
}

std::optional<CaretQuestion::Ticket> CaretQuestion::readIfWanted() {
    std::lock_guard lock(mutex_);
    if (stopped_ || !readWanted()) return std::nullopt;
    return startRead();
}

CaretQuestion::Ticket CaretQuestion::startRead() {
    const Ticket ticket{generation_, field_, state_ == State::Waiting, word_};
    checkWanted_ = false;
    readFor_ = word_;
    if (ticket.caret) {
        state_ = State::Reading;
        ++answer_.reads;
    }
    return ticket;
}

bool CaretQuestion::deliver(Ticket ticket, const CaretReading& reading, unsigned elapsedMs) {
    std::lock_guard lock(mutex_);
    // The focus has not moved since the question, as far as the hook saw.
    if (ticket.field == field_) {
        if (reading.hidden) privacy_ = FieldPrivacy::Hidden;
        else privacy_ = showsTyped(reading, ticket.word) ? FieldPrivacy::Open : FieldPrivacy::Unchecked;
    }
    if (!ticket.caret || ticket.generation != generation_ || state_ != State::Reading) return false;
    answer_.readMs = elapsedMs;
    answer_.lastText = reading.text ? std::optional(reading.text->text) : std::nullopt;
    answer_.via = reading.via;
    // A read that ran out of time without text says nothing about the
    // control: it may only have been busy. One that took as long but brought
    // the text counts like any other while the word lasts. A hidden field
    // may be the one the focus is leaving, before the control handled the
    // click: read again, so that a later read of the new field can tell
    // otherwise.
    const bool outOfTime = elapsedMs >= kCaretReadLimitMs && !reading.text;
    const Beginning beginning =
        outOfTime || reading.hidden ? Beginning::NotYetEchoed : judgeBeginning(reading.text, word_);
    if (beginning == Beginning::NotYetEchoed && answer_.reads < kMaxReads) {
        state_ = State::Waiting;
        return true;
    }
    state_ = State::Answered;
    answer_.answered = reading.text.has_value() && beginning != Beginning::NotYetEchoed;
    answer_.known = beginning == Beginning::Known;
    return false;
}

void CaretQuestion::stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    wake_.notify_all();
}

CaretWorker::CaretWorker(CaretQuestion& question, CaretReader& reader)
    : question_(question), reader_(reader), thread_([this] { run(); }) {}

CaretWorker::~CaretWorker() {
    question_.stop();
    thread_.join();
}

void CaretWorker::run() {
    using namespace std::chrono;
    reader_.begin();
    while (std::optional<CaretQuestion::Ticket> ticket = question_.waitForRead()) {
        const auto start = steady_clock::now();
        const CaretReading reading = reader_.read(kCaretReadLimitMs);
        const auto elapsed = unsigned(duration_cast<milliseconds>(steady_clock::now() - start).count());
        // The typed letter is still on its way to the control: give it a moment.
        if (question_.deliver(*ticket, reading, elapsed)) std::this_thread::sleep_for(milliseconds(10));
    }
    reader_.end();
}

}  // namespace quillom::pipeline
