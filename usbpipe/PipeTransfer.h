#pragma once
// One pipe of the device: opening it, one read or write with a time-out, and the two driver
// requests that check and reset it.
#include <string>

#include "ApiHandles.h"
#include "PipeApi.h"
#include "WindowsErrors.h"

namespace orvo::usbpipe {

constexpr DWORD kPipeResetCode = 0x220008;
constexpr DWORD kPipeStatusCode = 0x220014;
constexpr DWORD kControlTimeoutMs = 1000;
constexpr int kPipeStatusSize = 2;

// Opens `<device path>\PIPEnn` for overlapped I/O; an invalid handle when that fails or when
// the path would not fit the pipe path buffer, with the reason in `error` when one is given.
ApiHandle OpenPipe(const PipeApi& api, const std::string& devicePath, int pipe,
                   DWORD* error = nullptr);

// The wait a caller's time-out gives: the caller's own milliseconds, so that -1 is INFINITE
// and waits without end, as the Windows calls that take a time-out do.
DWORD WaitLimit(int timeoutMs);

// One transfer with the caller's time-out: the count moved, or the error that stopped it. A
// failed read asks the pipe's status and resets the pipe when the status says so; a failed
// write resets it unasked. `event`, when given, is one the pipe keeps for its transfers.
TransferResult ReadPipe(const PipeApi& api, HANDLE pipeHandle, unsigned char* buffer, int length,
                        int timeoutMs, HANDLE event = nullptr);
TransferResult WritePipe(const PipeApi& api, HANDLE pipeHandle, const unsigned char* data,
                         int length, int timeoutMs, HANDLE event = nullptr);

// 0 with the driver's 2-byte status in `status`, or -1.
int GetPipeStatus(const PipeApi& api, HANDLE pipeHandle, unsigned char (&status)[kPipeStatusSize]);
void ResetPipe(const PipeApi& api, HANDLE pipeHandle);

// Asks the status and resets the pipe when its first byte is nonzero.
void ResetPipeIfAsked(const PipeApi& api, HANDLE pipeHandle);

}  // namespace orvo::usbpipe
