#include "WaitLock.h"

#include <condition_variable>
#include <mutex>

namespace orvo {

struct WaitLock::State {
    std::mutex mutex;
    std::condition_variable woken;
};

WaitLock::WaitLock() : state_(std::make_unique<State>()) {}
WaitLock::~WaitLock() = default;

void WaitLock::lock() {
    state_->mutex.lock();
}
void WaitLock::unlock() {
    state_->mutex.unlock();
}

void WaitLock::Wait() {
    std::unique_lock<std::mutex> held(state_->mutex, std::adopt_lock);
    state_->woken.wait(held);
    held.release();  // still held, by the caller
}

void WaitLock::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> held(state_->mutex, std::adopt_lock);
    state_->woken.wait_for(held, timeout);
    held.release();
}

void WaitLock::WakeAll() {
    state_->woken.notify_all();
}

}  // namespace orvo
