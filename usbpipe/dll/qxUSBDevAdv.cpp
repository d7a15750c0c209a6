// The pipe library the tool links, for real devices: the same code as qxUSBDev under the
// names the tool imports.
#include "ModuleLibrary.h"
#include "UsbPipeExports.h"

using orvo::usbpipe::ModuleLibrary;

int qxUSBAdv_ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    return ModuleLibrary().ReadData(pipe, buffer, length, timeoutMs);
}

int qxUSBAdv_WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return ModuleLibrary().WriteData(pipe, data, length, timeoutMs);
}
