#pragma once
// The message boxes of a driven program: its dialog windows (class #32770) other than the
// tool's main window, each read and closed through window messages.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace orvo::drive {

class MessageBoxWindow {
public:
    explicit MessageBoxWindow(HWND box) : box_(box) {}

    HWND Handle() const { return box_; }
    std::wstring Caption() const;
    std::wstring Text() const;
    // The window that owns the box; null when it has none (a box raised by a worker thread).
    HWND Owner() const { return GetWindow(box_, GW_OWNER); }
    // Presses OK and waits until the box has gone; false when it is still there.
    bool PressOk() const;

private:
    HWND box_;
};

// The shown message boxes of process `processId`, from the bottom of the Z order up: the
// oldest first, as a newer box comes above the older ones.
std::vector<MessageBoxWindow> FindMessageBoxes(DWORD processId);
// The oldest shown box but `besides` (a box already dealt with), once there is one.
std::optional<MessageBoxWindow> WaitForMessageBox(DWORD processId,
                                                  std::chrono::milliseconds timeout,
                                                  HWND besides = nullptr);

}  // namespace orvo::drive
