#pragma once
// The modelled USB link: each transfer takes a fixed time, waited for on the monotonic clock,
// and the device reports how an upgrade used it. Of an upgrade's span, from the start of its
// first transfer to the end of its last, the time inside the device's calls is the link's; the
// rest is the tool's own.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace orvo::sim {

struct LinkTiming {
    long long transfers = 0;
    long long dataFrames = 0;
    std::chrono::nanoseconds span{0};
    std::chrono::nanoseconds inCalls{0};
};

// One line: "transfers 4074 data-frames 1017 span-ns 4100000 in-calls-ns 4080000".
std::string FormatLinkTiming(const LinkTiming& timing);
std::optional<LinkTiming> ParseLinkTiming(std::string_view line);

// Waits until `end` on the monotonic clock: sleeps only while the rest is long enough for the
// sleep not to overrun it (a sleep under Wine ends on a millisecond tick), then spins.
void WaitUntil(std::chrono::steady_clock::time_point end);

}  // namespace orvo::sim
