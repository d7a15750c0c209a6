#pragma once
// The one place where the library gives Windows results and error codes their meaning. Callers
// see every failure as -1, with the Windows error that caused it as the thread's last error.
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
// A call refused before the device is touched: a pipe out of range or of the wrong direction,
// a negative length, no buffer.
constexpr DWORD kRefusedCallError = ERROR_INVALID_PARAMETER;
// A search that found no interface of the device's class at all.
constexpr DWORD kNoDeviceError = ERROR_DEVICE_NOT_CONNECTED;
// A device path too long for the pipe path's buffer.
constexpr DWORD kPathTooLongError = ERROR_FILENAME_EXCED_RANGE;

// The device search stops at the end of the interface list.
bool EndsEnumeration(DWORD error);

// What one of the two exported calls gives its caller: the count moved, or -1 with its error.
struct CallResult {
    int count;
    DWORD error;

    static CallResult Moved(DWORD count) { return {static_cast<int>(count), ERROR_SUCCESS}; }
    static CallResult Failed(DWORD error) { return {-1, error}; }
    static CallResult Of(const TransferResult& transfer) {
        return transfer.succeeded ? Moved(transfer.count) : Failed(transfer.error);
    }
};

}  // namespace orvo::usbpipe
