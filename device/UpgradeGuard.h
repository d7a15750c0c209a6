#pragma once
// What every device operation of the window does first.
#include "DeviceTexts.h"
#include "DialogControls.h"
#include "WorkerThread.h"

#include <chrono>

namespace orvo {

// How long a device operation waits for a running upgrade before it refuses.
inline constexpr std::chrono::milliseconds kUpgradeWait{500};

// Waits up to kUpgradeWait for the upgrade worker to end; when it still runs, shows T10 and
// returns true: the operation must not touch the device.
inline bool RefuseWhileUpgrading(const WorkerThread& worker, DeviceTexts& texts) {
    if (worker.WaitForEnd(kUpgradeWait)) {
        return false;
    }
    texts.ShowLangMessage("T10");
    return true;
}

// The progress bar back to 0 % with no status text, as every action starts.
inline void ResetProgress(DeviceTexts& texts, DialogControls& controls) {
    texts.SetStatusTextMode(0);
    texts.SetStatusText(L"");
    controls.SetBarPosition(0);
}

}  // namespace orvo
