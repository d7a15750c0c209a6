#pragma once
// Each DLL's one library state per loaded module, bound to the real Windows calls: a pipe per
// call for qxUSBDev, the kept pipes for qxUSBDevAdv.
#include "KeptPipeLibrary.h"
#include "UsbPipeLibrary.h"

namespace orvo::usbpipe {

UsbPipeLibrary& ModuleLibrary();
KeptPipeLibrary& ModuleKeptLibrary();

}  // namespace orvo::usbpipe
