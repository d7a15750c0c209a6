#include "LinkTiming.h"

#include <cstdio>
#include <thread>

namespace orvo::sim {

std::string FormatLinkTiming(const LinkTiming& timing) {
    return "transfers " + std::to_string(timing.transfers) + " data-frames " +
           std::to_string(timing.dataFrames) + " span-ns " + std::to_string(timing.span.count()) +
           " in-calls-ns " + std::to_string(timing.inCalls.count());
}

std::optional<LinkTiming> ParseLinkTiming(std::string_view line) {
    long long transfers = 0;
    long long dataFrames = 0;
    long long span = 0;
    long long inCalls = 0;
    const std::string text(line);
    if (std::sscanf(text.c_str(), "transfers %lld data-frames %lld span-ns %lld in-calls-ns %lld",
                    &transfers, &dataFrames, &span, &inCalls) != 4) {
        return std::nullopt;
    }
    return LinkTiming{transfers, dataFrames, std::chrono::nanoseconds(span),
                      std::chrono::nanoseconds(inCalls)};
}

void WaitUntil(std::chrono::steady_clock::time_point end) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kSleepOverrun = std::chrono::microseconds(2000);
    const auto rest = end - Clock::now();
    if (rest > kSleepOverrun) {
        std::this_thread::sleep_for(rest - kSleepOverrun);
    }
    while (Clock::now() < end) {
    }
}

}  // namespace orvo::sim
