#pragma once
// Serial-number programming: read the device's number, burn the number of the SN field into
// the device, record it in the history file and propose the next one.
//
// The field is read-only for the technician; the tool fills it with the proposed number, so
// writing one device after another burns consecutive numbers. Every burn is one step of the
// SerialLedger: no number goes to two devices, and a burned number that cannot be recorded is
// never passed over in silence: the message names the number and the file.
#include "DeviceLink.h"
#include "DialogControls.h"
#include "TechnicianView.h"
#include "WorkerThread.h"

#include <cstdint>
#include <string>

namespace orvo {

enum class BurnResult {
    kBurned,      // the device took the number; it is in the history file (or was already)
    kFailed,      // the device did not take it; the failure was shown; the number is a gap
    kUnrecorded,  // the device took it, the history file did not; the message names both
    kNotTaken,    // nothing was sent: the history unusable, the number given out before, or no
                  // number of 12 digits to propose; the message says which
};

struct BurnOrder {
    std::string number;       // empty: the number the history and the number file propose
    bool again = false;       // a number given out before is burned all the same
    bool greetFirst = false;  // commands 10 and 11 before the write, once the number is taken
};

struct Burn {
    BurnResult result = BurnResult::kNotTaken;
    std::string number;  // the number burned, or meant to be
};

// Takes a number and burns it into the device, under the history's lock from the choice to the
// record. Numbers an earlier burn left unsettled are shown first, once.
Burn BurnNumber(DeviceLink& link, TechnicianView& view, const BurnOrder& order);

// The number the SN field proposes: after the last one of the number file and of the history,
// past every number given out before. Read without the lock: a burn takes its own.
std::string ProposedSerialNumber();

class SerialProgramming {
public:
    SerialProgramming(DialogControls& controls, DeviceLink& link, TechnicianView& texts,
                      const WorkerThread& upgradeWorker)
        : controls_(controls), link_(link), view_(texts), upgradeWorker_(upgradeWorker) {}

    void OnReadSerialNumber();
    void OnWriteSerialNumber();
    // Greets the device and burns the 12 bytes of `number`; 1 when the device accepted them,
    // else 0 (after the failure's message).
    int BurnSerialNumber(const std::uint8_t* number);
    // Puts the proposed number into the SN field.
    void LoadNextSerialNumber();

private:
    DialogControls& controls_;
    DeviceLink& link_;
    TechnicianView& view_;
    const WorkerThread& upgradeWorker_;
};

}  // namespace orvo
