#pragma once
// The USB pipe library the tool reaches the device through: two calls, write and read.
//
// On Windows these are bound to the exports of qxUSBDevAdv.dll (PipeLibraryCalls.h). Each
// blocks until its transfer ends or the time-out expires and returns the byte count moved, or
// -1; the library finds the device by itself whenever a call needs it.
namespace orvo {

class PipeLibrary {
public:
    virtual ~PipeLibrary() = default;
    virtual int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) = 0;
    virtual int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) = 0;
    // The Windows error the library left for this thread's last call, when that call returned
    // -1; 0 after any other result, or from a library that leaves none.
    virtual unsigned long LastError() const { return 0; }
};

}  // namespace orvo
