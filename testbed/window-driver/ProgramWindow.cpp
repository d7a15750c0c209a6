#include "ProgramWindow.h"

#include "Polling.h"
#include "win32/KernelHandle.h"

#include <vector>

namespace orvo::drive {
namespace {

// A window that does not answer within this time is taken as hung; the driver goes on.
constexpr UINT kAnswerTimeoutMs = 5000;

std::wstring TitleOf(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchToolWindow(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.processId == 0 || owner == search.processId) &&
        TitleOf(window) == kToolWindowTitle) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::optional<ProgramWindow> ProgramWindow::Find(DWORD processId) {
    Search search{processId, nullptr};
    EnumWindows(MatchToolWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return std::nullopt;
    }
    return ProgramWindow(search.found);
}

std::optional<ProgramWindow> ProgramWindow::WaitFor(DWORD processId,
                                                    std::chrono::milliseconds timeout) {
    std::optional<ProgramWindow> window;
    PollUntil(
        [&] {
            window = Find(processId);
            return window && IsWindowVisible(window->Handle());
        },
        timeout);
    if (!window || !IsWindowVisible(window->Handle())) {
        return std::nullopt;
    }
    // A dialog's modal loop shows its window once more the first time its queue runs empty,
    // undoing a minimise that came before. WaitForInputIdle waits for that moment; under Wine
    // it may return earlier, so a caller that minimises needs a sign of its own as well.
    const KernelHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, window->ProcessId()));
    if (process.IsValid()) {
        WaitForInputIdle(process.Get(), static_cast<DWORD>(timeout.count()));
    }
    return window;
}

DWORD ProgramWindow::ProcessId() const {
    DWORD processId = 0;
    GetWindowThreadProcessId(dialog_, &processId);
    return processId;
}

SIZE ProgramWindow::ClientSize() const {
    RECT client{};
    GetClientRect(dialog_, &client);
    return SIZE{client.right, client.bottom};
}

RECT ProgramWindow::ClientOnScreen() const {
    RECT client{};
    GetClientRect(dialog_, &client);
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

HWND ProgramWindow::Control(int id) const {
    return GetDlgItem(dialog_, id);
}

std::wstring ProgramWindow::Text(int id) const {
    std::vector<wchar_t> text(1024, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(Control(id), WM_GETTEXT, text.size(),
                             reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kAnswerTimeoutMs, &copied)) {
        return L"";
    }
    return std::wstring(text.data(), copied);
}

bool ProgramWindow::IsShown(int id) const {
    return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT ProgramWindow::Bounds(int id) const {
    RECT bounds{};
    GetWindowRect(Control(id), &bounds);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

POINT ProgramWindow::Position(int id) const {
    const RECT bounds = Bounds(id);
    return POINT{bounds.left, bounds.top};
}

int ProgramWindow::FocusedId() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info) ||
        info.hwndFocus == nullptr || GetParent(info.hwndFocus) != dialog_) {
        return 0;
    }
    return GetDlgCtrlID(info.hwndFocus);
}

LRESULT ProgramWindow::HitTest(POINT client) const {
    POINT screen = client;
    MapWindowPoints(dialog_, nullptr, &screen, 1);
    DWORD_PTR answer = HTNOWHERE;
    SendMessageTimeoutW(dialog_, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y), SMTO_ABORTIFHUNG,
                        kAnswerTimeoutMs, &answer);
    return static_cast<LRESULT>(answer);
}

void ProgramWindow::SystemCommand(WPARAM command) const {
    PostMessageW(dialog_, WM_SYSCOMMAND, command, 0);
}

void ProgramWindow::Click(int id) const {
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void ProgramWindow::SelectListItem(int id, int index) const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG,
                        kAnswerTimeoutMs, &ignored);
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void ProgramWindow::PressEscape() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = dialog_;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info) &&
        info.hwndFocus != nullptr) {
        target = info.hwndFocus;
    }
    // Scan code 1 is Esc; the dialog's message loop turns the key into IDCANCEL.
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
}

bool ProgramWindow::WaitForText(int id, const std::wstring& text,
                                std::chrono::milliseconds timeout) const {
    return PollUntil([&] { return Text(id) == text; }, timeout);
}

}  // namespace orvo::drive
