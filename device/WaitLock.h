#pragma once
// A lock that threads wait on until another wakes them: std::mutex and std::condition_variable
// in one. On Windows it is the system's slim lock and condition variable, since under Wine the
// C++ library's condition variable wakes a thread through the Wine server, 100 to 400 µs where
// the system's takes 40 to 130, and every upgrade waits for one wake before its first frame.
#include <chrono>
#include <memory>

namespace orvo {

class WaitLock {
public:
    WaitLock();
    ~WaitLock();
    WaitLock(const WaitLock&) = delete;
    WaitLock& operator=(const WaitLock&) = delete;

    // For std::lock_guard and std::unique_lock.
    void lock();
    void unlock();

    // Called with the lock held: releases it until woken, and holds it again on return. May
    // return without a wake, so the caller looks again at what it waits for.
    void Wait();
    // As Wait, for at most `timeout`.
    void WaitFor(std::chrono::milliseconds timeout);
    void WakeAll();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orvo
