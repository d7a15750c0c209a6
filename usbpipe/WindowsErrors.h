#pragma once
// The one place where the library gives Windows results and error codes their meaning. Callers
// of the library see none of them: every failure reaches them as -1.
#include <windows.h>

namespace orvo::usbpipe {

// How a transfer or driver request ended: a byte count, or the Windows error that stopped it.
struct TransferResult {
    bool succeeded;
    DWORD count;
    DWORD error;

    static TransferResult Success(DWORD count) { return {true, count, ERROR_SUCCESS}; }
    static TransferResult Failure(DWORD error) { return {false, 0, error}; }
};

// A transfer that did not complete at once either runs on in the background or has failed.
bool IsPending(DWORD error);

enum class WaitOutcome { Signalled, TimedOut, Failed };
WaitOutcome ClassifyWait(DWORD waitResult);

// The error a transfer fails with when its time-out expires.
constexpr DWORD kTimeoutError = ERROR_TIMEOUT;

// The device search stops at the end of the interface list.
bool EndsEnumeration(DWORD error);

}  // namespace orvo::usbpipe
