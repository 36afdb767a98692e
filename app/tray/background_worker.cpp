#include "background_worker.h"

namespace quillom::tray {

BackgroundWorker::BackgroundWorker() : thread_([this] { run(); }) {}

// Waits for the jobs to be done, not for the thread's exit: joining it kept
// the program from ending under Wine (seen with the engine DLL loaded).
BackgroundWorker::~BackgroundWorker() {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    wake_.notify_one();
    finished_.wait(lock, [this] { return done_; });
    lock.unlock();
    thread_.detach();
}

bool BackgroundWorker::finishWithin(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    stopping_ = true;
    wake_.notify_one();
    return finished_.wait_for(lock, limit, [this] { return done_; });
}

bool BackgroundWorker::onWorkerThread() const { return std::this_thread::get_id() == thread_.get_id(); }

void BackgroundWorker::post(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        if (done_) return;
        jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void BackgroundWorker::run() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) {
                done_ = true;
                finished_.notify_one();
                return;
            }
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        // A job's failure must not end the thread the others wait for.
        try {
            job();
        } catch (...) {
        }
    }
}

}  // namespace quillom::tray
