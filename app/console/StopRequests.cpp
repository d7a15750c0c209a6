#include "StopRequests.h"

#include <csignal>
#include <iostream>
#include <thread>

namespace orvo::console {
namespace {

constexpr std::chrono::milliseconds kWaitStep{20};

StopRequests* interruptTarget = nullptr;

extern "C" void OnInterrupt(int) {
    std::signal(SIGINT, SIG_DFL);
    if (interruptTarget != nullptr) {
        interruptTarget->Request();
    }
}

}  // namespace

bool StopRequests::WaitFor(std::chrono::milliseconds time) const {
    const auto until = std::chrono::steady_clock::now() + time;
    while (!Requested() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(kWaitStep);
    }
    return Requested();
}

void CatchInterrupts(StopRequests& stops) {
    interruptTarget = &stops;
    std::signal(SIGINT, OnInterrupt);
}

void StopAtEndOfInput(StopRequests& stops) {
    std::thread([&stops] {
        char ignored[256];
        while (std::cin.read(ignored, sizeof ignored) || std::cin.gcount() > 0) {
        }
        stops.Request();
    }).detach();
}

int InterruptiblePipes::WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    refused_ = stops_.Requested();
    return refused_ ? -1 : pipes_.WriteData(pipe, data, length, timeoutMs);
}

int InterruptiblePipes::ReadData(int pipe, unsigned char* data, int length, int timeoutMs) {
    refused_ = false;
    return pipes_.ReadData(pipe, data, length, timeoutMs);
}

}  // namespace orvo::console
