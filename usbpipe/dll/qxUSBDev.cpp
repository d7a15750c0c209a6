#include "ModuleLibrary.h"
#include "UsbPipeExports.h"

using orvo::usbpipe::ModuleLibrary;

int qxUSB_ReadData(int pipe, unsigned char* buffer, int length, int timeoutMs) {
    return ModuleLibrary().ReadData(pipe, buffer, length, timeoutMs);
}

int qxUSB_WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return ModuleLibrary().WriteData(pipe, data, length, timeoutMs);
}
