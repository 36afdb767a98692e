#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

#include "tray/background_worker.h"

namespace quillom::tray {
namespace {

TEST(BackgroundWorker, RunsJobsInOrderOnAnotherThread) {
    std::vector<int> order;
    std::thread::id ran;
    {
        BackgroundWorker worker;
        std::promise<void> release;
        std::shared_future<void> gate = release.get_future().share();
        // The first job blocks: the poster is not held up by it.
        worker.post([gate, &ran] {
            ran = std::this_thread::get_id();
            gate.wait();
        });
        for (int i = 0; i < 5; ++i) worker.post([&order, i] { order.push_back(i); });
        release.set_value();
    }  // the destructor runs what is queued before it joins
    EXPECT_NE(ran, std::this_thread::get_id());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(BackgroundWorker, AFailingJobDoesNotStopTheOthers) {
    bool ranAfter = false;
    {
        BackgroundWorker worker;
        worker.post([] { throw std::runtime_error("disk full"); });
        worker.post([&ranAfter] { ranAfter = true; });
    }
    EXPECT_TRUE(ranAfter);
}

}  // namespace
}  // namespace quillom::tray
