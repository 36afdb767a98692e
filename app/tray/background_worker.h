// One thread for the work that must not hold up the thread that owns the
// low-level hooks: writing the settings files, creating an engine.
// Jobs run one at a time in the order posted, so two writes of the rules file
// never overlap. A job hands its result back by posting a message.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace quillom::tray {

class BackgroundWorker {
public:
    BackgroundWorker();
    // Runs the jobs still queued, then joins: a learned word is not lost at exit.
    ~BackgroundWorker();
    BackgroundWorker(const BackgroundWorker&) = delete;
    BackgroundWorker& operator=(const BackgroundWorker&) = delete;

    // Any thread.
    void post(std::function<void()> job);
    bool onWorkerThread() const;
    // Runs what is queued and waits at most limit for the queue to empty; true when it did.
    // Jobs posted once it emptied are dropped. Any thread but the worker's.
    bool finishWithin(std::chrono::milliseconds limit);

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_, finished_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    bool done_ = false;
    std::thread thread_;  // last: starts once the rest exists
};

}  // namespace quillom::tray
