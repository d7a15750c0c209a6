#include "WorkerThread.h"

namespace orvo {

WorkerThread::WorkerThread() : thread_([this] { Serve(); }) {}

WorkerThread::~WorkerThread() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        closing_ = true;
        changed_.notify_all();
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

void WorkerThread::Serve() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        changed_.wait(guard, [this] { return job_ || closing_; });
        if (!job_) {
            return;  // released with nothing to do
        }
        const std::function<void()> job = std::move(job_);
        job_ = nullptr;
        guard.unlock();
        job();
        guard.lock();
        running_ = false;
        changed_.notify_all();
    }
}

bool WorkerThread::Start(std::function<void()> work) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (running_ || closing_) {
            return false;
        }
        job_ = std::move(work);
        running_ = true;
    }
    // Told once the lock is free, so the thread does not wake only to wait for it.
    changed_.notify_all();
    return true;
}

bool WorkerThread::WaitForEnd(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, timeout, [this] { return !running_; });
}

bool WorkerThread::IsRunning() const {
    std::lock_guard<std::mutex> guard(lock_);
    return running_;
}

bool WorkerThread::HasWorker() const { return thread_.joinable(); }

void WorkerThread::Release() {
    std::unique_lock<std::mutex> guard(lock_);
    closing_ = true;
    changed_.notify_all();
    if (running_ || !thread_.joinable()) {
        return;  // a running job keeps the thread; the destructor waits for both
    }
    guard.unlock();
    thread_.join();
}

}  // namespace orvo
