#pragma once
// One pipe of the device: opening it, one read or write with a time-out, and the two driver
// requests that check and reset it.
#include <string>

#include "ApiHandles.h"
#include "PipeApi.h"

namespace orvo::usbpipe {

constexpr DWORD kPipeResetCode = 0x220008;
constexpr DWORD kPipeStatusCode = 0x220014;
constexpr DWORD kControlTimeoutMs = 1000;
constexpr int kPipeStatusSize = 2;

// Opens `<device path>\PIPEnn` for overlapped I/O; an invalid handle when that fails or when
// the path would not fit the pipe path buffer.
ApiHandle OpenPipe(const PipeApi& api, const std::string& devicePath, int pipe);

// The count moved, or -1. A failed read asks the pipe's status and resets the pipe when the
// status says so; a failed write resets it unasked.
int ReadPipe(const PipeApi& api, HANDLE pipeHandle, unsigned char* buffer, int length,
             int timeoutMs);
int WritePipe(const PipeApi& api, HANDLE pipeHandle, const unsigned char* data, int length,
              int timeoutMs);

// 0 with the driver's 2-byte status in `status`, or -1.
int GetPipeStatus(const PipeApi& api, HANDLE pipeHandle, unsigned char (&status)[kPipeStatusSize]);
void ResetPipe(const PipeApi& api, HANDLE pipeHandle);

// Asks the status and resets the pipe when its first byte is nonzero.
void ResetPipeIfAsked(const PipeApi& api, HANDLE pipeHandle);

}  // namespace orvo::usbpipe
