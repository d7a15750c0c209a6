#include "UpgradeClick.h"

#include "DialogControls.h"
#include "MessageBoxes.h"
#include "Polling.h"

namespace orvo::drive {

bool ClickStartUpgradeAndWait(const ProgramWindow& window, bool failing,
                              std::chrono::milliseconds timeout) {
    // The last run's result is wiped first, so that a text seen later is this run's, however
    // fast the run is.
    HWND bar = GetDlgItem(window.Handle(), control::kProgress);
    SendMessageTimeoutW(bar, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    window.Click(control::kStartUpgrade);
    if (failing) {
        const auto box = WaitForMessageBox(window.ProcessId(), timeout);
        if (!box || !box->PressOk()) {
            return false;
        }
    }
    return PollUntil([&] { return !window.Text(control::kProgress).empty(); }, timeout) &&
           FindMessageBoxes(window.ProcessId()).empty();
}

}  // namespace orvo::drive
