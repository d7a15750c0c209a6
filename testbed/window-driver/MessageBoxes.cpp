#include "MessageBoxes.h"

#include "Polling.h"
#include "ProgramWindow.h"

#include <algorithm>

namespace orvo::drive {
namespace {

// The id of a message box's text; OK is IDOK.
constexpr int kMessageTextId = 0xFFFF;
constexpr std::chrono::milliseconds kCloseTimeout{5000};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    DWORD processId;
    std::vector<MessageBoxWindow> found;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    MessageBoxWindow box(window);
    if (owner == search.processId && IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
        box.Caption() != kToolWindowTitle) {
        search.found.push_back(box);
    }
    return TRUE;
}

}  // namespace

std::wstring MessageBoxWindow::Caption() const {
    wchar_t caption[256] = {};
    GetWindowTextW(box_, caption, 256);
    return caption;
}

std::wstring MessageBoxWindow::Text() const {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box_, kMessageTextId, text, 1024);
    return text;
}

bool MessageBoxWindow::PressOk() const {
    PostMessageW(box_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box_, IDOK)));
    return PollUntil([&] { return !IsWindow(box_) || !IsWindowVisible(box_); }, kCloseTimeout);
}

std::vector<MessageBoxWindow> FindMessageBoxes(DWORD processId) {
    Search search{processId, {}};
    EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
    // EnumWindows goes from the top of the Z order down.
    std::reverse(search.found.begin(), search.found.end());
    return search.found;
}

std::optional<MessageBoxWindow> WaitForMessageBox(DWORD processId,
                                                  std::chrono::milliseconds timeout, HWND besides) {
    std::optional<MessageBoxWindow> found;
    PollUntil(
        [&] {
            for (const MessageBoxWindow& box : FindMessageBoxes(processId)) {
                if (box.Handle() != besides) {
                    found = box;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

}  // namespace orvo::drive
