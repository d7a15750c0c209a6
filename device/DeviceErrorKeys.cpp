#include "DeviceErrorKeys.h"

#include "TextKeys.h"

namespace orvo {

const char* DeviceErrorKey(int errorCode) {
    static constexpr int kKnownCodes = sizeof(text::kDeviceErrors) / sizeof(text::kDeviceErrors[0]);
    const int code = errorCode & 0xFF;
    if (code == 0) {
        return text::kNoDeviceReply;
    }
    return code <= kKnownCodes ? text::kDeviceErrors[code - 1] : text::kUnknownDeviceError;
}

}  // namespace orvo
