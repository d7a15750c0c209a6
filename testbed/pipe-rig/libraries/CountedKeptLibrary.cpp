// qxUSBDevAdv.dll of the counted build: the tool's pipe library for real devices on the counting
// table of Windows calls.
#include "CountingPipeApi.h"
#include "KeptPipeLibrary.h"
#include "UsbPipeExports.h"

namespace {

orvo::usbpipe::KeptPipeLibrary& Library() {
    static orvo::usbpipe::KeptPipeLibrary library(orvo::piperig::CountingPipeApi());
    return library;
}

}  // namespace

int qxUSBAdv_ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    return Library().ReadData(pipe, buffer, length, timeoutMs);
}

int qxUSBAdv_WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return Library().WriteData(pipe, data, length, timeoutMs);
}
