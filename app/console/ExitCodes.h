#pragma once
// The exit codes of orvo, one per kind of outcome, so that a script can tell them apart; the
// usage text and the README list them.
#include <string_view>

namespace orvo::console {

enum ExitCode : int {
    kExitDone = 0,
    kExitUsage = 1,
    kExitFiles = 2,          // CONFIG.INI, the upgrade file or the history file
    kExitImageRefused = 3,   // the image breaks its rules, or the approved-images list lacks it
    kExitNoDevice = 4,       // no device, or no reply (T5)
    kExitDeviceRefused = 5,  // a failure reply (E0 to E9)
    kExitSerialNumber = 6,   // not twelve digits (T8), or not accepted (T7)
    kExitInterrupted = 130,
};

// The message key that ends a job, its exit code.
ExitCode ExitCodeFor(std::string_view messageKey);

// The key a view reports for a job stopped by Ctrl-C or the end of standard input.
inline constexpr char kInterruptedKey[] = "interrupted";

}  // namespace orvo::console
