#include "log_queue.h"

namespace quillom {

LogQueue::LogQueue(Write write, size_t capacity)
    : write_(std::move(write)), capacity_(capacity), thread_([this] { run(); }) {}

// Detached rather than joined, as the background worker is: joining kept the program from
// ending under Wine.
LogQueue::~LogQueue() {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    wake_.notify_one();
    idle_.wait_for(lock, kStopWait, [this] { return done_; });
    lock.unlock();
    thread_.detach();
}

void LogQueue::push(std::string text) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_) return;
        if (texts_.size() >= capacity_) {
            ++dropped_;
            return;
        }
        texts_.push_back(std::move(text));
    }
    wake_.notify_one();
}

uint64_t LogQueue::dropped() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

bool LogQueue::drainWithin(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    return idle_.wait_for(lock, limit, [this] { return texts_.empty() && !writing_; });
}

void LogQueue::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !texts_.empty(); });
        if (texts_.empty()) break;
        std::vector<std::string> batch(std::make_move_iterator(texts_.begin()), std::make_move_iterator(texts_.end()));
        texts_.clear();
        // Lines are dropped only while the queue is full, so after every line it held.
        if (dropped_ != droppedNoted_) {
            batch.push_back("log: " + std::to_string(dropped_ - droppedNoted_) + " lines dropped, the disk was slow");
            droppedNoted_ = dropped_;
        }
        writing_ = true;
        lock.unlock();
        try {
            write_(batch);
        } catch (...) {
        }
        lock.lock();
        writing_ = false;
        idle_.notify_all();
    }
    done_ = true;
    idle_.notify_all();
}

}  // namespace quillom
