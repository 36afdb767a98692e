#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/log_queue.h"

namespace quillom {
namespace {

using namespace std::chrono_literals;

// What the writer thread was given, and on which thread.
struct Recorder {
    std::mutex mutex;
    std::vector<std::string> lines;
    std::vector<size_t> batchSizes;
    std::thread::id thread;
    std::promise<void> entered;  // the first batch reached the disk
    std::once_flag enteredOnce;

    LogQueue::Write write(std::shared_future<void> gate = {}) {
        return [this, gate](const std::vector<std::string>& texts) {
            std::call_once(enteredOnce, [this] { entered.set_value(); });
            if (gate.valid()) gate.wait();
            std::lock_guard lock(mutex);
            thread = std::this_thread::get_id();
            lines.insert(lines.end(), texts.begin(), texts.end());
            batchSizes.push_back(texts.size());
        };
    }
};

TEST(LogQueue, WritesEveryLineInOrderOnItsOwnThread) {
    Recorder recorder;
    {
        LogQueue queue(recorder.write());
        for (int i = 0; i < 100; ++i) queue.push("line " + std::to_string(i));
        ASSERT_TRUE(queue.drainWithin(5s));
        EXPECT_EQ(queue.dropped(), 0u);
    }
    ASSERT_EQ(recorder.lines.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(recorder.lines[size_t(i)], "line " + std::to_string(i));
    EXPECT_NE(recorder.thread, std::this_thread::get_id());
}

// A disk that does not answer: pushing never waits for it; past the bound lines are dropped
// and counted, and once the disk answers the note follows the lines that were kept.
TEST(LogQueue, AStuckDiskDropsAndCountsInsteadOfBlocking) {
    Recorder recorder;
    std::promise<void> release;
    LogQueue queue(recorder.write(release.get_future().share()), 4);
    queue.push("first");  // taken by the writer, which then waits on the disk
    recorder.entered.get_future().wait();
    for (int i = 0; i < 10; ++i) queue.push("kept or dropped " + std::to_string(i));
    EXPECT_EQ(queue.dropped(), 6u);
    release.set_value();
    ASSERT_TRUE(queue.drainWithin(5s));
    queue.push("after");
    ASSERT_TRUE(queue.drainWithin(5s));
    const std::vector<std::string> expected{"first",
                                            "kept or dropped 0",
                                            "kept or dropped 1",
                                            "kept or dropped 2",
                                            "kept or dropped 3",
                                            "log: 6 lines dropped, the disk was slow",
                                            "after"};
    EXPECT_EQ(recorder.lines, expected);
}

TEST(LogQueue, StoppingWritesWhatIsQueued) {
    Recorder recorder;
    std::promise<void> release;
    {
        LogQueue queue(recorder.write(release.get_future().share()));
        queue.push("a");
        queue.push("b");
        release.set_value();
    }
    EXPECT_EQ(recorder.lines, (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace quillom
