#include "ImportedPipeLibrary.h"

#include "PipeLibraryCalls.h"

#include <windows.h>

namespace orvo {
namespace {

// Per thread, as the system's last error is.
thread_local DWORD lastCallError = ERROR_SUCCESS;

// A library that sets no error leaves the 0 set before the call, not an older thread error.
template <typename Call>
int Called(Call call) {
    SetLastError(ERROR_SUCCESS);
    const int result = call();
    lastCallError = result < 0 ? GetLastError() : ERROR_SUCCESS;
    return result;
}

}  // namespace

int ImportedPipeLibrary::WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return Called([&] { return qxUSBAdv_WriteData(pipe, data, length, timeoutMs); });
}

int ImportedPipeLibrary::ReadData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return Called([&] { return qxUSBAdv_ReadData(pipe, data, length, timeoutMs); });
}

unsigned long ImportedPipeLibrary::LastError() const {
    return lastCallError;
}

}  // namespace orvo
