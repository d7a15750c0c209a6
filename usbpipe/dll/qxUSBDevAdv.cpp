// The pipe library the tool links, for real devices: qxUSBDev's arguments and results under the
// names the tool imports, with each pipe kept open while its transfers succeed
// (KeptPipeLibrary.h).
#include "ModuleLibrary.h"
#include "UsbPipeExports.h"

using orvo::usbpipe::ModuleKeptLibrary;

int qxUSBAdv_ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    return ModuleKeptLibrary().ReadData(pipe, buffer, length, timeoutMs);
}

int qxUSBAdv_WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return ModuleKeptLibrary().WriteData(pipe, data, length, timeoutMs);
}
