#pragma once
// The upgrade worker: at most one thread at a time, and the two questions the window asks of
// it before it talks to the device: has it ended (waiting a little), and is it still running.
//
// A worker must never outlive what it works on, so the destructor waits for a running one.
// The window refuses to close while a worker runs, which keeps that wait for odd paths only.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace orvo {

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts `work` on a new thread, releasing the ended one it replaces. False, and nothing
    // started, while a worker still runs.
    bool Start(std::function<void()> work);
    // True once no worker runs (none was started, or it has ended), waiting up to `timeout`.
    bool WaitForEnd(std::chrono::milliseconds timeout) const;
    bool IsRunning() const;
    // Whether a worker, running or ended, is still held.
    bool HasWorker() const;
    // Lets go of an ended worker; a running one is kept and waited for by the destructor.
    void Release();

private:
    mutable std::mutex lock_;
    mutable std::condition_variable ended_;
    bool running_ = false;
    std::thread thread_;
};

}  // namespace orvo
