#include "WaitLock.h"

#include <windows.h>

#include <algorithm>

namespace orvo {

struct WaitLock::State {
    SRWLOCK lock = SRWLOCK_INIT;
    CONDITION_VARIABLE woken = CONDITION_VARIABLE_INIT;
};

WaitLock::WaitLock() : state_(std::make_unique<State>()) {}
WaitLock::~WaitLock() = default;

void WaitLock::lock() {
    AcquireSRWLockExclusive(&state_->lock);
}
void WaitLock::unlock() {
    ReleaseSRWLockExclusive(&state_->lock);
}

void WaitLock::Wait() {
    SleepConditionVariableSRW(&state_->woken, &state_->lock, INFINITE, 0);
}

void WaitLock::WaitFor(std::chrono::milliseconds timeout) {
    const auto milliseconds = std::clamp<long long>(timeout.count(), 0, INFINITE - 1);
    SleepConditionVariableSRW(&state_->woken, &state_->lock, static_cast<DWORD>(milliseconds), 0);
}

void WaitLock::WakeAll() {
    WakeAllConditionVariable(&state_->woken);
}

}  // namespace orvo
