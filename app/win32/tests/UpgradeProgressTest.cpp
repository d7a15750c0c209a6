// A real upgrade on the simulated device into the window's own progress bar, with the window's
// thread free to paint or held up for the whole transfer: the device gets every block either
// way, and the bar paints only when its filled width changes, in the order of the steps, never
// twice for one step; it shows the first part's end before anything of the second, and ends
// full.
#include "BarGeometry.h"
#include "ImageMaker.h"
#include "MainDialogLogic.h"
#include "SimulatedDevice.h"
#include "TempFolder.h"
#include "ToolWindow.h"
#include "UpgradeImage.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace orvo::testing {
namespace {

using namespace std::chrono_literals;

constexpr int kInternalBlocks = 60;   // fewer blocks than pixels: each one widens the bar
constexpr int kExternalBlocks = 400;  // more: some leave it as it was

// The filled width of each paint of the bar, read from the screen once the paint is done.
LRESULT CALLBACK RecordPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR widths) {
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_PAINT) {
        RECT client{};
        GetClientRect(window, &client);
        Image row = CaptureClientArea(window, {0, 0, client.right, 1});
        int width = 0;
        while (width < row.width && row.At(width, 0) == GetSysColor(COLOR_HIGHLIGHT)) {
            ++width;
        }
        reinterpret_cast<std::vector<int>*>(widths)->push_back(width);
    }
    return result;
}

// Each whole-pixel step of a part's bar, from empty to full; returns the full one's index.
std::size_t AddSteps(std::vector<int>& steps, int blocks, int clientWidth) {
    for (int done = 0; done <= blocks; ++done) {
        const int width = BarWidth(clientWidth, ProgressOf(done, 0, blocks));
        if (steps.empty() || steps.back() != width) {
            steps.push_back(width);
        }
    }
    return steps.size() - 1;
}

// Whether the painted widths are steps taken in order, each at most once, step `must` among them.
bool FollowsTheSteps(const std::vector<int>& painted, const std::vector<int>& steps,
                     std::size_t must) {
    std::size_t next = 0;
    bool mustTaken = false;
    for (int width : painted) {
        while (next < steps.size() && steps[next] != width) {
            ++next;
        }
        if (next == steps.size()) {
            return false;
        }
        mustTaken = mustTaken || next == must;
        ++next;
    }
    return mustTaken;
}

// The same, but for one paint of the status text's change, which may come anywhere.
bool FollowsTheStepsButForOnePaint(const std::vector<int>& painted, const std::vector<int>& steps,
                                   std::size_t must) {
    for (std::size_t skipped = 0; skipped < painted.size(); ++skipped) {
        std::vector<int> rest = painted;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(skipped));
        if (FollowsTheSteps(rest, steps, must)) {
            return true;
        }
    }
    return false;
}

bool WaitFor(const std::function<bool()>& condition, bool pumpMessages) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (pumpMessages) {
            Settle();
        } else {
            Sleep(5);
        }
    }
    return true;
}

class UpgradeProgress : public ::testing::TestWithParam<bool> {
protected:
    UpgradeProgress() {
        folder_.CopyIn(ORVO_DATA_DIR, {"CONFIG.INI", "language.ini"});
        const image::Bytes image = image::MakeRandomImage(
            {kInternalBlocks * kInternalBlockSize - 100, kExternalBlocks * kExternalBlockSize - 7});
        folder_.Write("orvo_upgrade.bin", std::string(image.begin(), image.end()));
    }

    TempFolder folder_;
    ScopedCurrentDir inFolder_{folder_.Path()};
    ToolWindow window_;
    sim::SimulatedDevice device_;
    MainDialogLogic tool_{window_.Controls(), device_};
};

TEST_P(UpgradeProgress, PaintsEachWholePixelOnceAndNeverHoldsUpTheTransfer) {
    const bool windowHeldUp = GetParam();
    device_.SetLatency(200us);  // long enough for the window to show steps of each part
    tool_.OnInitDialog();
    HWND bar = window_.Control(control::kProgress);
    RECT client{};
    GetClientRect(bar, &client);
    std::vector<int> steps;
    const std::size_t internalEnd = AddSteps(steps, kInternalBlocks, client.right);
    AddSteps(steps, kExternalBlocks, client.right);
    Settle();
    std::vector<int> painted;
    SetWindowSubclass(bar, RecordPaints, 1, reinterpret_cast<DWORD_PTR>(&painted));

    tool_.OnStartUpgrade();
    ASSERT_TRUE(WaitFor([&] { return device_.UpgradeEnded(); }, !windowHeldUp))
        << "the transfer waited for the window's thread";
    ASSERT_TRUE(WaitFor([&] { return !tool_.UpgradeRunning(); }, true));
    Settle();
    RemoveWindowSubclass(bar, RecordPaints, 1);

    EXPECT_EQ(device_.InternalPart().size(), kInternalBlocks * kInternalBlockSize - 100u);
    EXPECT_EQ(device_.ExternalPart().size(), kExternalBlocks * kExternalBlockSize - 7u);
    EXPECT_TRUE(FollowsTheStepsButForOnePaint(painted, steps, internalEnd))
        << ::testing::PrintToString(painted);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back(), client.right);
    EXPECT_EQ(window_.TextOf(control::kProgress), L"Upgrade finished successfully.");
}

INSTANTIATE_TEST_SUITE_P(Window, UpgradeProgress, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "HeldUp" : "Free";
                         });

}  // namespace
}  // namespace orvo::testing
