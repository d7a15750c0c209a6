#include "WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

namespace orvo {
namespace {

using namespace std::chrono_literals;

TEST(WorkerThread, NoJobCountsAsEnded) {
    WorkerThread worker;
    EXPECT_TRUE(worker.WaitForEnd(0ms));
    EXPECT_FALSE(worker.IsRunning());
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

TEST(WorkerThread, OneThreadRunsEveryJobUntilReleased) {
    WorkerThread worker;
    std::vector<std::thread::id> threads;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(worker.Start([&] { threads.push_back(std::this_thread::get_id()); }));
        ASSERT_TRUE(worker.WaitForEnd(5s));
    }
    ASSERT_EQ(threads.size(), 3u);
    EXPECT_NE(threads[0], std::this_thread::get_id());
    EXPECT_EQ(threads[1], threads[0]);
    EXPECT_EQ(threads[2], threads[0]);
    EXPECT_TRUE(worker.HasWorker());
    worker.Release();
    EXPECT_FALSE(worker.HasWorker());
    EXPECT_FALSE(worker.Start([] {})) << "no job after the thread was let go";
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
