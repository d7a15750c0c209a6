#pragma once
// One overlapped operation on a handle, waited for with a time-out: the common core of pipe
// reads and writes and of the driver requests.
#include <functional>

#include "PipeApi.h"
#include "WindowsErrors.h"

namespace orvo::usbpipe {

// Starts the operation with the given overlapped record; returns what the Windows call returned
// and, when that is TRUE, leaves the byte count in `count`.
using IssueOperation = std::function<BOOL(OVERLAPPED* overlapped, DWORD* count)>;

// An operation that completes at once gives its count without waiting. One that is pending is
// waited for up to `timeoutMs` (INFINITE waits without end); when that expires, or the wait
// itself fails, the handle's I/O is cancelled and the cancellation awaited, since the system may
// write to the overlapped record (and the buffer) until the operation has really ended.
//
// `event` is a manual-reset event for this operation alone, which the system resets when the
// operation starts; without one (nullptr) the call makes its own and closes it again.
TransferResult RunOverlapped(const PipeApi& api, HANDLE handle, DWORD timeoutMs,
                             const IssueOperation& issue, HANDLE event = nullptr);

}  // namespace orvo::usbpipe
