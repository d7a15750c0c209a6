#pragma once
// The upgrade worker: one thread, started with this object, that runs one job at a time; and
// the two questions the window asks of it before it talks to the device: has the job ended
// (waiting a little), and is one still running.
//
// The thread waits between jobs instead of being started for each: under Wine a thread costs
// about a millisecond and a megabyte of working set to start, which every click would pay
// inside the upgrade. A job must never outlive what it works on, so the destructor waits for a
// running one. The window refuses to close while a job runs, which keeps that wait for odd
// paths only.
#include "WaitLock.h"

#include <chrono>
#include <functional>
#include <thread>

namespace orvo {

class WorkerThread {
public:
    WorkerThread();
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Hands `work` to the thread. False, and nothing started, while a job still runs or once
    // the thread was released.
    bool Start(std::function<void()> work);
    // True once no job runs (none was started, or it has ended), waiting up to `timeout`.
    bool WaitForEnd(std::chrono::milliseconds timeout) const;
    // Returns once no job runs, however long that takes.
    void WaitForEnd() const;
    bool IsRunning() const;
    // Whether the thread is still held.
    bool HasWorker() const;
    // Lets the thread go: at once when idle; after its job when one runs, and then the
    // destructor waits for it.
    void Release();

private:
    void Serve();

    mutable WaitLock lock_;  // woken whenever what follows changes
    std::function<void()> job_;
    bool running_ = false;
    bool closing_ = false;
    std::thread thread_;  // last: it starts once everything it uses is ready
};

}  // namespace orvo
