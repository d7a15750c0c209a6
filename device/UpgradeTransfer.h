#pragma once
// The body of an upgrade, run on the upgrade worker: the upgrade file named in CONFIG.INI (in
// the current directory) goes to the device, its internal part when box 1006 is ticked, its
// external part when box 1007 is (as they were when the run started), each as a start command
// and blocks announced one by one, then the end command. The progress bar counts the blocks of
// each part; the status key follows the phase (F1, F0, the label of the segment being sent, T2
// at the end).
//
// Returns 1 when everything was sent and accepted, also when neither box is ticked and nothing
// is sent; else 0, after the reason was shown:
//   CONFIG.INI missing or empty             message T0
//   upgrade file missing or unreadable      message T9
//   upgrade file against the format's rules, empty, or an empty internal part to send:
//                                           message T9, status line T3, before any frame
//   an exchange failed                      the device error report; nothing more is sent
#include "DeviceLink.h"
#include "TechnicianView.h"
#include "DialogControls.h"

namespace orvo {

// The parts to send, as boxes 1006 and 1007 are ticked.
struct PartChoice {
    bool internal = false;
    bool external = false;
};

// Read on the window's thread when the run is started, so that the worker never has to wait
// for that thread to answer.
PartChoice ChosenParts(DialogControls& controls);

// `alternativeFile` picks the file of UPGRADE_FILE_KWOR_OBDII instead of UPGRADE_FILE.
int RunUpgrade(DeviceLink& link, PartChoice parts, TechnicianView& view, bool alternativeFile);

}  // namespace orvo
