#include "ImportedPipeLibrary.h"

#include "PipeLibraryCalls.h"

namespace orvo {

int ImportedPipeLibrary::WriteData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return qxUSBAdv_WriteData(pipe, data, length, timeoutMs);
}

int ImportedPipeLibrary::ReadData(int pipe, unsigned char* data, int length, int timeoutMs) {
    return qxUSBAdv_ReadData(pipe, data, length, timeoutMs);
}

}  // namespace orvo
