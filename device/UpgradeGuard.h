#pragma once
// What every device operation of the window does first.
#include "TechnicianView.h"
#include "TextKeys.h"
#include "WorkerThread.h"

#include <chrono>

namespace orvo {

// How long a device operation waits for a running upgrade before it refuses.
inline constexpr std::chrono::milliseconds kUpgradeWait{500};

// Waits up to kUpgradeWait for the upgrade worker to end; when it still runs, shows T10 and
// returns true: the operation must not touch the device.
inline bool RefuseWhileUpgrading(const WorkerThread& worker, TechnicianView& view) {
    if (worker.WaitForEnd(kUpgradeWait)) {
        return false;
    }
    view.ShowLangMessage(text::kUpgradeRunning);
    return true;
}

}  // namespace orvo
