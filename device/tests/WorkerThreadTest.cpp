#include "WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace orvo {
namespace {

using namespace std::chrono_literals;

TEST(WorkerThread, NoWorkerCountsAsEnded) {
    WorkerThread worker;
    EXPECT_TRUE(worker.WaitForEnd(0ms));
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_FALSE(worker.HasWorker());
}

TEST(WorkerThread, SecondStartIsRefusedWhileOneRuns) {
    WorkerThread worker;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ASSERT_TRUE(worker.Start([released] { released.wait(); }));
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.WaitForEnd(20ms));
    std::atomic<bool> secondRan{false};
    EXPECT_FALSE(worker.Start([&] { secondRan = true; }));
    release.set_value();
    EXPECT_TRUE(worker.WaitForEnd(5s));
    EXPECT_FALSE(secondRan);
}

TEST(WorkerThread, EndedWorkerIsReplacedAndReleased) {
    WorkerThread worker;
    std::atomic<int> runs{0};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(worker.Start([&] { ++runs; }));
        ASSERT_TRUE(worker.WaitForEnd(5s));
    }
    EXPECT_EQ(runs, 3);
    EXPECT_TRUE(worker.HasWorker());
    worker.Release();
    EXPECT_FALSE(worker.HasWorker());
}

TEST(WorkerThread, RunningWorkerIsKeptByReleaseAndAwaitedByTheDestructor) {
    std::atomic<bool> finished{false};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    {
        WorkerThread worker;
        worker.Start([&, released] {
            released.wait();
            finished = true;
        });
        worker.Release();
        EXPECT_TRUE(worker.HasWorker());
        release.set_value();
    }
    EXPECT_TRUE(finished);
}

}  // namespace
}  // namespace orvo
