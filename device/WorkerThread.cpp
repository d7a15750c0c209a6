#include "WorkerThread.h"

#include <mutex>

namespace orvo {

WorkerThread::WorkerThread() : thread_([this] { Serve(); }) {}

WorkerThread::~WorkerThread() {
    {
        std::lock_guard<WaitLock> guard(lock_);
        closing_ = true;
        lock_.WakeAll();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

void WorkerThread::Serve() {
    std::unique_lock<WaitLock> guard(lock_);
    for (;;) {
        while (!job_ && !closing_) {
            lock_.Wait();
        }
        if (!job_) {
            return;  // released with nothing to do
        }
        const std::function<void()> job = std::move(job_);
        job_ = nullptr;
        guard.unlock();
        job();
        guard.lock();
        running_ = false;
        lock_.WakeAll();
    }
}

bool WorkerThread::Start(std::function<void()> work) {
    {
        std::lock_guard<WaitLock> guard(lock_);
        if (running_ || closing_) {
            return false;
        }
        job_ = std::move(work);
        running_ = true;
    }
    // Woken once the lock is free, so the thread does not wake only to wait for it.
    lock_.WakeAll();
    return true;
}

bool WorkerThread::WaitForEnd(std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    std::lock_guard<WaitLock> guard(lock_);
    while (running_) {
        const auto rest =
            std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (rest.count() <= 0) {
            return false;
        }
        lock_.WaitFor(rest);
    }
    return true;
}

void WorkerThread::WaitForEnd() const {
    std::lock_guard<WaitLock> guard(lock_);
    while (running_) {
        lock_.Wait();
    }
}

bool WorkerThread::IsRunning() const {
    std::lock_guard<WaitLock> guard(lock_);
    return running_;
}

bool WorkerThread::HasWorker() const {
    return thread_.joinable();
}

void WorkerThread::Release() {
    std::unique_lock<WaitLock> guard(lock_);
    closing_ = true;
    lock_.WakeAll();
    if (running_ || !thread_.joinable()) {
        return;  // a running job keeps the thread; the destructor waits for both
    }
    guard.unlock();
    thread_.join();
}

}  // namespace orvo
