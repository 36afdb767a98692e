// The debug log's lines on their way to the file: any thread hands a line over and goes on,
// one thread of the queue's own writes them, so a slow disk never holds up the thread that
// serves the keyboard hook. The queue is bounded: a line that finds it full is dropped and
// counted, and a note of how many were dropped is written after the lines they missed.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillom {

class LogQueue {
public:
    static constexpr size_t kCapacity = 1024;
    // Writes a batch of line texts in order; called on the queue's thread only.
    using Write = std::function<void(const std::vector<std::string>& texts)>;

    explicit LogQueue(Write write, size_t capacity = kCapacity);
    // Writes what is queued (waiting at most kStopWait), then lets the thread go.
    ~LogQueue();
    LogQueue(const LogQueue&) = delete;
    LogQueue& operator=(const LogQueue&) = delete;

    // Any thread; never waits for the disk.
    void push(std::string text);
    uint64_t dropped() const;
    // Waits at most limit until every line pushed so far was written; true when it was.
    bool drainWithin(std::chrono::milliseconds limit);

    static constexpr std::chrono::milliseconds kStopWait{2000};

private:
    void run();

    Write write_;
    const size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable wake_, idle_;
    std::deque<std::string> texts_;  // guarded by mutex_, as is everything below
    uint64_t dropped_ = 0, droppedNoted_ = 0;
    bool writing_ = false, stopping_ = false, done_ = false;
    std::thread thread_;  // last: starts once the rest exists
};

}  // namespace quillom
