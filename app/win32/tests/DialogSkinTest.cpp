#include "DialogSkin.h"

#include "DialogControls.h"
#include "TestWindow.h"

#include <gtest/gtest.h>

namespace orvo {
namespace {

using orvo::testing::TestWindow;

LOGBRUSH Describe(HBRUSH brush) {
    LOGBRUSH description{};
    GetObjectW(brush, sizeof description, &description);
    return description;
}

struct ChildCase {
    int id;
    bool transparent;
    COLORREF textColour;
};

class ChildColours : public ::testing::TestWithParam<ChildCase> {};

constexpr COLORREF kUntouched = RGB(1, 2, 3);

TEST_P(ChildColours, BlendIntoThePanel) {
    const ChildCase& c = GetParam();
    TestWindow dialog(200, 100);
    HWND child = dialog.AddChild(L"STATIC", c.id, 0, 0, 50, 20);
    DialogSkin skin;
    ScopedMemoryDC dc(nullptr);
    SetBkMode(dc.Get(), OPAQUE);
    SetTextColor(dc.Get(), kUntouched);

    HBRUSH brush = skin.OnCtlColor(dialog.Get(), dc.Get(), child);

    LOGBRUSH description = Describe(brush);
    EXPECT_EQ(description.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(description.lbColor, kPanelColour);
    EXPECT_EQ(GetBkColor(dc.Get()), kPanelColour);
    EXPECT_EQ(GetBkMode(dc.Get()), c.transparent ? TRANSPARENT : OPAQUE);
    EXPECT_EQ(GetTextColor(dc.Get()), c.textColour);
    EXPECT_EQ(skin.OnCtlColor(dialog.Get(), dc.Get(), child), brush) << "made once";
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ChildColours,
    ::testing::Values(ChildCase{control::kLanguageLabel, true, kLabelTextColour},
                      ChildCase{control::kStartCaption, true, kLabelTextColour},
                      ChildCase{control::kExitCaption, true, kLabelTextColour},
                      ChildCase{control::kSnLabel, true, kLabelTextColour},
                      ChildCase{control::kIncrease, true, kLabelTextColour},
                      ChildCase{control::kUpgradeInternal, true, kLabelTextColour},
                      ChildCase{control::kUpgradeExternal, true, kLabelTextColour},
                      ChildCase{control::kSnReadout, true, kLabelTextColour},
                      ChildCase{control::kSnField, true, kSnFieldTextColour},
                      ChildCase{control::kLanguageList, false, kUntouched},
                      ChildCase{control::kProgress, false, kUntouched},
                      ChildCase{control::kClose, false, kUntouched}),
    [](const auto& info) { return std::to_string(info.param.id); });

TEST(DialogSkin, DialogItselfIsFilledWithTheBackgroundImage) {
    TestWindow dialog(200, 100);
    DialogSkin skin;
    ScopedMemoryDC dc(nullptr);
    EXPECT_EQ(Describe(skin.OnCtlColor(dialog.Get(), dc.Get(), dialog.Get())).lbColor, kPanelColour)
        << "no image yet: the panel colour";

    ScopedClientDC screen(dialog.Get());
    ScopedBitmap image(CreateCompatibleBitmap(screen.Get(), 8, 8));
    ASSERT_TRUE(skin.SetBackground(image.Get()));
    HBRUSH brush = skin.OnCtlColor(dialog.Get(), dc.Get(), dialog.Get());
    EXPECT_EQ(Describe(brush).lbStyle, static_cast<UINT>(BS_PATTERN));
    EXPECT_FALSE(skin.SetBackground(nullptr));
}

}  // namespace
}  // namespace orvo
