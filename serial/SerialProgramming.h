#pragma once
// Serial-number programming: read the device's number, burn the number of the SN field into
// the device, record it in the history file and propose the next one.
//
// The field is read-only for the technician; the tool fills it with the proposed number, so
// writing one device after another burns consecutive numbers. A burned number that cannot be
// recorded is never passed over in silence: the message names the number and the file.
#include "DeviceLink.h"
#include "TechnicianView.h"
#include "DialogControls.h"
#include "WorkerThread.h"

#include <cstdint>
#include <string>

namespace orvo {

enum class BurnResult {
    kBurned,      // the device took the number; it is in the history file (or was already)
    kFailed,      // the device did not take it; the failure was shown
    kUnrecorded,  // the device took it, the history file did not; the message names both
};

// Burns the 12 digits of `number` into the device and records them in the history file.
BurnResult BurnAndRecordSerialNumber(DeviceLink& link, TechnicianView& view,
                                     const std::string& number);

// The number after the last one of the number file, or the default number.
std::string ProposedSerialNumber();

class SerialProgramming {
public:
    SerialProgramming(DialogControls& controls, DeviceLink& link, TechnicianView& texts,
                      const WorkerThread& upgradeWorker)
        : controls_(controls), link_(link), view_(texts), upgradeWorker_(upgradeWorker) {}

    void OnReadSerialNumber();
    void OnWriteSerialNumber();
    // Sends the 12 bytes of `number`; 1 when the device accepted them, else 0 (after the
    // failure's message).
    int BurnSerialNumber(const std::uint8_t* number);
    // Puts the number after the last one in the number file into the SN field.
    void LoadNextSerialNumber();

private:
    DialogControls& controls_;
    DeviceLink& link_;
    TechnicianView& view_;
    const WorkerThread& upgradeWorker_;
};

}  // namespace orvo
