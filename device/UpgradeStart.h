#pragma once
// The Start Upgrade button: it checks that no run is going on, opens the device's session,
// reads and shows its serial number, chooses the upgrade file from it and runs the upgrade on
// the worker thread, so the window stays responsive.
#include "DeviceLink.h"
#include "DialogControls.h"
#include "TechnicianView.h"
#include "UpgradeTransfer.h"
#include "WorkerThread.h"

#include <atomic>

namespace orvo {

class UpgradeStart {
public:
    UpgradeStart(DialogControls& controls, DeviceLink& link, TechnicianView& texts)
        : controls_(controls), link_(link), view_(texts) {}

    void OnStartUpgrade();
    // The window is going: lets the worker's thread go (after its job, if one runs).
    void OnDestroy() { worker_.Release(); }

    const WorkerThread& Worker() const { return worker_; }
    // Set by every click that read a serial number: it began with an alternative prefix.
    bool AlternativeFile() const { return alternativeFile_; }

private:
    void UpgradeWorker(PartChoice parts);

    DialogControls& controls_;
    DeviceLink& link_;
    TechnicianView& view_;
    std::atomic<bool> alternativeFile_{false};
    TransferKit kit_;  // the worker's only
    // Last member: destroyed first, so a running worker is waited for while all it uses lives.
    WorkerThread worker_;
};

}  // namespace orvo
