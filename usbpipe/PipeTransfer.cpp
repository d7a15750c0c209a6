#include "PipeTransfer.h"

#include "OverlappedCall.h"
#include "PipeNumbers.h"

namespace orvo::usbpipe {

namespace {

// A negative time-out would reach the wait as INFINITE and could hang the caller for good.
DWORD WaitLimit(int timeoutMs) {
    return timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs);
}

TransferResult RunControlRequest(const PipeApi& api, HANDLE pipe, DWORD code, void* output,
                                 DWORD outputSize) {
    return RunOverlapped(api, pipe, kControlTimeoutMs, [&](OVERLAPPED* overlapped, DWORD* count) {
        return api.DeviceIoControl(pipe, code, nullptr, 0, output, outputSize, count, overlapped);
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

int ReadPipe(const PipeApi& api, HANDLE pipe, unsigned char* buffer, int length, int timeoutMs) {
    const TransferResult result =
        RunOverlapped(api, pipe, WaitLimit(timeoutMs), [&](OVERLAPPED* overlapped, DWORD* count) {
            return api.ReadFile(pipe, buffer, static_cast<DWORD>(length), count, overlapped);
        });
    if (result.succeeded) {
        return static_cast<int>(result.count);
    }
    ResetPipeIfAsked(api, pipe);
    return -1;
}

int WritePipe(const PipeApi& api, HANDLE pipe, const unsigned char* data, int length,
              int timeoutMs) {
    const TransferResult result =
        RunOverlapped(api, pipe, WaitLimit(timeoutMs), [&](OVERLAPPED* overlapped, DWORD* count) {
            return api.WriteFile(pipe, data, static_cast<DWORD>(length), count, overlapped);
        });
    if (result.succeeded) {
        return static_cast<int>(result.count);
    }
    ResetPipe(api, pipe);
    return -1;
}

int GetPipeStatus(const PipeApi& api, HANDLE pipe, unsigned char (&status)[kPipeStatusSize]) {
    return RunControlRequest(api, pipe, kPipeStatusCode, status, kPipeStatusSize).succeeded ? 0
                                                                                            : -1;
}

void ResetPipe(const PipeApi& api, HANDLE pipe) {
    RunControlRequest(api, pipe, kPipeResetCode, nullptr, 0);
}

void ResetPipeIfAsked(const PipeApi& api, HANDLE pipe) {
    unsigned char status[kPipeStatusSize] = {};
    GetPipeStatus(api, pipe, status);
    if (status[0] != 0) {
        ResetPipe(api, pipe);
    }
}

}  // namespace orvo::usbpipe
