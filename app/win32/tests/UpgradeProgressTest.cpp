// A real upgrade on the simulated device into the window's own progress bar, with the window's
// thread free to paint or held up for the whole transfer: the device gets every block either
// way, and the bar paints once for each whole pixel its filled part grows and ends each part
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

#include <algorithm>
#include <chrono>
#include <functional>
#include <filesystem>
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

// Each whole-pixel step of a part's bar, from empty to full.
void AddSteps(std::vector<int>& steps, int blocks, int clientWidth) {
    for (int done = 0; done <= blocks; ++done) {
        const int width = BarWidth(clientWidth, ProgressOf(done, 0, blocks));
        if (steps.empty() || steps.back() != width) {
            steps.push_back(width);
        }
    }
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
        for (const char* name : {"CONFIG.INI", "language.ini"}) {
            std::filesystem::copy_file(std::filesystem::path(ORVO_DATA_DIR) / name,
                                       folder_.Path() / name);
        }
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
    tool_.OnInitDialog();
    HWND bar = window_.Control(control::kProgress);
    RECT client{};
    GetClientRect(bar, &client);
    std::vector<int> steps;
    AddSteps(steps, kInternalBlocks, client.right);
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
    // Every step in order, each painted once; the status text may add one paint of the full bar
    // (when the window's thread was held up, its change is painted with a step).
    EXPECT_LE(painted.size(), steps.size() + 1);
    painted.erase(std::unique(painted.begin(), painted.end()), painted.end());
    EXPECT_EQ(painted, steps);
    EXPECT_EQ(window_.TextOf(control::kProgress), L"Upgrade finished successfully.");
}

INSTANTIATE_TEST_SUITE_P(Window, UpgradeProgress, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "HeldUp" : "Free";
                         });

}  // namespace
}  // namespace orvo::testing
