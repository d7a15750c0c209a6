#include "ModuleLibrary.h"

namespace orvo::usbpipe {

UsbPipeLibrary& ModuleLibrary() {
    static UsbPipeLibrary library(RealPipeApi());
    return library;
}

KeptPipeLibrary& ModuleKeptLibrary() {
    static KeptPipeLibrary library(RealPipeApi());
    return library;
}

}  // namespace orvo::usbpipe
