#include "PipeTransfer.h"

#include "OverlappedCall.h"
#include "PipeNumbers.h"

namespace orvo::usbpipe {

namespace {

// A negative time-out would reach the wait as INFINITE and could hang the caller for good.
DWORD WaitLimit(int timeoutMs) {
    return timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs);
}

TransferResult RunControlRequest(const PipeApi& api, HANDLE pipeHandle, DWORD code, void* output,
                                 DWORD outputSize) {
    return RunOverlapped(api, pipeHandle, kControlTimeoutMs,
                         [&](OVERLAPPED* overlapped, DWORD* count) {
                             return api.DeviceIoControl(pipeHandle, code, nullptr, 0, output,
                                                        outputSize, count, overlapped);
                         });
}

}  // namespace

ApiHandle OpenPipe(const PipeApi& api, const std::string& devicePath, int pipe) {
    const auto path = BuildPipePath(devicePath, pipe);
    if (!path) {
        return OwnedByApi(api, INVALID_HANDLE_VALUE);
    }
    return OwnedByApi(api, api.CreateFileA(path->c_str(), GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
}

int ReadPipe(const PipeApi& api, HANDLE pipeHandle, unsigned char* buffer, int length,
             int timeoutMs) {
    const TransferResult result = RunOverlapped(
        api, pipeHandle, WaitLimit(timeoutMs), [&](OVERLAPPED* overlapped, DWORD* count) {
            return api.ReadFile(pipeHandle, buffer, static_cast<DWORD>(length), count, overlapped);
        });
    if (result.succeeded) {
        return static_cast<int>(result.count);
    }
    ResetPipeIfAsked(api, pipeHandle);
    return -1;
}

int WritePipe(const PipeApi& api, HANDLE pipeHandle, const unsigned char* data, int length,
              int timeoutMs) {
    const TransferResult result = RunOverlapped(
        api, pipeHandle, WaitLimit(timeoutMs), [&](OVERLAPPED* overlapped, DWORD* count) {
            return api.WriteFile(pipeHandle, data, static_cast<DWORD>(length), count, overlapped);
        });
    if (result.succeeded) {
        return static_cast<int>(result.count);
    }
    ResetPipe(api, pipeHandle);
    return -1;
}

int GetPipeStatus(const PipeApi& api, HANDLE pipeHandle, unsigned char (&status)[kPipeStatusSize]) {
    return RunControlRequest(api, pipeHandle, kPipeStatusCode, status, kPipeStatusSize).succeeded
               ? 0
               : -1;
}

void ResetPipe(const PipeApi& api, HANDLE pipeHandle) {
    RunControlRequest(api, pipeHandle, kPipeResetCode, nullptr, 0);
}

void ResetPipeIfAsked(const PipeApi& api, HANDLE pipeHandle) {
    unsigned char status[kPipeStatusSize] = {};
    GetPipeStatus(api, pipeHandle, status);
    if (status[0] != 0) {
        ResetPipe(api, pipeHandle);
    }
}

}  // namespace orvo::usbpipe
