#include "WorkerThread.h"

namespace orvo {

WorkerThread::~WorkerThread() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool WorkerThread::Start(std::function<void()> work) {
    std::unique_lock<std::mutex> guard(lock_);
    if (running_) {
        return false;
    }
    if (thread_.joinable()) {
        thread_.join();  // it has ended: this only releases it
    }
    running_ = true;
    thread_ = std::thread([this, work = std::move(work)] {
        work();
        std::lock_guard<std::mutex> done(lock_);
        running_ = false;
        ended_.notify_all();
    });
    return true;
}

bool WorkerThread::WaitForEnd(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> guard(lock_);
    return ended_.wait_for(guard, timeout, [this] { return !running_; });
}

bool WorkerThread::IsRunning() const {
    std::lock_guard<std::mutex> guard(lock_);
    return running_;
}

bool WorkerThread::HasWorker() const {
    std::lock_guard<std::mutex> guard(lock_);
    return thread_.joinable();
}

void WorkerThread::Release() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!running_ && thread_.joinable()) {
        thread_.join();
    }
}

}  // namespace orvo
