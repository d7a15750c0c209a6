#pragma once
// The tool's main window as another process sees it: found by its title, read and operated
// through window messages. Clicks are posted, not sent, so that a message box raised by the
// handler leaves the driver free to read it and press OK.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace orvo::drive {

inline constexpr wchar_t kToolWindowTitle[] = L"Velmora Orvo I Upgrade Tool";

class ProgramWindow {
public:
    explicit ProgramWindow(HWND dialog) : dialog_(dialog) {}

    // The tool's window once it is shown; `processId` 0 accepts any process.
    static std::optional<ProgramWindow> WaitFor(DWORD processId, std::chrono::milliseconds timeout);
    // The tool's window, shown or not yet; nothing when there is none.
    static std::optional<ProgramWindow> Find(DWORD processId);

    HWND Handle() const { return dialog_; }
    DWORD ProcessId() const;
    bool Exists() const { return IsWindow(dialog_) != FALSE; }
    bool IsMinimised() const { return IsIconic(dialog_) != FALSE; }
    SIZE ClientSize() const;
    // The client area in screen pixels.
    RECT ClientOnScreen() const;

    // The window text of control `id`; the progress bar answers with its status text.
    std::wstring Text(int id) const;
    bool IsShown(int id) const;    // the control's own visibility, whatever its parent's
    RECT Bounds(int id) const;     // in client pixels
    POINT Position(int id) const;  // top-left corner in client pixels
    // The id of the control with the keyboard focus; 0 when the focus is elsewhere.
    int FocusedId() const;

    // What the window answers WM_NCHITTEST for a point of its client area.
    LRESULT HitTest(POINT client) const;

    void Click(int id) const;
    // A command of the window's system menu, as if chosen there.
    void SystemCommand(WPARAM command) const;
    void SelectListItem(int id, int index) const;
    // Esc as a key press reaches the control with the focus.
    void PressEscape() const;

    bool WaitForText(int id, const std::wstring& text, std::chrono::milliseconds timeout) const;

private:
    HWND Control(int id) const;

    HWND dialog_;
};

}  // namespace orvo::drive
