#include "PipeTransfer.h"

#include "OverlappedCall.h"
#include "PipeNumbers.h"

namespace orvo::usbpipe {

namespace {

TransferResult RunControlRequest(const PipeApi& api, HANDLE pipeHandle, DWORD code, void* output,
                                 DWORD outputSize) {
    return RunOverlapped(api, pipeHandle, kControlTimeoutMs,
                         [&](OVERLAPPED* overlapped, DWORD* count) {
                             return api.DeviceIoControl(pipeHandle, code, nullptr, 0, output,
                                                        outputSize, count, overlapped);
                         });
}

}  // namespace

ApiHandle OpenPipe(const PipeApi& api, const std::string& devicePath, int pipe, DWORD* error) {
    const auto path = BuildPipePath(devicePath, pipe);
    if (!path) {
        if (error != nullptr) {
            *error = kPathTooLongError;
        }
        return OwnedByApi(api, INVALID_HANDLE_VALUE);
    }
    ApiHandle handle =
        OwnedByApi(api, api.CreateFileA(path->c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_OVERLAPPED, nullptr));
    if (!handle.IsValid() && error != nullptr) {
        *error = api.GetLastError();
    }
    return handle;
}

DWORD WaitLimit(int timeoutMs) {
    // The caller's time-out goes to the wait as it is: -1 is INFINITE, as for the Windows calls
    // that take a time-out. RunOverlapped cancels every finite wait that expires.
    return static_cast<DWORD>(timeoutMs);
}

TransferResult ReadPipe(const PipeApi& api, HANDLE pipeHandle, unsigned char* buffer, int length,
                        int timeoutMs, HANDLE event) {
    const TransferResult result = RunOverlapped(
        api, pipeHandle, WaitLimit(timeoutMs),
        [&](OVERLAPPED* overlapped, DWORD* count) {
            return api.ReadFile(pipeHandle, buffer, static_cast<DWORD>(length), count, overlapped);
        },
        event);
    if (!result.succeeded) {
        ResetPipeIfAsked(api, pipeHandle);
    }
    return result;
}

TransferResult WritePipe(const PipeApi& api, HANDLE pipeHandle, const unsigned char* data,
                         int length, int timeoutMs, HANDLE event) {
    const TransferResult result = RunOverlapped(
        api, pipeHandle, WaitLimit(timeoutMs),
        [&](OVERLAPPED* overlapped, DWORD* count) {
            return api.WriteFile(pipeHandle, data, static_cast<DWORD>(length), count, overlapped);
        },
        event);
    if (!result.succeeded) {
        ResetPipe(api, pipeHandle);
    }
    return result;
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
