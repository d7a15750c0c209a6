// The window's own buttons and keys when no upgrade runs: every way of closing ends the tool,
// "－" minimises and the window comes back as it was.
#include "OrvoVersion.h"
#include "Polling.h"
#include "RunningTool.h"
#include "ScreenPixels.h"

namespace orvo::testing {
namespace {

using namespace orvo::control;

// The About box's line names the version the build was made with.
constexpr wchar_t kAboutVersionLine[] =
    L"Velmora Orvo I Upgrade Tool " ORVO_VERSION_TEXT L" \u7248";

struct ClosingWay {
    const char* name;
    int command;  // the button clicked, or VK_ESCAPE for the key
};

class ClosingWhenIdle : public RunningTool, public ::testing::WithParamInterface<ClosingWay> {};

TEST_P(ClosingWhenIdle, EndsTheTool) {
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    if (GetParam().command == VK_ESCAPE) {
        window.PressEscape();
    } else {
        window.Click(GetParam().command);
    }
    EXPECT_EQ(WaitForEnd(kStepTimeout), std::optional<DWORD>(0));
    EXPECT_TRUE(drive::FindMessageBoxes(ProcessId()).empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ClosingWhenIdle,
                         ::testing::Values(ClosingWay{"ExitButton", kExit},
                                           ClosingWay{"CloseButton", kClose},
                                           ClosingWay{"Escape", VK_ESCAPE},
                                           ClosingWay{"OkCommand", IDOK}),
                         [](const auto& way) { return std::string(way.param.name); });

class WindowButtons : public RunningTool {};

TEST_F(WindowButtons, MinimiseAndRestoreKeepTheLayout) {
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    const POINT startButton = window.Position(control::kStartUpgrade);
    // The dialog's loop shows its window once more when it first runs idle, which would undo
    // a minimise that came before.
    ASSERT_TRUE(WaitForDrawnTitle(window.Handle()));
    window.Click(kMinimise);
    ASSERT_TRUE(drive::PollUntil([&] { return window.IsMinimised(); }, kStepTimeout));
    EXPECT_FALSE(HasEnded());

    ShowWindowAsync(window.Handle(), SW_RESTORE);
    // Restoring clears the minimised state before it gives the window its size back.
    ASSERT_TRUE(drive::PollUntil(
        [&] {
            const SIZE size = window.ClientSize();
            return !window.IsMinimised() && size.cx == 480 && size.cy == 360;
        },
        kStepTimeout));
    EXPECT_EQ(window.Position(control::kStartUpgrade).x, startButton.x);
    EXPECT_EQ(window.Position(control::kStartUpgrade).y, startButton.y);
    EXPECT_TRUE(window.IsShown(control::kStartUpgrade));
}

TEST_F(WindowButtons, BackgroundDragsAndTheAboutEntryReturnsToTheWindow) {
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    // Anywhere on the background the window answers as its caption would: it drags.
    for (POINT point : {POINT{30, 200}, POINT{5, 5}, POINT{479, 359}}) {
        EXPECT_EQ(window.HitTest(point), HTCAPTION) << point.x << "," << point.y;
    }
    EXPECT_NE(window.HitTest(POINT{480, 200}), HTCAPTION) << "outside the client area";

    window.SystemCommand(control::kAboutEntry);
    const auto about = drive::WaitForMessageBox(ProcessId(), kStepTimeout);
    ASSERT_TRUE(about);
    EXPECT_EQ(about->Caption(), L"\u5173\u4E8E Pellin Upgrade Tool");
    EXPECT_NE(FindWindowExW(about->Handle(), nullptr, L"Static", kAboutVersionLine), nullptr);
    EXPECT_EQ(about->Owner(), window.Handle());
    EXPECT_TRUE(about->PressOk());
    EXPECT_FALSE(HasEnded());
    EXPECT_TRUE(window.IsShown(kExit));
    // The focus comes back when the window is active again, on the tool's own time.
    EXPECT_TRUE(drive::PollUntil([&] { return window.FocusedId() == kExit; }, kStepTimeout))
        << "the focus returns to the window";
}

// A real press of the mouse, through the system's input queue as a hand on the mouse gives it.
class Mouse {
public:
    static void MoveTo(POINT screen) {
        SetCursorPos(screen.x, screen.y);
        Send(MOUSEEVENTF_MOVE, screen);
    }
    static void Press(POINT screen) { Send(MOUSEEVENTF_LEFTDOWN, screen); }
    static void Release(POINT screen) { Send(MOUSEEVENTF_LEFTUP, screen); }

private:
    static void Send(DWORD flags, POINT screen) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof input);
        Sleep(30);
    }
};

POINT OnScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

TEST_F(WindowButtons, RealPressDragsTheBackgroundAndOperatesAControl) {
    Start();
    const drive::ProgramWindow& window = WaitForWindow();
    ASSERT_TRUE(WaitForDrawnTitle(window.Handle()));
    RECT before{};
    GetWindowRect(window.Handle(), &before);

    const POINT grip = OnScreen(window.Handle(), {30, 200});
    Mouse::MoveTo(grip);
    Mouse::Press(grip);
    POINT to = grip;
    for (int step = 0; step < 8; ++step) {
        to.x += 5;
        to.y += 4;
        Mouse::MoveTo(to);
    }
    Mouse::Release(to);
    RECT after{};
    EXPECT_TRUE(drive::PollUntil(
        [&] {
            GetWindowRect(window.Handle(), &after);
            return after.left == before.left + 40 && after.top == before.top + 32;
        },
        kStepTimeout))
        << "the window moved from " << before.left << "," << before.top << " to " << after.left
        << "," << after.top;

    // A press on a control is the control's: "－" minimises.
    RECT button{};
    GetWindowRect(GetDlgItem(window.Handle(), kMinimise), &button);
    const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    Mouse::MoveTo(centre);
    Mouse::Press(centre);
    Mouse::Release(centre);
    EXPECT_TRUE(drive::PollUntil([&] { return window.IsMinimised(); }, kStepTimeout));
    EXPECT_FALSE(HasEnded());
}

}  // namespace
}  // namespace orvo::testing
