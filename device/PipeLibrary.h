#pragma once
// The USB pipe library the tool reaches the device through: two calls, write and read.
//
// On Windows these are bound to the exports of qxUSBDevAdv.dll, which external builds of that
// library must match exactly: plain C functions with undecorated names and the default C
// calling convention,
//     int qxUSBAdv_WriteData(int pipe, unsigned char* data, int length, int timeout_ms);
//     int qxUSBAdv_ReadData(int pipe, unsigned char* data, int length, int timeout_ms);
// Each blocks until its transfer ends or the time-out expires and returns the byte count
// moved, or -1; the library finds the device by itself whenever a call needs it.
namespace orvo {

class PipeLibrary {
public:
    virtual ~PipeLibrary() = default;
    virtual int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) = 0;
    virtual int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) = 0;
};

}  // namespace orvo
