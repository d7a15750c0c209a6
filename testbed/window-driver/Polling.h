#pragma once
// Waiting for another process: what it shows changes on its own time, so the driver looks
// again every few milliseconds until the condition holds or the time is up.
#include <chrono>
#include <thread>

namespace orvo::drive {

inline constexpr std::chrono::milliseconds kPollInterval{20};

// True as soon as `done()` is; false when `timeout` passed without it. `done` runs at least once.
template <typename Condition>
bool PollUntil(Condition done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

}  // namespace orvo::drive
