#pragma once
// How a run of orvo is asked to stop: Ctrl-C, or the end of standard input for a station. A
// transfer stops after the exchange under way (InterruptiblePipes), never in the middle of
// one, so the device and every file are left whole.
#include "PipeLibrary.h"

#include <atomic>
#include <chrono>

namespace orvo::console {

class StopRequests {
public:
    void Request() { requested_ = true; }
    bool Requested() const { return requested_; }
    // Waits up to `time`, in short steps; true when a stop was asked for.
    bool WaitFor(std::chrono::milliseconds time) const;

private:
    std::atomic<bool> requested_{false};
};

// The first Ctrl-C asks `stops` to stop; a second one ends the program at once.
void CatchInterrupts(StopRequests& stops);
// Asks `stops` to stop when standard input ends (read on a thread of its own).
void StopAtEndOfInput(StopRequests& stops);

// The device's pipes, refusing any new write once a stop was asked for: the exchange under way
// ends with its reply, the next one fails at once without reaching the device.
class InterruptiblePipes : public PipeLibrary {
public:
    InterruptiblePipes(PipeLibrary& pipes, const StopRequests& stops)
        : pipes_(pipes), stops_(stops) {}

    int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) override;
    int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) override;
    unsigned long LastError() const override { return refused_ ? 0 : pipes_.LastError(); }

private:
    PipeLibrary& pipes_;
    const StopRequests& stops_;
    bool refused_ = false;  // the last call was a write refused after a stop
};

}  // namespace orvo::console
