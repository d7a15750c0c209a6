// The text progress bar on a real progress control, as the screen shows it.
#include "TextProgressBar.h"

#include "TestWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace orvo {
namespace {

using orvo::testing::Capture;
using orvo::testing::Image;
using orvo::testing::Settle;
using orvo::testing::TestWindow;

constexpr int kWidth = 300;
constexpr int kHeight = 30;
constexpr int kClearRows = 3;  // rows above the text

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR counter) {
    if (message == WM_PAINT) {
        ++*reinterpret_cast<int*>(counter);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

class TextProgressBarTest : public ::testing::Test {
protected:
    TextProgressBarTest() {
        control_ =
            window_.AddChild(PROGRESS_CLASSW, 1009, 10, 10, kWidth, kHeight, 0, L"Progress1");
        attached_ = bar_.Attach(control_);
        // Installed after the bar's own, so it sees every paint first.
        SetWindowSubclass(control_, CountPaints, 1, reinterpret_cast<DWORD_PTR>(&paints_));
        Settle();
    }
    ~TextProgressBarTest() override {
        if (IsWindow(control_)) {
            RemoveWindowSubclass(control_, CountPaints, 1);
        }
    }

    Image Shown() {
        Settle();
        return Capture(control_);
    }
    Image Repainted() {
        InvalidateRect(control_, nullptr, TRUE);
        return Shown();
    }
    COLORREF Bar() const { return bar_.BarColour(); }
    COLORREF Background() const { return bar_.BackgroundColour(); }

    TestWindow window_{400, 100};
    HWND control_ = nullptr;
    TextProgressBar bar_;
    bool attached_ = false;
    int paints_ = 0;
};

TEST_F(TextProgressBarTest, HalfwayFillsTheLeftHalfAndFlipsTheTextColourAtTheBarsEnd) {
    ASSERT_TRUE(attached_);
    ASSERT_NE(Bar(), Background());
    bar_.SetBarPosition(50);
    Image image = Shown();
    EXPECT_TRUE(image.AllOf(Bar(), 0, 0, kWidth / 2, kClearRows));
    EXPECT_TRUE(image.AllOf(Background(), kWidth / 2, 0, kWidth, kClearRows));
    // "50%" sits across the middle: drawn in the background colour over the bar and in the
    // bar colour over the rest, and nowhere far from the centre.
    EXPECT_TRUE(image.Contains(Background(), kWidth / 2 - 40, 0, kWidth / 2, kHeight));
    EXPECT_TRUE(image.Contains(Bar(), kWidth / 2, 0, kWidth / 2 + 40, kHeight));
    EXPECT_TRUE(image.AllOf(Bar(), 0, 0, kWidth / 2 - 40, kHeight));
    EXPECT_TRUE(image.AllOf(Background(), kWidth / 2 + 40, 0, kWidth, kHeight));
}

TEST_F(TextProgressBarTest, WithShowTextOffOnlyTheTwoFillsAreDrawn) {
    bar_.SetShowText(false);
    bar_.SetBarPosition(50);
    Image image = Shown();
    EXPECT_TRUE(image.AllOf(Bar(), 0, 0, kWidth / 2, kHeight));
    EXPECT_TRUE(image.AllOf(Background(), kWidth / 2, 0, kWidth, kHeight));
}

struct PercentCase {
    const char* name;
    int upper;
    int position;
    const wchar_t* shownText;
    const wchar_t* otherText;
};

class PercentText : public TextProgressBarTest,
                    public ::testing::WithParamInterface<PercentCase> {};

TEST_P(PercentText, IsShownUntilAStatusTextIsSet) {
    const PercentCase& c = GetParam();
    bar_.SetBarRange(0, c.upper);
    bar_.SetBarPosition(c.position);
    Image percent = Shown();
    SetWindowTextW(control_, c.shownText);
    EXPECT_EQ(Shown(), percent) << "the percentage reads other than " << c.shownText;
    SetWindowTextW(control_, c.otherText);
    EXPECT_FALSE(Shown() == percent);
    SetWindowTextW(control_, L"");
    EXPECT_EQ(Shown(), percent) << "an empty status text brings the percentage back";
}

INSTANTIATE_TEST_SUITE_P(Cases, PercentText,
                         ::testing::Values(PercentCase{"empty", 100, 0, L"0%", L"1%"},
                                           PercentCase{"full", 100, 100, L"100%", L"99%"},
                                           PercentCase{"truncated", 1000, 999, L"99%", L"100%"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TextProgressBarTest, EmptyAndFullBarsCoverTheWholeWidth) {
    bar_.SetBarPosition(0);
    EXPECT_TRUE(Shown().AllOf(Background(), 0, 0, kWidth, kClearRows));
    bar_.SetBarPosition(100);
    EXPECT_TRUE(Shown().AllOf(Bar(), 0, 0, kWidth, kClearRows));
}

TEST_F(TextProgressBarTest, PositionsBeyondTheRangePaintAsItsEnds) {
    bar_.SetBarPosition(100);
    Image full = Shown();
    bar_.SetBarPosition(150);
    EXPECT_EQ(Repainted(), full);
    bar_.SetBarPosition(0);
    Image empty = Shown();
    bar_.SetBarPosition(-20);
    EXPECT_EQ(Repainted(), empty);
}

TEST_F(TextProgressBarTest, EmptyOrInvertedRangePaintsAnEmptyBarAndEndsThePaint) {
    for (auto [lower, upper] : {std::pair{5, 5}, std::pair{100, 0}}) {
        bar_.SetBarRange(lower, upper);
        bar_.SetBarPosition(7);
        Image image = Repainted();
        EXPECT_TRUE(image.AllOf(Background(), 0, 0, kWidth, kClearRows));
        EXPECT_FALSE(GetUpdateRect(control_, nullptr, FALSE)) << "the control stays invalid";
        int paints = paints_;
        Settle();
        EXPECT_EQ(paints_, paints) << "painting goes on for ever";
    }
}

TEST_F(TextProgressBarTest, TwoPositionsOfTheSameBarWidthRepaintOnce) {
    bar_.SetBarRange(0, 1000);
    paints_ = 0;
    EXPECT_EQ(bar_.SetBarPosition(100), 0);    // 30 pixels
    EXPECT_EQ(paints_, 1);                     // at once, not when the queue is next empty
    EXPECT_EQ(bar_.SetBarPosition(101), 100);  // 30.3 pixels
    Settle();
    EXPECT_EQ(paints_, 1);
    bar_.SetBarPosition(104);  // 31.2 pixels
    EXPECT_EQ(paints_, 2);
}

TEST_F(TextProgressBarTest, AfterAResizeTheNextPositionRepaints) {
    bar_.SetBarPosition(0);
    SetWindowPos(control_, nullptr, 0, 0, 200, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    Settle();
    paints_ = 0;
    bar_.SetBarPosition(0);  // still no pixel filled
    EXPECT_EQ(paints_, 1);
    bar_.SetBarPosition(0);
    EXPECT_EQ(paints_, 1);
}

TEST_F(TextProgressBarTest, TheSameStatusTextTwiceRepaintsOnce) {
    paints_ = 0;
    SetWindowTextW(control_, L"Upgrade failed.");
    Settle();
    EXPECT_EQ(paints_, 1);
    SetWindowTextW(control_, L"Upgrade failed.");
    Settle();
    EXPECT_EQ(paints_, 1);
    SetWindowTextW(control_, nullptr);
    Settle();
    EXPECT_EQ(paints_, 2);
}

TEST_F(TextProgressBarTest, WindowTextIsTheStatusText) {
    wchar_t text[32] = L"unchanged";
    EXPECT_EQ(GetWindowTextW(control_, text, 32), 0) << "the template's text is no status";
    EXPECT_STREQ(text, L"");
    SetWindowTextW(control_, L"Upgrade failed.");
    EXPECT_EQ(GetWindowTextLengthW(control_), 15);
    EXPECT_EQ(SendMessageW(control_, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, L"Upgr");
    EXPECT_EQ(SendMessageW(control_, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(text)), 0);
}

TEST_F(TextProgressBarTest, WithoutAWindowPositionsAreNotStored) {
    TextProgressBar unattached;
    EXPECT_EQ(unattached.SetBarPosition(40), -1);
    HWND other = window_.AddChild(PROGRESS_CLASSW, 1010, 10, 50, kWidth, kHeight);
    ASSERT_TRUE(unattached.Attach(other));
    EXPECT_FALSE(unattached.Attach(other));
    EXPECT_EQ(unattached.SetBarPosition(50), 0);
}

TEST_F(TextProgressBarTest, DestroyedControlLeavesTheBarWithoutWindow) {
    DestroyWindow(control_);
    EXPECT_EQ(bar_.Window(), nullptr);
    EXPECT_EQ(bar_.SetBarPosition(10), -1);
}

TEST_F(TextProgressBarTest, PositionFromAnotherThreadIsPaintedByTheWindowsThread) {
    std::atomic<bool> done{false};
    int previous = -2;
    std::thread worker([&] {
        previous = bar_.SetBarPosition(50);
        done = true;
    });
    while (!done) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // takes sent messages
        Sleep(1);
    }
    worker.join();
    EXPECT_EQ(previous, 0);
    Image image = Shown();
    EXPECT_TRUE(image.AllOf(Bar(), 0, 0, kWidth / 2, kClearRows));
    EXPECT_TRUE(image.AllOf(Background(), kWidth / 2, 0, kWidth, kClearRows));
}

}  // namespace
}  // namespace orvo
