// orvo-drive: one action on the running tool's window per call, for scripts (scripts/demo).
// The tool is found by its window title, so it must already run in the same Wine session.
#include "DialogControls.h"
#include "DriveCommand.h"
#include "MessageBoxes.h"
#include "ProgramWindow.h"
#include "win32/KernelHandle.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace orvo::drive;

namespace {

constexpr int kDone = 0;
constexpr int kNotFound = 1;
constexpr int kWrongUse = 2;

void PrintRect(const RECT& r) {
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void PrintLine(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
}

int Fail(const char* reason) {
    std::fprintf(stderr, "orvo-drive: %s\n", reason);
    return kNotFound;
}

int RunOnWindow(const DriveCommand& command, const ProgramWindow& window) {
    switch (command.action) {
        case Action::kWaitWindow:
            return kDone;
        case Action::kRect:
            PrintRect(window.ClientOnScreen());
            return kDone;
        case Action::kControlRect:
            PrintRect(window.Bounds(command.id));
            return kDone;
        case Action::kText:
            PrintLine(window.Text(command.id));
            return kDone;
        case Action::kWaitText:
            if (!window.WaitForText(command.id, command.text, command.timeout)) {
                PrintLine(window.Text(command.id));
                return Fail("the text did not come; the control shows the line above");
            }
            return kDone;
        case Action::kClick:
            window.Click(command.id);
            return kDone;
        case Action::kSelect:
            window.SelectListItem(command.id, command.index);
            return kDone;
        case Action::kEscape:
            window.PressEscape();
            return kDone;
        case Action::kMessages:
            for (const MessageBoxWindow& box : FindMessageBoxes(window.ProcessId())) {
                PrintLine(box.Text());
            }
            return kDone;
        case Action::kWaitMessage: {
            const auto box = WaitForMessageBox(window.ProcessId(), command.timeout);
            if (!box) {
                return Fail("no message box came");
            }
            PrintLine(box->Text());
            return kDone;
        }
        case Action::kPressOk: {
            const std::vector<MessageBoxWindow> boxes = FindMessageBoxes(window.ProcessId());
            if (boxes.empty()) {
                return Fail("no message box is shown");
            }
            return boxes.front().PressOk() ? kDone : Fail("the message box stayed");
        }
        case Action::kMessageRect: {
            const std::vector<MessageBoxWindow> boxes = FindMessageBoxes(window.ProcessId());
            if (boxes.empty()) {
                return Fail("no message box is shown");
            }
            RECT frame{};
            GetWindowRect(boxes.front().Handle(), &frame);
            PrintRect(frame);
            return kDone;
        }
        case Action::kAbout:
            window.SystemCommand(orvo::control::kAboutEntry);
            return kDone;
        case Action::kWaitEnd: {
            const orvo::KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, window.ProcessId()));
            if (!process.IsValid()) {
                return kDone;  // already gone
            }
            const DWORD waited =
                WaitForSingleObject(process.Get(), static_cast<DWORD>(command.timeout.count()));
            return waited == WAIT_OBJECT_0 ? kDone : Fail("the tool is still running");
        }
        case Action::kColour:
            break;
    }
    return kWrongUse;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::string error;
    const auto command = ParseDriveCommand(std::vector<std::wstring>(argv + 1, argv + argc), error);
    if (!command) {
        std::fprintf(stderr, "orvo-drive: %s\n%s", error.c_str(), kDriveUsage);
        return kWrongUse;
    }
    if (command->action == Action::kColour) {
        const COLORREF colour = GetSysColor(command->id);
        std::printf("%d,%d,%d\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        return kDone;
    }
    const auto window = command->action == Action::kWaitWindow
                            ? ProgramWindow::WaitFor(0, command->timeout)
                            : ProgramWindow::Find(0);
    if (!window) {
        if (command->action == Action::kWaitEnd) {
            return kDone;
        }
        return Fail("the tool's window is not there");
    }
    return RunOnWindow(*command, *window);
}
