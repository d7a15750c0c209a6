#pragma once
// The library's one state per loaded module, bound to the real Windows calls.
#include "UsbPipeLibrary.h"

namespace orvo::usbpipe {

UsbPipeLibrary& ModuleLibrary();

}  // namespace orvo::usbpipe
