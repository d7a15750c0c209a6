#include "OverlappedCall.h"

#include "ApiHandles.h"

namespace orvo::usbpipe {

namespace {

void CancelAndAwait(const PipeApi& api, HANDLE handle, OVERLAPPED* overlapped) {
    api.CancelIo(handle);
    DWORD ignored = 0;
    api.GetOverlappedResult(handle, overlapped, &ignored, TRUE);
}

TransferResult RunWithEvent(const PipeApi& api, HANDLE handle, DWORD timeoutMs,
                            const IssueOperation& issue, HANDLE event) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event;
    DWORD count = 0;
    if (issue(&overlapped, &count)) {
        return TransferResult::Success(count);
    }
    const DWORD issueError = api.GetLastError();
    if (!IsPending(issueError)) {
        return TransferResult::Failure(issueError);
    }
    switch (ClassifyWait(api.WaitForSingleObject(event, timeoutMs))) {
        case WaitOutcome::Signalled:
            if (api.GetOverlappedResult(handle, &overlapped, &count, FALSE)) {
                return TransferResult::Success(count);
            }
            return TransferResult::Failure(api.GetLastError());
        case WaitOutcome::TimedOut:
            CancelAndAwait(api, handle, &overlapped);
            return TransferResult::Failure(kTimeoutError);
        case WaitOutcome::Failed:
            break;
    }
    const DWORD waitError = api.GetLastError();
    CancelAndAwait(api, handle, &overlapped);
    return TransferResult::Failure(waitError);
}

}  // namespace

TransferResult RunOverlapped(const PipeApi& api, HANDLE handle, DWORD timeoutMs,
                             const IssueOperation& issue, HANDLE event) {
    if (event != nullptr) {
        return RunWithEvent(api, handle, timeoutMs, issue, event);
    }
    ApiHandle own = OwnedByApi(api, api.CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!own.IsValid()) {
        return TransferResult::Failure(api.GetLastError());
    }
    return RunWithEvent(api, handle, timeoutMs, issue, own.Get());
}

}  // namespace orvo::usbpipe
