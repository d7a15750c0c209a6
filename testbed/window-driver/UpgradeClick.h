#pragma once
// One click of Start Upgrade in the running tool, followed to the end of the run.
#include "ProgramWindow.h"

#include <chrono>

namespace orvo::drive {

// Clicks Start Upgrade and waits for the run's status text, closing the message box a failing
// run shows first. False when the run did not end so within `timeout`.
bool ClickStartUpgradeAndWait(const ProgramWindow& window, bool failing,
                              std::chrono::milliseconds timeout);

}  // namespace orvo::drive
