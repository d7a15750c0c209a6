#include "ApiHandles.h"

namespace orvo::usbpipe {

DeviceInfoSet::~DeviceInfoSet() {
    if (IsValid()) {
        api_.SetupDiDestroyDeviceInfoList(set_);
    }
}

}  // namespace orvo::usbpipe
