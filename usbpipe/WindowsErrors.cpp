#include "WindowsErrors.h"

namespace orvo::usbpipe {

bool IsPending(DWORD error) {
    return error == ERROR_IO_PENDING;
}

WaitOutcome ClassifyWait(DWORD waitResult) {
    switch (waitResult) {
        case WAIT_OBJECT_0:
            return WaitOutcome::Signalled;
        case WAIT_TIMEOUT:
            return WaitOutcome::TimedOut;
        default:
            return WaitOutcome::Failed;
    }
}

bool EndsEnumeration(DWORD error) {
    return error == ERROR_NO_MORE_ITEMS;
}

}  // namespace orvo::usbpipe
