#pragma once
// The pipe calls of the Windows build: the imports of qxUSBDevAdv.dll.
#include "PipeLibrary.h"

namespace orvo {

class ImportedPipeLibrary : public PipeLibrary {
public:
    int WriteData(int pipe, unsigned char* data, int length, int timeoutMs) override;
    int ReadData(int pipe, unsigned char* data, int length, int timeoutMs) override;
    unsigned long LastError() const override;
};

}  // namespace orvo
