#include "DeviceErrorKeys.h"

namespace orvo {

const char* DeviceErrorKey(int errorCode) {
    // There is no E8: after E7 for code 8 every other code is E9.
    static constexpr const char* kKeys[] = {"T5", "E0", "E1", "E2", "E3", "E4", "E5", "E6", "E7"};
    static constexpr int kKnownCodes = sizeof(kKeys) / sizeof(kKeys[0]);
    const int code = errorCode & 0xFF;
    return code < kKnownCodes ? kKeys[code] : "E9";
}

}  // namespace orvo
